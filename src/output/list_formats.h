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

namespace quillet {

// The ways a list can leave the program as text:
// - kText: the saved list, ten quoted fields (see export_line.h) and, where the rows have a
//   status, two more, the status and the changed fields; Windows-1252, CR LF;
// - kCsv: comma-separated values for today's tools: a header row, fields quoted only where
//   needed with inner quotes doubled, UTF-8, CR LF; a cell a spreadsheet would run as a
//   formula is guarded by a leading ' unless the output is raw;
// - kJson: an array of objects with the same field names, UTF-8;
// - kHtml: a report that opens in any browser: a title block, then the rows as a table;
// - kIds: the IDs of the rows as filter lines, one per type: "Table: 18|27|5050..5060".
// - kTsv: what the clipboard takes as plain text: a header line, then fields separated by tabs,
//   blanks removed at both ends, UTF-8.
enum class ListFormat { kText, kCsv, kJson, kHtml, kIds, kTsv };

// The format of a name (text, csv, json, html, ids), in any letter case.
std::optional<ListFormat> ListFormatNamed(std::string_view name);

// What a report says of the list beyond its rows. Texts are Windows-1252.
struct ListContext {
  ListView view = ListView::kObjects;
  std::vector<std::pair<std::string, std::string>> files;  // ("File #1", name), ...
  std::string criteria;                                    // what the comparison compared
  std::vector<std::pair<std::string, long long>> counts;   // ("Changed", 201), ... when known
  bool raw_csv = false;                                    // CSV cells as they are, for scripts
};

// Builds the output piece by piece, so a long list can be written as it is made.
class ListFormatter {
 public:
  static std::unique_ptr<ListFormatter> Make(ListFormat format, const ListContext& context);
  virtual ~ListFormatter() = default;

  virtual void Begin(std::string& /*out*/) {}
  virtual void AddRow(std::string& out, const RowView& row) = 0;
  virtual void End(std::string& /*out*/) {}
};

// The column titles of the rows of `view`: the ten of the list, then Status and Changed where
// the rows have a status.
std::vector<std::string_view> OutputColumns(ListView view);

// Rows `rows` (shown row numbers, from 1) of the list in a format, whole.
std::string FormatListRows(ListFormat format, const ListContext& context, const ObjectList& list,
                           std::span<const int> rows);

// A Windows-1252 text as a CSV field in UTF-8, quoted only where it must be; guarded against
// spreadsheets running it as a formula unless `raw`.
void AppendCsvField(std::string& out, std::string_view text, bool raw);

}  // namespace quillet
