#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The directory's names and versions are in DOS code page 850; the program's text is
// Windows-1252. Only the seven German letters are mapped; every other byte stays as it is.
std::string ConvertUmlauts(std::string_view text);
// The same, written to `out`, which has room for text.size() bytes.
void ConvertUmlautsInto(std::string_view text, char* out);

// The Unicode character of a Windows-1252 byte. Codes Windows-1252 leaves unassigned stand for
// themselves, as Windows reads them.
char32_t Windows1252ToUnicode(unsigned char byte);
// Windows-1252 text as UTF-8, for output meant for today's tools.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace quillet
