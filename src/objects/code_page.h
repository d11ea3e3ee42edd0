#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// The directory's names and versions are in DOS code page 850; the program's text is
// Windows-1252. Every letter and sign of code page 850 that Windows-1252 has is mapped to it;
// the others (box drawing and a few more) keep their byte.
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

// UTF-8 as Windows-1252 where nothing may be lost: text a user types to be found in the list.
struct StrictText {
  std::string text;   // the Windows-1252 text, when `error` is empty
  std::string error;  // why the text has none, e.g. "\"Ω\" is not a Windows-1252 character"
};
StrictText Utf8ToWindows1252Strict(std::string_view utf8);

// The character that starts at byte `at` of `utf8` (at < utf8.size()) and its length in bytes;
// the length is 0 where the bytes there are not UTF-8 (a stray byte, an overlong form, a
// surrogate or a sequence cut short).
struct Utf8Char {
  char32_t code = 0;
  int length = 0;
};
Utf8Char DecodeUtf8(std::string_view utf8, std::size_t at);

namespace detail {
constexpr std::array<unsigned char, 256> MakeCaseFold() {
  std::array<unsigned char, 256> fold{};
  for (int i = 0; i < 256; ++i) fold[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) fold[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) fold[c] = static_cast<unsigned char>(c + 32);  // 0xD7 is the sign ×
  }
  fold[0x8A] = 0x9A;  // Š
  fold[0x8C] = 0x9C;  // Œ
  fold[0x8E] = 0x9E;  // Ž
  fold[0x9F] = 0xFF;  // Ÿ
  return fold;
}
inline constexpr std::array<unsigned char, 256> kCaseFold = MakeCaseFold();
}  // namespace detail

// The lower-case letter of a Windows-1252 capital, every other byte as it is. Sorting and
// finding text both go by it, so they agree on which letters are the same. Inline: it runs
// for every byte of every row the list sorts or filters.
constexpr unsigned char FoldCase(unsigned char byte) { return detail::kCaseFold[byte]; }

}  // namespace quillet
