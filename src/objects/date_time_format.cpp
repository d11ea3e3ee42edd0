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

}  // namespace

std::size_t FormatObjectDateInto(std::string_view text, char* out) {
  const std::string_view s = TrimBlanks(text);
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
