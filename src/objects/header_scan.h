#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/byte_source.h"

namespace quillet {

// The byte that ends an object directory.
inline constexpr char kEndOfHeader = 0x1A;
// The reader's one buffer: both passes over the directory go through it.
inline constexpr std::size_t kReadBlockSize = std::size_t{64} * 1024;

// The type whose name and a blank start `text`, or -1: what makes a line one the count knows.
int TypeAtLineStart(const char* text, std::size_t available);

struct HeaderScan {
  bool found = false;       // a 0x1A was met
  std::uint64_t end = 0;    // where it stands: no line starts there or after
  long long lines = 0;      // object lines before it
  std::uint64_t bytes = 0;  // bytes read
  std::size_t held = 0;     // when the buffer still holds the file from its first byte: how much
};

// One pass over the bytes of `source` up to the first 0x1A, through `buffer` (kReadBlockSize
// bytes): finds the end of the header and counts the object lines in it (the first line, and
// every CR LF followed by a type name and a blank). A source that ends without a 0x1A has no
// header.
HeaderScan ScanHeader(ByteSource& source, char* buffer);

// Hands out a source's bytes, a few at a time, through a large window. It asks the source only
// for bytes a line needs, so a stream is never waited on for more.
class ByteCursor {
 public:
  // `buffer` (kReadBlockSize bytes) may already hold the first `held` bytes, read after them.
  ByteCursor(ByteSource& source, char* buffer, std::size_t held)
      : source_(source), buffer_(buffer), end_(held) {}

  // Makes up to n bytes contiguous at Data(); gives how many there are (fewer at the end).
  std::size_t Ensure(std::size_t n);
  const char* Data() const { return buffer_ + begin_; }
  // Past bytes that Ensure made available; a line cut short ends the reading, so nothing is
  // skipped that was not read.
  void Skip(std::size_t n) { begin_ += n < end_ - begin_ ? n : end_ - begin_; }

 private:
  ByteSource& source_;
  char* buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
};

}  // namespace quillet
