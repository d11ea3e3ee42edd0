#pragma once

#include <memory>

#include "output/list_formats.h"

namespace quillet {

// The list as one self-contained HTML file a colleague can open in any browser: no scripts and
// nothing loaded from elsewhere. A title block (the files, what was compared, the counts per
// status), then the rows as a table with the columns of the CSV form; within a changed pair
// the cells that differ are marked. Written as well-formed XML, UTF-8, every text escaped.
std::unique_ptr<ListFormatter> MakeHtmlReport(const ListContext& context);

// A Windows-1252 text as HTML text in UTF-8: markup characters escaped, control characters
// (which HTML does not allow) shown as the replacement character.
void AppendHtmlText(std::string& out, std::string_view text);
// Appends the reference of a character HTML gives a meaning (& < > " '); false for any other.
bool AppendHtmlEscape(std::string& out, char c);

}  // namespace quillet
