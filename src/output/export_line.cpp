#include "output/export_line.h"

#include "objects/text.h"

namespace quillet {

void AppendExportLine(std::string& out, const ObjectRow& row) {
  out += row.Cell(Column::kFile) == FileTag(2) ? "\"2\"" : "\"1\"";
  for (int f = 0; f < kFieldCount; ++f) {
    out += ",\"";
    out += TrimBlanks(row.Cell(ColumnOf(static_cast<Field>(f))));
    out += '"';
  }
  out += "\r\n";
}

std::string ExportLine(const ObjectRow& row) {
  std::string line;
  AppendExportLine(line, row);
  return line;
}

}  // namespace quillet
