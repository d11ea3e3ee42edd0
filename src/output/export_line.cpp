#include "output/export_line.h"

#include "objects/text.h"

namespace quillet {

void AppendExportLine(std::string& out, const ObjectRow& row) {
  out += row.Cell(1) == FileTag(2) ? "\"2\"" : "\"1\"";
  for (int column = 2; column <= kColumnCount; ++column) {
    out += ",\"";
    out += TrimBlanks(row.Cell(column));
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
