#include "objects/message_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillet {
namespace {

TEST(MessageText, ControlCharactersShowAsEscapes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain name.fob", "plain name.fob"},
      {"no\nsuch\x1b[31mRED.fob", "no\\nsuch\\x1b[31mRED.fob"},
      {"a\tb\rc", "a\\tb\\rc"},
      {std::string("nul\0here", 8), "nul\\x00here"},
      {"\x01\x1f\x7f", "\\x01\\x1f\\x7f"},
      {"back\\slash", "back\\slash"},  // as Windows writes names
      // UTF-8 stays, C1 controls in it do not.
      {"\xC3\x9C"
       "bersicht \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\xC3\x9C"
       "bersicht \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"\xC2\x85\xC2\x9B"
       "x\xC2\xA0",
       "\\u0085\\u009bx\xC2\xA0"},
      // Bytes of another encoding stay, but not those a terminal takes as a C1 control.
      {"Pr\xFC"
       "fung \x9B"
       "31m \x80",
       "Pr\xFC"
       "fung \\x9b31m \\x80"},
      {"\xE2\x82", "\xE2\\x82"},          // cut short: the lead byte is no control, the rest is
      {"\xED\xA0\x80", "\xED\xA0\\x80"},  // a surrogate is no UTF-8
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(EscapeControls(text), shown) << text;
}

}  // namespace
}  // namespace quillet
