#pragma once

#include <string>

#include "list/object_row.h"

namespace quillet {

// A row as a line of the saved list: ten quoted fields separated by commas, the file number
// first, the nine texts trimmed of blanks, nothing escaped, ended by CR LF. The bytes stay
// Windows-1252. Other programs read these files, so the format never changes. A row with a
// status (a keyed comparison's) has two more fields: the status and the changed fields.
void AppendExportLine(std::string& out, const RowView& row);
std::string ExportLine(const RowView& row);

}  // namespace quillet
