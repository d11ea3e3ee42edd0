#include "objects/code_page.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quillet {
namespace {

// Code page 850 as Windows-1252, by the byte of code page 850: every letter and sign that
// Windows-1252 has too. Box drawing, the dotless i and the few others it lacks keep their code,
// as they always did. The lower half is ASCII in both.
constexpr std::array<unsigned char, 128> kCodePage850Upper = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7,  // 80: Ç ü é â ä à å ç
    0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,  // 88: ê ë è ï î ì Ä Å
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9,  // 90: É æ Æ ô ö ò û ù
    0xFF, 0xD6, 0xDC, 0xF8, 0xA3, 0xD8, 0xD7, 0x83,  // 98: ÿ Ö Ü ø £ Ø × ƒ
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA,  // A0: á í ó ú ñ Ñ ª º
    0xBF, 0xAE, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,  // A8: ¿ ® ¬ ½ ¼ ¡ « »
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xC1, 0xC2, 0xC0,  // B0: - - - - - Á Â À
    0xA9, 0xB9, 0xBA, 0xBB, 0xBC, 0xA2, 0xA5, 0xBF,  // B8: © - - - - ¢ ¥ -
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xE3, 0xC3,  // C0: - - - - - - ã Ã
    0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xA4,  // C8: - - - - - - - ¤
    0xF0, 0xD0, 0xCA, 0xCB, 0xC8, 0xD5, 0xCD, 0xCE,  // D0: ð Ð Ê Ë È - Í Î
    0xCF, 0xD9, 0xDA, 0xDB, 0xDC, 0xA6, 0xCC, 0xDF,  // D8: Ï - - - - ¦ Ì -
    0xD3, 0xDF, 0xD4, 0xD2, 0xF5, 0xD5, 0xB5, 0xFE,  // E0: Ó ß Ô Ò õ Õ µ þ
    0xDE, 0xDA, 0xDB, 0xD9, 0xFD, 0xDD, 0xAF, 0xB4,  // E8: Þ Ú Û Ù ý Ý ¯ ´
    0xAD, 0xB1, 0xF2, 0xBE, 0xB6, 0xA7, 0xF7, 0xB8,  // F0: soft hyphen ± - ¾ ¶ § ÷ ¸
    0xB0, 0xA8, 0xB7, 0xB9, 0xB3, 0xB2, 0xFE, 0xA0,  // F8: ° ¨ · ¹ ³ ² - no-break space
};

constexpr std::array<unsigned char, 256> MakeUmlautTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 128; ++i) table[i] = static_cast<unsigned char>(i);
  for (int i = 0; i < 128; ++i) table[128 + i] = kCodePage850Upper[i];
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
  // Names and versions are mostly ASCII, which stays as it is: eight bytes at a time where none
  // has its high bit set.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & kHighBits) != 0) {
      for (std::size_t k = 0; k < 8; ++k) {
        out[i + k] = static_cast<char>(kUmlauts[static_cast<unsigned char>(text[i + k])]);
      }
    } else {
      std::memcpy(out + i, &word, 8);
    }
  }
  for (; i < text.size(); ++i) {
    out[i] = static_cast<char>(kUmlauts[static_cast<unsigned char>(text[i])]);
  }
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
      // Appended piece by piece: g++ 12 sees a false overlap in the chain of + (-Wrestrict).
      result.error.assign(1, '"');
      result.error.append(utf8.substr(i, static_cast<std::size_t>(c.length)));
      result.error.append("\" is not a Windows-1252 character");
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
