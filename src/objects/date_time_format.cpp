#include "objects/date_time_format.h"

#include <cstring>

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The forms nearly every file writes, dd.mm.yy and dd.mm.yyyy (or with - for the point, or
// mm/dd/yy), written at once as what the steps of FormatObjectDateInto make of them.
bool WriteUsualDate(std::string_view s, char* out) {
  if ((s.size() != 8 && s.size() != 10) || (s[2] != '.' && s[2] != '-' && s[2] != '/') ||
      s[5] != s[2]) {
    return false;
  }
  for (const std::size_t at : {0, 1, 3, 4, 6, 7}) {
    if (!IsDigit(s[at])) return false;
  }
  if (s.size() == 10 && (!IsDigit(s[8]) || !IsDigit(s[9]))) return false;
  const char* year = s.data() + s.size() - 2;
  const bool month_first = s[2] == '/';
  const char* month = month_first ? s.data() : s.data() + 3;
  const char* day = month_first ? s.data() + 3 : s.data();
  const bool this_century = (year[0] - '0') * 10 + (year[1] - '0') < 50;
  const char result[10] = {this_century ? '2' : '1',
                           this_century ? '0' : '9',
                           year[0],
                           year[1],
                           '-',
                           month[0],
                           month[1],
                           '-',
                           day[0],
                           day[1]};
  std::memcpy(out, result, sizeof result);
  return true;
}

}  // namespace

std::size_t FormatObjectDateInto(std::string_view text, char* out) {
  std::string_view s = TrimBlanks(text);
  // Blanks only: no date, rather than a century alone.
  if (s.empty()) return 0;
  if (WriteUsualDate(s, out)) return 10;
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
  const std::size_t zero = s.size() >= 2 && s[1] == ':' ? 1 : 0;
  out[0] = '0';
  if (!s.empty()) std::memcpy(out + zero, s.data(), s.size());
  return zero + s.size();
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
