// Feeds arbitrary bytes to the filter reader as the filter text, then tests the query on rows
// with awkward fields. A filter either reads or gives one line of UTF-8 that says why.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "list/row_query.h"
#include "objects/code_page.h"

using namespace quillet;

namespace {

bool IsOneLineOfUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = DecodeUtf8(text, i);
    if (c.length == 0 || c.code == '\n' || c.code == '\r') return false;
    i += static_cast<std::size_t>(c.length);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Result<RowQuery> parse = ParseRowQuery(text);
  if (parse.ok() == !parse.error().empty()) __builtin_trap();
  if (!parse.ok()) {
    if (!IsOneLineOfUtf8(parse.error())) __builtin_trap();
    return 0;
  }
  // A long version list of tags and stars, for the '*' matching's worst case.
  static const std::string long_version = [] {
    std::string version;
    for (int i = 0; i < 40; ++i) version += "a*a*a*ab,";
    return version + std::string(300, 'a');
  }();
  const QueryRow rows[] = {
      {"Codeunit ", "        80", "Sales-Post                    ",
       "NAVW17.00,CUST7.94                                          ", "changed"},
      {"TableData", "0000000018",
       "\xDC"
       "bersicht M\xE4nge \"Old\"",
       " , ,CUST*, ", "only1added"},
      {"table", "99999999999999999999999", "", "", ""},
      {"", "", "", "", ""},
      {"Page     ", "   1 8 x  ", std::string_view("a\0b:|\"-", 7), long_version, "CONFLICT"},
  };
  int matched = 0;
  for (const QueryRow& row : rows) matched += parse->Matches(row) ? 1 : 0;
  if (parse->MatchesEverything() && matched != 5) __builtin_trap();
  return 0;
}
