#include "objects/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

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
