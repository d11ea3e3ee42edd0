#include "objects/code_page.h"

#include <array>

namespace quillet {
namespace {

constexpr std::array<unsigned char, 256> MakeUmlautTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  table[0x81] = 0xFC;  // ü
  table[0x84] = 0xE4;  // ä
  table[0x8E] = 0xC4;  // Ä
  table[0x94] = 0xF6;  // ö
  table[0x99] = 0xD6;  // Ö
  table[0x9A] = 0xDC;  // Ü
  table[0xE1] = 0xDF;  // ß
  return table;
}

constexpr std::array<unsigned char, 256> kUmlauts = MakeUmlautTable();

// 0x80..0x9F; the rest of Windows-1252 is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void ConvertUmlautsInto(std::string_view text, char* out) {
  for (char c : text) *out++ = static_cast<char>(kUmlauts[static_cast<unsigned char>(c)]);
}

char32_t Windows1252ToUnicode(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

char UnicodeToWindows1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int byte = 0x80; byte <= 0x9F; ++byte) {
    if (kHighControls[byte - 0x80] == code) return static_cast<char>(byte);
  }
  return '?';
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 8);
  AppendWindows1252AsUtf8(utf8, text);
  return utf8;
}

void AppendWindows1252AsUtf8(std::string& utf8, std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x80) {
      utf8 += c;
      continue;
    }
    const char32_t u = Windows1252ToUnicode(static_cast<unsigned char>(c));
    if (u < 0x80) {
      utf8 += static_cast<char>(u);
    } else if (u < 0x800) {
      utf8 += static_cast<char>(0xC0 | (u >> 6));
      utf8 += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (u >> 12));
      utf8 += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
}

Utf8Char DecodeUtf8(std::string_view utf8, std::size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const int length = lead < 0x80                   ? 1
                     : lead >= 0xC2 && lead < 0xE0 ? 2
                     : lead >= 0xE0 && lead < 0xF0 ? 3
                     : lead >= 0xF0 && lead < 0xF5 ? 4
                                                   : 0;
  if (length == 0 || utf8.size() - at < static_cast<std::size_t>(length)) return {};
  char32_t code = length == 1   ? lead
                  : length == 2 ? lead & 0x1F
                  : length == 3 ? lead & 0x0F
                                : lead & 0x07;
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(utf8[at + k]);
    if ((next & 0xC0) != 0x80) return {};
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms and surrogates are not characters.
  if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
      (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
    return {};
  }
  return {code, length};
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8, i);
    if (c.length == 0) {
      text += '?';
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(c.length);
    text += UnicodeToWindows1252(c.code);
  }
  return text;
}

StrictText Utf8ToWindows1252Strict(std::string_view utf8) {
  StrictText result;
  result.text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8, i);
    if (c.length == 0) {
      result.text.clear();
      result.error = "the text is not valid UTF-8";
      return result;
    }
    const char byte = UnicodeToWindows1252(c.code);
    // '?' is also what a missing character becomes; only a real '?' maps to itself.
    if (byte == '?' && c.code != U'?') {
      result.text.clear();
      result.error = "\"" + std::string(utf8.substr(i, static_cast<std::size_t>(c.length))) +
                     "\" is not a Windows-1252 character";
      return result;
    }
    result.text += byte;
    i += static_cast<std::size_t>(c.length);
  }
  return result;
}

std::string ConvertUmlauts(std::string_view text) {
  std::string converted(text.size(), ' ');
  ConvertUmlautsInto(text, converted.data());
  return converted;
}

}  // namespace quillet
