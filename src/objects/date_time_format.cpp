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

// Appends to a buffer of the caller's, which has room (see FormattedRoom).
class Writer {
 public:
  explicit Writer(char* out) : out_(out) {}
  Writer& operator<<(std::string_view text) {
    for (char c : text) out_[length_++] = c;
    return *this;
  }
  std::size_t length() const { return length_; }

 private:
  char* out_;
  std::size_t length_ = 0;
};

// A date of three groups of digits, 1-2, 1-2 and 2 or 4 long, with the same separator twice,
// written as the positions below expect it: two-digit day (or month), month (or day) and year.
// Gives false for any other text, which is reordered as it stands.
bool NormalizedDate(std::string_view s, char (&out)[8]) {
  std::string_view groups[3];
  char separator = 0;
  std::size_t at = 0;
  for (int g = 0; g < 3; ++g) {
    const std::size_t start = at;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
    groups[g] = s.substr(start, at - start);
    if (g == 2) break;
    if (at == s.size() || (s[at] != '.' && s[at] != '-' && s[at] != '/')) return false;
    if (g == 1 && s[at] != separator) return false;
    separator = s[at++];
  }
  const std::size_t year = groups[2].size();
  if (at != s.size() || groups[0].empty() || groups[0].size() > 2 || groups[1].empty() ||
      groups[1].size() > 2 || (year != 2 && year != 4)) {
    return false;
  }
  Writer w(out);
  for (int g = 0; g < 2; ++g)
    w << (groups[g].size() == 1 ? "0" : "") << groups[g] << std::string_view(&separator, 1);
  w << Right(groups[2], 2);
  return true;
}

}  // namespace

std::size_t FormatObjectDateInto(std::string_view text, char* out) {
  std::string_view s = TrimBlanks(text);
  // Blanks only: no date, rather than a century alone.
  if (s.empty()) return 0;
  char normalized[8];
  if (NormalizedDate(s, normalized)) s = {normalized, 8};
  // A reordered date has at most eight characters; otherwise r is s itself.
  char reordered[8];
  std::string_view r = s;
  if (s.find('.') != std::string_view::npos || s.find('-') != std::string_view::npos) {
    Writer w(reordered);
    w << Right(s, 2) << "-" << Mid(s, 4, 2) << "-" << Left(s, 2);
    r = {reordered, w.length()};
  } else if (s.find('/') != std::string_view::npos) {
    Writer w(reordered);
    w << Right(s, 2) << "-" << Left(s, 2) << "-" << Mid(s, 4, 2);
    r = {reordered, w.length()};
  }
  Writer result(out);
  result << (LeadingNumber(Left(r, 2)) < 50 ? "20" : "19") << r;
  return result.length();
}

std::size_t FormatObjectTimeInto(std::string_view text, char* out) {
  const std::string_view s = TrimBlanks(text);
  Writer result(out);
  if (s.size() >= 2 && s[1] == ':') result << "0";
  result << s;
  return result.length();
}

std::string FormatObjectDate(std::string_view text) {
  std::string out(FormattedRoom(text), ' ');
  out.resize(FormatObjectDateInto(text, out.data()));
  return out;
}

std::string FormatObjectTime(std::string_view text) {
  std::string out(FormattedRoom(text), ' ');
  out.resize(FormatObjectTimeInto(text, out.data()));
  return out;
}

}  // namespace quillet
