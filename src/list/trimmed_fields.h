#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "objects/object_table.h"

namespace quillet {

// Which bytes of a record are not blanks, a bit per byte (bit b of word b / 64 for byte b).
// Every row that is written out or keyed has all its fields trimmed; a byte loop per field costs
// a mispredicted branch at each end of each field, so the whole record is looked at once,
// eight bytes at a time, and each field's ends are then found by counting bits.
struct NonBlankBits {
  std::array<std::uint64_t, 3> words{};

  explicit NonBlankBits(const char* record) {
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor has it (every x86-64 does).
    static_assert(kRecordWidth > 128 && kRecordWidth <= 144);
    const __m128i blanks = _mm_set1_epi8(' ');
    const auto non_blank = [&](const char* at) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      return static_cast<std::uint64_t>(~_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blanks)) & 0xFFFF);
    };
    for (int i = 0; i < 8; ++i) words[i / 4] |= non_blank(record + 16 * i) << (16 * (i % 4));
    // The last bytes as the top of sixteen that end with the record, never past it.
    words[2] = non_blank(record + kRecordWidth - 16) >> (144 - kRecordWidth);
#else
    *this = Portable(record);
#endif
  }

  // The same, eight bytes at a time in plain integers, as on every processor.
  static NonBlankBits Portable(const char* record) {
    static_assert(kRecordWidth > 8 && kRecordWidth <= 64 * 3);
    NonBlankBits bits;
    constexpr int kWholeWords = kRecordWidth / 8;
    for (int w = 0; w < kWholeWords; ++w) bits.Put(w * 8, ByteBits(Load(record + w * 8)));
    if constexpr (kRecordWidth % 8 != 0) {
      // The last bytes as the top of a word that ends with the record, never past it.
      constexpr int kTail = kRecordWidth % 8;
      bits.Put(kWholeWords * 8, ByteBits(Load(record + kRecordWidth - 8)) >> (8 - kTail));
    }
    return bits;
  }

  // Only the first `bytes` bytes, a multiple of eight, for those who read the first fields.
  NonBlankBits(const char* record, int bytes) {
    for (int w = 0; w < bytes / 8; ++w) Put(w * 8, ByteBits(Load(record + w * 8)));
  }

  // Bits [offset, offset + width) as the low bits of one word; width is at most 64.
  template <int kOffset, int kWidth>
  std::uint64_t Range() const {
    static_assert(kWidth > 0 && kWidth <= 64 && kOffset + kWidth <= 64 * 3);
    constexpr int kWord = kOffset / 64, kShift = kOffset % 64;
    std::uint64_t bits = words[kWord] >> kShift;
    if constexpr (kShift != 0 && kShift + kWidth > 64) bits |= words[kWord + 1] << (64 - kShift);
    if constexpr (kWidth < 64) bits &= (std::uint64_t{1} << kWidth) - 1;
    return bits;
  }

 private:
  NonBlankBits() = default;
  static std::uint64_t Load(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    return word;
  }
  // A bit per byte of a little-endian word, set where the byte is not a blank.
  static std::uint64_t ByteBits(std::uint64_t word) {
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ kBlanks;  // a blank becomes a zero byte
    // The top bit of each byte set exactly where the byte is not zero, without carries between
    // bytes.
    const std::uint64_t nonzero = (((x & kLow7) + kLow7) | x) & ~kLow7;
    // The eight top bits gathered into the top byte, byte i to bit 56 + i.
    return ((nonzero >> 7) * 0x0102040810204080ULL) >> 56;
  }
  void Put(int byte, std::uint64_t bits) {
    // The bytes' bits in order: bits from Load are little-endian byte order on every target
    // this builds for; a big-endian one would need the bytes of each word reversed.
    static_assert(std::endian::native == std::endian::little);
    // Whole words start at multiples of eight, so eight bits never straddle two words.
    words[static_cast<std::size_t>(byte / 64)] |= bits << (byte % 64);
  }
};

// Where a field's text starts within the field and how long it is, blanks at both ends left
// out (only the blank counts, as TrimBlanks has it).
struct TrimmedSpan {
  int begin = 0;
  int length = 0;
};

template <Field kField>
TrimmedSpan TrimmedField(const NonBlankBits& bits) {
  const std::uint64_t field = bits.Range<FieldOffset(kField), FieldWidth(kField)>();
  if (field == 0) return {};
  const int begin = std::countr_zero(field);
  return {begin, 64 - std::countl_zero(field) - begin};
}

// The text of a field without its blanks, as TrimBlanks(table.Read(...)) gives it.
template <Field kField>
std::string_view TrimmedText(const char* record, const NonBlankBits& bits) {
  const TrimmedSpan span = TrimmedField<kField>(bits);
  return {record + FieldOffset(kField) + span.begin, static_cast<std::size_t>(span.length)};
}

}  // namespace quillet
