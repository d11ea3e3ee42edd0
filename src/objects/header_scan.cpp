#include "objects/header_scan.h"

#include <cstring>
#include <string_view>

#include "objects/object_types.h"

namespace quillet {
namespace {

// A CR LF and the longest type name with its blank.
constexpr std::size_t kLongestLineStart = 2 + 10;

}  // namespace

namespace {

// Type `kType` if its name and a blank start `text`; a comparison of a known length.
template <int kType>
int IfNamed(const char* text, std::size_t available) {
  constexpr std::string_view kName = kTypeNames[kType];
  return available > kName.size() && std::memcmp(text, kName.data(), kName.size()) == 0 &&
                 text[kName.size()] == ' '
             ? kType
             : -1;
}

}  // namespace

int TypeAtLineStart(const char* text, std::size_t available) {
  // The first letter leaves one candidate; the sixth tells the two T types apart.
  if (available < 5) return -1;
  switch (text[0]) {
    case 'T':
      return available > 5 && text[5] == 'D' ? IfNamed<kTableDataType>(text, available)
                                             : IfNamed<kTableType>(text, available);
    case 'F':
      return IfNamed<2>(text, available);  // Form
    case 'R':
      return IfNamed<3>(text, available);  // Report
    case 'D':
      return IfNamed<4>(text, available);  // Dataport
    case 'X':
      return IfNamed<5>(text, available);  // XMLport
    case 'C':
      return IfNamed<6>(text, available);  // Codeunit
    case 'P':
      return IfNamed<7>(text, available);  // Page
    case 'M':
      return IfNamed<8>(text, available);  // MenuSuite
    default:
      return -1;
  }
}

// No pattern can span the 0x1A, so counting in the same pass gives the count of the header
// alone. A stream may give a few bytes at a time: a line start is looked at once its bytes are
// all there.
HeaderScan ScanHeader(ByteSource& source, char* buffer) {
  HeaderScan scan;
  std::size_t length = 0;  // bytes in the buffer
  std::size_t next = 0;    // where the search for a CR goes on
  std::uint64_t base = 0;  // the offset of the buffer's first byte
  bool first_line = true;
  for (;;) {
    if (length == kReadBlockSize) {  // full: keep what is not yet looked at
      std::memmove(buffer, buffer + next, length - next);
      base += next;
      length -= next;
      next = 0;
    }
    const std::size_t read = source.Read(buffer + length, kReadBlockSize - length);
    if (read == 0) return scan;  // the end came without a 0x1A: there is no header
    scan.bytes += read;
    const auto* end_mark =
        static_cast<const char*>(std::memchr(buffer + length, kEndOfHeader, read));
    length += read;
    const std::size_t limit = end_mark != nullptr ? end_mark - buffer + 1 : length;
    if (first_line && (end_mark != nullptr || length >= kLongestLineStart)) {
      if (TypeAtLineStart(buffer, limit) >= 0) scan.lines = 1;
      first_line = false;
    }
    while (next < limit) {
      const auto* cr = static_cast<const char*>(std::memchr(buffer + next, '\r', limit - next));
      if (cr == nullptr) {
        next = limit;
        break;
      }
      const std::size_t position = cr - buffer;
      if (end_mark == nullptr && position + kLongestLineStart > length) {
        next = position;  // the line start may go on in the next read
        break;
      }
      if (position + 1 < limit && buffer[position + 1] == '\n' &&
          TypeAtLineStart(buffer + position + 2, limit - position - 2) >= 0) {
        ++scan.lines;
      }
      next = position + 1;
    }
    if (end_mark != nullptr) {
      scan.found = true;
      scan.end = base + static_cast<std::uint64_t>(end_mark - buffer);
      if (base == 0) scan.held = length;
      return scan;
    }
  }
}

std::size_t ByteCursor::Ensure(std::size_t n) {
  while (end_ - begin_ < n && !exhausted_) {
    if (kReadBlockSize - begin_ < n) {
      std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    const std::size_t read = source_.Read(buffer_ + end_, kReadBlockSize - end_);
    if (read == 0) exhausted_ = true;
    end_ += read;
  }
  return n < end_ - begin_ ? n : end_ - begin_;
}

}  // namespace quillet
