#pragma once

#include <string>

#include "list/object_row.h"

namespace quillet {

// The ways a list can leave the program as text:
// - kText: the saved list, ten quoted fields (see export_line.h), Windows-1252, CR LF;
// - kCsv: comma-separated values for today's tools: a header row, fields quoted only where
//   needed with inner quotes doubled, UTF-8, CR LF;
// - kJson: an array of objects with the same field names, UTF-8.
enum class ListFormat { kText, kCsv, kJson };

// Builds the output piece by piece, so a long list can be written as it is made.
class ListFormatter {
 public:
  explicit ListFormatter(ListFormat format) : format_(format) {}

  void Begin(std::string& out);
  void AddRow(std::string& out, const RowView& row);
  void End(std::string& out);

 private:
  ListFormat format_;
  bool first_row_ = true;
};

}  // namespace quillet
