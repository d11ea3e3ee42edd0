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
// The Windows-1252 byte of a Unicode character, or '?' where it has none.
char UnicodeToWindows1252(char32_t code);
// Windows-1252 text as UTF-8, for output meant for today's tools.
std::string Windows1252ToUtf8(std::string_view text);
// The same, appended to `out`.
void AppendWindows1252AsUtf8(std::string& out, std::string_view text);
// UTF-8 as Windows-1252; a character it lacks, or a byte that is not UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

}  // namespace quillet
