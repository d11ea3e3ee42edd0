#include "objects/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

// What each code of code page 850 from 0x80 on stands for, as its standard gives it.
constexpr char32_t kCodePage850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// A code whose character Windows-1252 has becomes that character; any other byte stays.
TEST(ConvertUmlauts, GivesEveryLetterWindows1252Has) {
  int converted = 0;
  for (int code = 0; code < 256; ++code) {
    const std::string text(1, static_cast<char>(code));
    const auto stored = static_cast<unsigned char>(ConvertUmlauts(text)[0]);
    const char32_t meant = code < 0x80 ? char32_t(code) : kCodePage850[code - 0x80];
    const char in_windows = UnicodeToWindows1252(meant);
    if (in_windows != '?') {
      EXPECT_EQ(Windows1252ToUnicode(stored), meant) << std::hex << code;
      converted += code >= 0x80;
    } else {
      EXPECT_EQ(stored, code) << std::hex << code;
    }
  }
  EXPECT_EQ(converted, 97);
}

TEST(ConvertUmlauts, ConvertsWholeNamesOfAnyLength) {
  const struct {
    std::string file, shown;
  } cases[] = {
      {"Caf\x82", "Caf\xE9"},
      {"Se\xA4or", "Se\xF1or"},
      {"Pr\x81"
       "fung \x84\x8E\x94\x99\x9A\xE1",
       "Pr\xFC"
       "fung \xE4\xC4\xF6\xD6\xDC\xDF"},
      {"\xC9\xCD\xBB box \xD5", "\xC9\xCD\xBB box \xD5"},  // box drawing and the dotless i stay
      {"plain ASCII of sixteen", "plain ASCII of sixteen"},
      {"Ma\xE1nahmen f\x81r die \x9Bkonomie \x9F", "Ma\xDFnahmen f\xFCr die \xF8konomie \x83"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertUmlauts(c.file), c.shown) << c.file;
}

TEST(CodePage, EveryWindows1252CharacterComesBackFromUtf8) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    const StrictText back = Utf8ToWindows1252Strict(Windows1252ToUtf8(text));
    EXPECT_EQ(back.error, "") << byte;
    EXPECT_EQ(back.text, text) << byte;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(text)), text) << byte;
  }
  EXPECT_EQ(Utf8ToWindows1252Strict("Gr\xC3\xB6\xC3\x9F"
                                    "e \xE2\x82\xAC?")
                .text,
            "Gr\xF6\xDF"
            "e \x80?");
}

TEST(CodePage, StrictConversionRefusesWhatLenientTurnsIntoQuestionMarks) {
  struct Case {
    std::string utf8, lenient, error;
  };
  const Case cases[] = {
      {"a\xCE\xA9"
       "b",
       "a?b", "\"\xCE\xA9\" is not a Windows-1252 character"},  // Ω
      {"\xF0\x9F\x98\x80", "?", "\"\xF0\x9F\x98\x80\" is not a Windows-1252 character"},
      {"a\xFF", "a?", "the text is not valid UTF-8"},
      {"\xC3", "?", "the text is not valid UTF-8"},                 // cut short
      {"\xE2\x82", "??", "the text is not valid UTF-8"},            // cut short
      {"\xC0\xAF", "??", "the text is not valid UTF-8"},            // overlong
      {"\xE0\x80\xAF", "???", "the text is not valid UTF-8"},       // overlong
      {"\xED\xA0\x80", "???", "the text is not valid UTF-8"},       // a surrogate
      {"\xF4\x90\x80\x80", "????", "the text is not valid UTF-8"},  // past U+10FFFF
      {"\x80", "?", "the text is not valid UTF-8"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.lenient) << c.utf8;
    const StrictText strict = Utf8ToWindows1252Strict(c.utf8);
    EXPECT_EQ(strict.error, c.error) << c.utf8;
    EXPECT_EQ(strict.text, "") << c.utf8;
  }
}

}  // namespace
}  // namespace quillet
