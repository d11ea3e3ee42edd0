#include "output/list_formats.h"

#include <cstdio>

#include "list/changed_fields.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "output/export_line.h"
#include "output/html_report.h"
#include "output/id_lines.h"

namespace quillet {
namespace {

char FileNumber(const RowView& row) { return static_cast<char>('0' + row.file); }

// A Windows-1252 text as a JSON string in UTF-8.
void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          AppendWindows1252AsUtf8(out, {&c, 1});
        }
    }
  }
  out += '"';
}

// Tabs and line ends would split a field; in this form they stand as blanks. The text needs no
// guard against spreadsheet formulas: it goes to the clipboard, not into a file.
void AppendTsvField(std::string& out, std::string_view text, bool /*raw*/) {
  for (const char c : text) {
    const char shown = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    AppendWindows1252AsUtf8(out, {&shown, 1});
  }
}

class TextFormat final : public ListFormatter {
 public:
  void AddRow(std::string& out, const RowView& row) override { AppendExportLine(out, row); }
};

// CSV and tab-separated text: a line of the column titles, then a line a row, each field
// without its filling blanks.
class DelimitedFormat final : public ListFormatter {
 public:
  using FieldWriter = void (*)(std::string& out, std::string_view text, bool raw);

  DelimitedFormat(const ListContext& context, char separator, std::string_view line_end,
                  FieldWriter field)
      : context_(context), separator_(separator), line_end_(line_end), field_(field) {}

  void Begin(std::string& out) override {
    const std::vector<std::string_view> columns = OutputColumns(context_.view);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) out += separator_;
      out += columns[i];
    }
    out += line_end_;
  }
  void AddRow(std::string& out, const RowView& row) override {
    out += FileNumber(row);
    for (int column = 1; column < kColumnCount; ++column) {
      Field(out, TrimBlanks(row.Cell(ColumnAt(column))));
    }
    if (HasStatus(context_.view)) {
      Field(out, row.StatusText());
      Field(out, ChangedFieldsText(row.changed));
    }
    out += line_end_;
  }

 private:
  void Field(std::string& out, std::string_view text) const {
    out += separator_;
    field_(out, text, context_.raw_csv);
  }

  ListContext context_;
  char separator_;
  std::string_view line_end_;
  FieldWriter field_;
};

class JsonFormat final : public ListFormatter {
 public:
  explicit JsonFormat(ListView view) : view_(view) {}

  void Begin(std::string& out) override { out += '['; }
  void AddRow(std::string& out, const RowView& row) override {
    out += first_row_ ? "\n" : ",\n";
    first_row_ = false;
    out += "  {";
    AppendJsonString(out, Info(Column::kFile).header);
    out += ": ";
    out += FileNumber(row);
    for (int column = 1; column < kColumnCount; ++column) {
      Member(out, kColumns[column].header, TrimBlanks(row.Cell(ColumnAt(column))));
    }
    if (HasStatus(view_)) {
      Member(out, kStatusHeader, row.StatusText());
      Member(out, "Changed", ChangedFieldsText(row.changed));
    }
    out += '}';
  }
  void End(std::string& out) override { out += first_row_ ? "]\n" : "\n]\n"; }

 private:
  static void Member(std::string& out, std::string_view name, std::string_view value) {
    out += ", ";
    AppendJsonString(out, name);
    out += ": ";
    AppendJsonString(out, value);
  }

  ListView view_;
  bool first_row_ = true;
};

}  // namespace

std::optional<ListFormat> ListFormatNamed(std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  if (lower == "text") return ListFormat::kText;
  if (lower == "csv") return ListFormat::kCsv;
  if (lower == "json") return ListFormat::kJson;
  if (lower == "html") return ListFormat::kHtml;
  if (lower == "ids") return ListFormat::kIds;
  return std::nullopt;
}

std::unique_ptr<ListFormatter> ListFormatter::Make(ListFormat format, const ListContext& context) {
  switch (format) {
    case ListFormat::kCsv:
      return std::make_unique<DelimitedFormat>(context, ',', "\r\n", AppendCsvField);
    case ListFormat::kJson:
      return std::make_unique<JsonFormat>(context.view);
    case ListFormat::kHtml:
      return MakeHtmlReport(context);
    case ListFormat::kIds:
      return MakeIdLines();
    case ListFormat::kTsv:
      return std::make_unique<DelimitedFormat>(context, '\t', "\n", AppendTsvField);
    case ListFormat::kText:
      break;
  }
  return std::make_unique<TextFormat>();
}

std::string FormatListRows(ListFormat format, const ListContext& context, const ObjectList& list,
                           std::span<const int> rows) {
  const auto formatter = ListFormatter::Make(format, context);
  std::string out;
  formatter->Begin(out);
  for (const int row : rows) formatter->AddRow(out, list.View(row));
  formatter->End(out);
  return out;
}

std::vector<std::string_view> OutputColumns(ListView view) {
  std::vector<std::string_view> columns;
  for (const ColumnInfo& column : kColumns) columns.push_back(column.header);
  if (HasStatus(view)) {
    columns.push_back(kStatusHeader);
    columns.push_back("Changed");
  }
  return columns;
}

void AppendCsvField(std::string& out, std::string_view text, bool raw) {
  // Names and versions come in files users receive from others: a cell that starts like a
  // formula would run as one in a spreadsheet.
  const bool formula =
      !raw && !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (quoted) out += '"';
  if (formula) out += '\'';
  for (char c : text) {
    if (c == '"') out += '"';
    AppendWindows1252AsUtf8(out, {&c, 1});
  }
  if (quoted) out += '"';
}

}  // namespace quillet
