#include "objects/date_time_format.h"

#include "objects/text.h"

namespace quillet {
namespace {

// Characters from 1-based position `start`, at most `length` of them; empty past the end.
std::string_view Mid(std::string_view s, std::size_t start, std::size_t length) {
  if (start > s.size()) return {};
  return s.substr(start - 1, length);
}

std::string_view Left(std::string_view s, std::size_t length) { return s.substr(0, length); }

std::string_view Right(std::string_view s, std::size_t length) {
  return length >= s.size() ? s : s.substr(s.size() - length);
}

// Value of the leading decimal digits, 0 when there are none.
int LeadingNumber(std::string_view s) {
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string Join(std::string_view a, std::string_view b, std::string_view c) {
  std::string joined;
  joined.reserve(a.size() + b.size() + c.size() + 2);
  joined.append(a).append("-").append(b).append("-").append(c);
  return joined;
}

}  // namespace

std::string FormatObjectDate(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  std::string r;
  if (s.find('.') != std::string_view::npos || s.find('-') != std::string_view::npos) {
    r = Join(Right(s, 2), Mid(s, 4, 2), Left(s, 2));
  } else if (s.find('/') != std::string_view::npos) {
    r = Join(Right(s, 2), Left(s, 2), Mid(s, 4, 2));
  } else {
    r = s;
  }
  const int year = LeadingNumber(Left(r, 2));
  return (year < 50 ? "20" : "19") + r;
}

std::string FormatObjectTime(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (s.size() >= 2 && s[1] == ':') return "0" + std::string(s);
  return std::string(s);
}

}  // namespace quillet
