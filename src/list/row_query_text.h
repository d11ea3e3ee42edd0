#pragma once

// The filter's text tests: searching, '*' patterns, tags of a version list and whole numbers of
// any length. They run on every row of every keystroke, so none allocates; the few that build a
// text are for reading the filter.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "objects/code_page.h"

namespace quillet::query {

// TrimBlanks, but eight filling blanks at a time from the end: a stored name or version is
// mostly the blanks that fill it to its width.
std::string_view Trimmed(std::string_view text);

// Whether `text` holds `needle`, letter case folded; `needle` is folded already.
bool ContainsFolded(std::string_view text, std::string_view needle);

// Whether `tag` is `pattern` (folded), where each '*' stands for any run of characters.
bool GlobMatches(std::string_view pattern, std::string_view tag);

// Whether a tag of the version list (split at commas, blanks removed around each) matches one
// of the patterns. Empty pieces are no tags.
bool TagsMatch(std::string_view version, const std::vector<std::string>& patterns);

inline bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

inline std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// Order of two whole numbers of any length, as digit strings without leading zeros.
inline int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(static_cast<unsigned char>(x)) ==
                  FoldCase(static_cast<unsigned char>(y));
         });
}

template <std::size_t N>
int IndexIgnoringCase(const std::array<std::string_view, N>& names, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (EqualsIgnoringCase(names[i], text)) return static_cast<int>(i);
  }
  return -1;
}

// The text with its letters folded, as the tests compare it.
inline std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace quillet::query
