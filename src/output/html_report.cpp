#include "output/html_report.h"

#include "list/changed_fields.h"
#include "list/list_view.h"
#include "objects/code_page.h"
#include "objects/object_table.h"
#include "objects/text.h"

namespace quillet {
namespace {

// Changed cells are tinted and bold, so they read in a grey-scale print as well.
constexpr std::string_view kStyle =
    "body { font-family: sans-serif; font-size: 10pt; margin: 1.5em; }\n"
    "h1 { font-size: 14pt; }\n"
    "table.about th { text-align: left; padding-right: 1em; }\n"
    "p.counts span { margin-right: 1.5em; }\n"
    "table.rows { border-collapse: collapse; }\n"
    "table.rows th, table.rows td { border: 1px solid #bbb; padding: 1px 5px; "
    "white-space: nowrap; }\n"
    "table.rows th { background: #e8e8e8; }\n"
    "table.rows td.number { text-align: right; }\n"
    "table.rows tr.group td { border-top: 2px solid #555; }\n"
    "table.rows td.diff { background: #f5c542; font-weight: bold; }\n";

class HtmlReport final : public ListFormatter {
 public:
  explicit HtmlReport(ListContext context) : context_(std::move(context)) {}

  void Begin(std::string& out) override {
    Head(out);
    out += "<table class=\"rows\">\n<thead><tr>";
    for (const std::string_view column : OutputColumns(context_.view)) {
      out += "<th>";
      AppendHtmlText(out, column);
      out += "</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
  }

  // The counts alone: the title block, then a line a type.
  void Summary(std::string& out, const SummaryCounts& counts) override {
    Head(out);
    out += "<table class=\"rows\">\n<thead><tr><th>Type</th>";
    for (const int status : counts.statuses) {
      out += "<th>";
      AppendHtmlText(out, StatusText(counts.view, status));
      out += "</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
    for (const SummaryCounts::Line* line : Lines(counts)) {
      out += line == &counts.total ? "<tr class=\"group\"><th>" : "<tr><td>";
      AppendHtmlText(out, line->type);
      out += line == &counts.total ? "</th>" : "</td>";
      for (const long long value : line->values) {
        out += "<td class=\"number\">" + std::to_string(value) + "</td>";
      }
      out += "</tr>\n";
    }
    End(out);
  }

  void Head(std::string& out) {
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>";
    out += "Quillet: ";
    out += ViewTitle(context_.view);
    out += "</title>\n<style>\n";
    out += kStyle;
    out += "</style>\n</head>\n<body>\n<h1>";
    out += ViewTitle(context_.view);
    out += "</h1>\n<table class=\"about\">\n";
    for (const auto& [label, name] : context_.files) Line(out, label, name);
    if (!context_.criteria.empty()) Line(out, "Compared", context_.criteria);
    out += "</table>\n";
    if (!context_.counts.empty()) {
      out += "<p class=\"counts\">";
      for (const auto& [status, count] : context_.counts) {
        out += "<span>";
        AppendHtmlText(out, status);
        out += ' ';
        out += std::to_string(count);
        out += "</span>";
      }
      out += "</p>\n";
    }
  }

  void AddRow(std::string& out, const RowView& row) override {
    // A line above the first row of each pair, so the pairs stand apart.
    const bool new_group = HasStatus(context_.view) && (first_row_ || row.group != last_group_);
    first_row_ = false;
    last_group_ = row.group;
    out += new_group ? "<tr class=\"group\">" : "<tr>";
    // The base file is named: a reader of the report does not know the numbers.
    out += row.file == kBaseFile
               ? std::string("<td>base</td>")
               : "<td>" + std::string(1, static_cast<char>('0' + row.file)) + "</td>";
    for (int column = 1; column < kColumnCount; ++column) {
      const Column c = ColumnAt(column);
      const bool differs = (row.changed & FieldBit(FieldOf(c))) != 0;
      out += differs                 ? "<td class=\"diff\">"
             : Info(c).right_aligned ? "<td class=\"number\">"
                                     : "<td>";
      AppendHtmlText(out, TrimBlanks(row.Cell(c)));
      out += "</td>";
    }
    if (HasStatus(context_.view)) {
      out += "<td>";
      AppendHtmlText(out, row.StatusText());
      out += "</td><td>";
      AppendHtmlText(out, ChangedFieldsText(row.changed));
      out += "</td>";
    }
    out += "</tr>\n";
  }

  void End(std::string& out) override { out += "</tbody>\n</table>\n</body>\n</html>\n"; }

 private:
  static std::vector<const SummaryCounts::Line*> Lines(const SummaryCounts& counts) {
    std::vector<const SummaryCounts::Line*> lines;
    for (const SummaryCounts::Line& line : counts.types) lines.push_back(&line);
    lines.push_back(&counts.total);
    return lines;
  }

  static void Line(std::string& out, std::string_view label, std::string_view text) {
    out += "<tr><th>";
    AppendHtmlText(out, label);
    out += "</th><td>";
    AppendHtmlText(out, text);
    out += "</td></tr>\n";
  }

  ListContext context_;
  bool first_row_ = true;
  std::uint32_t last_group_ = 0;
};

}  // namespace

std::unique_ptr<ListFormatter> MakeHtmlReport(const ListContext& context) {
  return std::make_unique<HtmlReport>(context);
}

bool AppendHtmlEscape(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    case '"':
      out += "&quot;";
      return true;
    case '\'':
      out += "&#39;";
      return true;
    default:
      return false;
  }
}

void AppendHtmlText(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (AppendHtmlEscape(out, c)) continue;
    // HTML allows no control character but the tab and the line ends: not those below 0x20,
    // nor DEL, nor the C1 range, where the code page's undefined bytes land.
    const char32_t code = Windows1252ToUnicode(static_cast<unsigned char>(c));
    if ((code < 0x20 && c != '\t') || (code >= 0x7F && code <= 0x9F)) {
      out += "&#xFFFD;";
    } else {
      AppendWindows1252AsUtf8(out, {&c, 1});
    }
  }
}

}  // namespace quillet
