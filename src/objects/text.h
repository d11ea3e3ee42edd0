#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Only the blank (0x20) counts as white space: tabs, NULs and the like are data.
inline std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Decimal text of an integer, without leading blanks or zeros.
inline std::string DecimalText(long long value) { return std::to_string(value); }

}  // namespace quillet
