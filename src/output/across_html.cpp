// The rows across files as one self-contained HTML report: the files and what was compared,
// the matrix, the counts and the summary. No scripts, nothing loaded from elsewhere; written as
// well-formed XML, UTF-8, every text escaped.
#include <cstdio>

#include "list/across_variants.h"
#include "objects/text.h"
#include "output/across_output.h"
#include "output/html_report.h"

namespace quillet {
namespace {

constexpr std::string_view kTitle = "Comparison across files";

// The files' titles stand upright so that a hundred columns fit a screen. A letter is always
// written in its cell; the colours step from light to dark, so a grey print tells them apart
// too, and a file without the object is hatched.
constexpr std::string_view kStyle =
    "body { font-family: sans-serif; font-size: 10pt; margin: 1.5em; }\n"
    "h1 { font-size: 14pt; }\n"
    "h2 { font-size: 12pt; margin-top: 1.5em; }\n"
    "table.about th { text-align: left; padding-right: 1em; font-weight: normal; }\n"
    "p.counts span { margin-right: 1.5em; }\n"
    "table.rows { border-collapse: collapse; }\n"
    "table.rows th, table.rows td { border: 1px solid #bbb; padding: 1px 5px; "
    "white-space: nowrap; }\n"
    "table.rows th { background: #e8e8e8; vertical-align: bottom; }\n"
    "table.rows th.file { writing-mode: vertical-rl; transform: rotate(180deg); "
    "text-align: left; padding: 5px 2px; font-weight: normal; }\n"
    "table.rows td.number { text-align: right; }\n"
    "table.rows td.cell { text-align: center; font-weight: bold; min-width: 1.4em; }\n"
    "table.rows td.self { color: #999; }\n"
    "table.rows td.none { color: #555; background: repeating-linear-gradient(45deg, "
    "#d4d4d4 0 3px, #efefef 3px 6px); }\n"
    "@media print { * { print-color-adjust: exact; -webkit-print-color-adjust: exact; } }\n";

std::string Hex(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

// A name that is already UTF-8 without control characters (AcrossFileName) as HTML text.
void AppendHtmlUtf8(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    if (!AppendHtmlEscape(out, c)) out += c;
  }
}

class AcrossHtml final : public AcrossFormatter {
 public:
  explicit AcrossHtml(const AcrossContext& context)
      : files_(context.files), criteria_(context.criteria) {}

  void Begin(std::string& out) override {
    Head(out);
    out +=
        "<p>Each file's cell names its variant of the row's object: A is the variant of the "
        "first file that has the object, B the next different one, and so on; a hatched cell "
        "with a dash, a file without the object.</p>\n";
    out += "<table class=\"rows\">\n<thead><tr>";
    for (const std::string_view column : kAcrossKeyColumns) {
      out += "<th>";
      out += column;
      out += "</th>";
    }
    FileHeads(out);
    out += "</tr></thead>\n<tbody>\n";
  }

  void AddRow(std::string& out, const AcrossRow& row) override {
    out += "<tr><td>";
    AppendHtmlText(out, row.type);
    out += "</td><td class=\"number\">";
    AppendHtmlText(out, row.id);
    out += "</td><td>";
    AppendHtmlText(out, TrimBlanks(row.name));
    out += "</td><td class=\"number\">";
    out += std::to_string(row.variants);
    out += "</td>";
    for (const AcrossCell& cell : row.cells) {
      if (!cell.HasObject()) {
        out += "<td class=\"cell none\">&#x2013;</td>";
        continue;
      }
      const auto variant = static_cast<std::size_t>(cell.variant);
      if (variant >= cells_.size()) Grow(variant);
      out += cells_[variant];
    }
    out += "</tr>\n";
  }

  void End(std::string& out, const AcrossResult& result) override {
    out += "</tbody>\n</table>\n";
    out += "<p class=\"counts\">";
    for (int status = 0; status < kAcrossStatusCount; ++status) {
      out += "<span>";
      out += StatusText(ListView::kAcross, status);
      out += ' ';
      out += std::to_string(result.rows_by_status.values[static_cast<std::size_t>(status)]);
      out += "</span>";
    }
    out += "</p>\n<h2>Summary</h2>\n";
    SummaryTable(out, result.summary);
    out += "</body>\n</html>\n";
  }

  void Summary(std::string& out, const AcrossSummary& summary) override {
    Head(out);
    SummaryTable(out, summary);
    out += "</body>\n</html>\n";
  }

 private:
  void Head(std::string& out) const {
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>";
    out += "Quillet: ";
    out += kTitle;
    out += "</title>\n<style>\n";
    out += kStyle;
    for (std::size_t v = 0; v < kVariantColours.size(); ++v) {
      out += "table.rows td.v" + std::to_string(v) +
             " { background: " + Hex(kVariantColours[v].background) + ";" +
             (kVariantColours[v].light_text ? " color: #FFFFFF;" : "") + " }\n";
    }
    out += "</style>\n</head>\n<body>\n<h1>";
    out += kTitle;
    out += "</h1>\n<table class=\"about\">\n";
    for (std::size_t i = 0; i < files_.size(); ++i) {
      out += "<tr><th>File " + std::to_string(i + 1) + "</th><td>";
      AppendHtmlUtf8(out, files_[i]);
      out += "</td></tr>\n";
    }
    out += "<tr><th>Compared</th><td>";
    AppendHtmlText(out, criteria_);
    out += "</td></tr>\n</table>\n";
  }

  void FileHeads(std::string& out) const {
    for (const std::string& file : files_) {
      out += "<th class=\"file\" title=\"";
      AppendHtmlUtf8(out, file);
      out += "\">";
      AppendHtmlUtf8(out, file);
      out += "</th>";
    }
  }

  void SummaryTable(std::string& out, const AcrossSummary& summary) const {
    out += "<table class=\"rows\">\n<thead><tr>";
    for (const std::string_view column : kAcrossSummaryColumns) {
      out += "<th>";
      out += column;
      out += "</th>";
    }
    FileHeads(out);
    out += "</tr></thead>\n<tbody>\n";
    for (int file = 0; file < summary.FileCount(); ++file) {
      out += "<tr><td>";
      AppendHtmlUtf8(out, files_.at(static_cast<std::size_t>(file)));
      out += "</td><td class=\"number\">" + std::to_string(summary.Objects(file)) + "</td>";
      out += "<td class=\"number\">" + std::to_string(summary.OnlyHere(file)) + "</td>";
      for (int other = 0; other < summary.FileCount(); ++other) {
        out += other == file ? "<td class=\"number self\">" : "<td class=\"number\">";
        out += std::to_string(summary.Differs(file, other)) + "</td>";
      }
      out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
  }

  // The cell of each variant, made once.
  void Grow(std::size_t variant) {
    while (cells_.size() <= variant) {
      const std::size_t v = cells_.size();
      cells_.push_back("<td class=\"cell v" + std::to_string(v % kVariantColours.size()) + "\">" +
                       VariantLetters(static_cast<int>(v)) + "</td>");
    }
  }

  std::vector<std::string> files_;
  std::string criteria_;
  std::vector<std::string> cells_;
};

}  // namespace

namespace detail {
std::unique_ptr<AcrossFormatter> MakeAcrossHtml(const AcrossContext& context) {
  return std::make_unique<AcrossHtml>(context);
}
}  // namespace detail

}  // namespace quillet
