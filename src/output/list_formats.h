#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "list/object_list.h"
#include "list/object_row.h"
#include "output/format_table.h"

namespace quillet {

// What each format holds:
// - kText: the saved list, ten quoted fields (see export_line.h) and, where the rows have a
//   status, two more, the status and the changed fields; Windows-1252, CR LF;
// - kCsv: comma-separated values for today's tools: a header row, fields quoted only where
//   needed with inner quotes doubled, UTF-8, CR LF; a cell a spreadsheet would run as a
//   formula is guarded by a leading ' unless the output is raw;
// - kTsv: for Unix tools, git and the clipboard: a header line, then fields separated by tabs
//   (a tab or line end inside a field stands as a blank), blanks removed at both ends, UTF-8, LF;
// - kJson: an array of objects with the same field names, UTF-8, typed (docs/output.schema.json);
// - kHtml: a report that opens in any browser: a title block, then the rows as a table;
// - kIds: the IDs of the rows as filter lines, one per type: "Table: 18|27|5050..5060";
// - kXlsx: a spreadsheet with typed cells (xlsx_sheet.h).

// What a report says of the list beyond its rows. Texts are Windows-1252.
struct ListContext {
  ListView view = ListView::kObjects;
  std::vector<std::pair<std::string, std::string>> files;  // ("File #1", name), ...
  std::string criteria;                                    // what the comparison compared
  std::vector<std::pair<std::string, long long>> counts;   // ("Changed", 201), ... when known
  bool raw_csv = false;                                    // CSV cells as they are, for scripts
};

// The counts of a keyed comparison per type and status (summary_table.h makes them).
struct SummaryCounts {
  ListView view = ListView::kChanges;
  std::vector<int> statuses;  // the columns, in the summary's order
  struct Line {
    std::string type;               // Windows-1252; "Total" for the last line
    std::vector<long long> values;  // by `statuses`
  };
  std::vector<Line> types;  // a line per type that has any counted key
  Line total;
};

// Builds the output piece by piece, so a long list can be written as it is made.
class ListFormatter {
 public:
  static std::unique_ptr<ListFormatter> Make(ListFormat format, const ListContext& context);
  virtual ~ListFormatter() = default;

  virtual void Begin(std::string& /*out*/) {}
  virtual void AddRow(std::string& out, const RowView& row) = 0;
  virtual void End(std::string& /*out*/) {}
  // The whole output for the counts instead of rows; Begin and End do not go with it.
  virtual void Summary(std::string& out, const SummaryCounts& counts);
  // Why the output cannot be made, once it cannot; empty while all is well.
  virtual std::string Error() const { return {}; }
  // Whether Error() can ever say anything; a format that cannot fail is not asked after every
  // row.
  virtual bool CanFail() const { return true; }
};

// The column titles of the rows of `view`: the ten of the list, then Status and Changed where
// the rows have a status.
std::vector<std::string_view> OutputColumns(ListView view);

// Rows `rows` (shown row numbers, from 1) of the list in a format, whole.
std::string FormatListRows(ListFormat format, const ListContext& context, const ObjectList& list,
                           std::span<const int> rows);

// What a cell starts with that a spreadsheet would run as a formula.
inline constexpr std::string_view kFormulaStarts = "=+-@\t\r";

// A Windows-1252 text as a CSV field in UTF-8, quoted only where it must be; guarded against
// spreadsheets running it as a formula unless `raw`.
void AppendCsvField(std::string& out, std::string_view text, bool raw);

// The number a field holds when it is a plain whole number ("18", not "018", "-1" or "1a"), so
// that writing it as a number loses nothing.
std::optional<long long> WholeNumber(std::string_view text);

// The counts as a table of comma- or tab-separated fields: a header, a line a type, the total.
void AppendDelimitedSummary(std::string& out, const SummaryCounts& counts, char separator,
                            std::string_view line_end);

}  // namespace quillet
