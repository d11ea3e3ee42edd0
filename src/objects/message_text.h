#pragma once

#include <string>
#include <string_view>

namespace quillet {

// `text` fit to stand in a one-line message on a terminal or in a message box: a name or value
// the user gave may hold a line end, which would split the message, or an escape sequence,
// which the terminal would run. Control characters become visible escapes: \n, \t, \r, the
// other C0 controls and DEL as \x1b, \x7f; C1 controls written in UTF-8 as \u0085, and a byte
// 0x80 to 0x9F that is no part of UTF-8 as \x9b (a terminal in an 8-bit code page runs it).
// Every other byte stays as it is, so a name in any encoding still reads as it did.
std::string EscapeControls(std::string_view text);

}  // namespace quillet
