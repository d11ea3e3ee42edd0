#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillet {

// Only the blank (0x20) counts as white space: tabs, NULs and the like are data.
inline std::string_view TrimBlanks(std::string_view text) {
  // Plain loops: the reader and the list trim short fields millions of times.
  std::size_t first = 0;
  while (first < text.size() && text[first] == ' ') ++first;
  std::size_t end = text.size();
  while (end > first && text[end - 1] == ' ') --end;
  return text.substr(first, end - first);
}

// Whether a file's name ends in `ascii_tail`, letter case ignored: compared in the name's own
// characters, so a name the system gives in any encoding is looked at as it stands.
inline bool NameEndsWith(const std::filesystem::path& file_name, std::string_view ascii_tail) {
  const auto& name = file_name.native();
  if (name.size() < ascii_tail.size()) return false;
  const std::size_t start = name.size() - ascii_tail.size();
  for (std::size_t i = 0; i < ascii_tail.size(); ++i) {
    auto c = name[start + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<decltype(c)>(c - 'A' + 'a');
    char t = ascii_tail[i];
    if (t >= 'A' && t <= 'Z') t = static_cast<char>(t - 'A' + 'a');
    if (c != static_cast<decltype(c)>(t)) return false;
  }
  return true;
}

// ASCII letters in lower case, every other byte as it is: for names of options, formats and
// statuses, which are ASCII.
inline std::string AsciiLowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Decimal text of an integer, without leading blanks or zeros.
inline std::string DecimalText(long long value) { return std::to_string(value); }

}  // namespace quillet
