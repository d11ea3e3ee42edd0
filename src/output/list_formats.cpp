#include "output/list_formats.h"

#include <cstdio>

#include "list/changed_fields.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "output/export_line.h"
#include "output/html_report.h"
#include "output/id_lines.h"
#include "output/json_text.h"
#include "output/xlsx_sheet.h"

namespace quillet {
namespace {

char FileNumber(const RowView& row) { return static_cast<char>('0' + row.file); }

// Tabs and line ends would split a field; in this form they stand as blanks. There is no guard
// against spreadsheet formulas: the form is for scripts, git and the clipboard.
void AppendTsvField(std::string& out, std::string_view text, bool /*raw*/) {
  for (const char c : text) {
    const char shown = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    AppendWindows1252AsUtf8(out, {&shown, 1});
  }
}

class TextFormat final : public ListFormatter {
 public:
  void AddRow(std::string& out, const RowView& row) override { AppendExportLine(out, row); }
  bool CanFail() const override { return false; }
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
  void Summary(std::string& out, const SummaryCounts& counts) override {
    AppendDelimitedSummary(out, counts, separator_, line_end_);
  }
  bool CanFail() const override { return false; }

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

}  // namespace

void ListFormatter::Summary(std::string& out, const SummaryCounts& counts) {
  AppendDelimitedSummary(out, counts, ',', "\r\n");
}

std::unique_ptr<ListFormatter> ListFormatter::Make(ListFormat format, const ListContext& context) {
  switch (format) {
    case ListFormat::kCsv:
      return std::make_unique<DelimitedFormat>(context, ',', "\r\n", AppendCsvField);
    case ListFormat::kJson:
      return MakeJsonFormat(context);
    case ListFormat::kHtml:
      return MakeHtmlReport(context);
    case ListFormat::kIds:
      return MakeIdLines();
    case ListFormat::kTsv:
      return std::make_unique<DelimitedFormat>(context, '\t', "\n", AppendTsvField);
    case ListFormat::kXlsx:
      return MakeXlsxSheet(context);
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
      !raw && !text.empty() && kFormulaStarts.find(text[0]) != std::string_view::npos;
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (quoted) out += '"';
  if (formula) out += '\'';
  for (char c : text) {
    if (c == '"') out += '"';
    AppendWindows1252AsUtf8(out, {&c, 1});
  }
  if (quoted) out += '"';
}

std::optional<long long> WholeNumber(std::string_view text) {
  // Ten digits at most (the widest field): the value always fits, also in a double.
  if (text.empty() || text.size() > 10 || (text[0] == '0' && text.size() > 1)) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

void AppendDelimitedSummary(std::string& out, const SummaryCounts& counts, char separator,
                            std::string_view line_end) {
  const auto field = separator == ',' ? AppendCsvField : AppendTsvField;
  out += "Type";
  for (const int status : counts.statuses) {
    out += separator;
    field(out, StatusText(counts.view, status), true);
  }
  out += line_end;
  const auto line = [&](const SummaryCounts::Line& values) {
    field(out, values.type, false);
    for (const long long value : values.values) {
      out += separator;
      out += std::to_string(value);
    }
    out += line_end;
  };
  for (const SummaryCounts::Line& type : counts.types) line(type);
  line(counts.total);
}

}  // namespace quillet
