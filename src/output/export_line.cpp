#include "output/export_line.h"

#include "list/changed_fields.h"
#include "objects/text.h"

namespace quillet {

void AppendExportLine(std::string& out, const RowView& row) {
  out += '"';
  out += static_cast<char>('0' + row.file);
  out += '"';
  for (int f = 0; f < kFieldCount; ++f) {
    out += ",\"";
    out += TrimBlanks(row.Cell(ColumnOf(static_cast<Field>(f))));
    out += '"';
  }
  if (HasStatus(row.view)) {
    out += ",\"";
    out += row.StatusText();
    out += "\",\"";
    out += ChangedFieldsText(row.changed);
    out += '"';
  }
  out += "\r\n";
}

std::string ExportLine(const RowView& row) {
  std::string line;
  AppendExportLine(line, row);
  return line;
}

}  // namespace quillet
