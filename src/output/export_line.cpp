#include "output/export_line.h"

#include <algorithm>
#include <cstring>

#include "list/changed_fields.h"
#include "objects/text.h"

namespace quillet {

void AppendExportLine(std::string& out, const RowView& row) {
  // The fixed part is built on the stack and appended at once: one capacity check per line.
  constexpr std::size_t kRoom = 3 + kRecordWidth + 3 * kFieldCount;
  char line[kRoom];
  char* at = line;
  *at++ = '"';
  *at++ = static_cast<char>('0' + row.file);
  *at++ = '"';
  for (int f = 0; f < kFieldCount; ++f) {
    const std::string_view cell = TrimBlanks(row.Cell(ColumnOf(static_cast<Field>(f))));
    *at++ = ',';
    *at++ = '"';
    // A cell is never wider than its field.
    const std::size_t length = std::min<std::size_t>(cell.size(), kFieldWidths[f]);
    if (length > 0) std::memcpy(at, cell.data(), length);
    at += length;
    *at++ = '"';
  }
  out.append(line, static_cast<std::size_t>(at - line));
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
