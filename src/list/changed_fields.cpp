#include "list/changed_fields.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "list/columns.h"

namespace quillet {
namespace {

std::uint64_t Word(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Whole words, the last one overlapping the one before where the width is no multiple of 8.
bool SameBytes(const char* a, const char* b, std::size_t width) {
  if (width < 8) return std::memcmp(a, b, width) == 0;
  std::uint64_t differ = Word(a + width - 8) ^ Word(b + width - 8);
  for (std::size_t at = 0; at + 8 < width; at += 8) differ |= Word(a + at) ^ Word(b + at);
  return differ == 0;
}

// One compare per field, each of a constant width, so that none is a library call: this runs
// for every pair of a comparison.
template <int... kFields>
FieldMask DifferingFieldsOf(const char* a, const char* b, FieldMask counted,
                            std::integer_sequence<int, kFields...>) {
  FieldMask differing = 0;
  const auto check = [&]<int kField>() {
    constexpr auto field = static_cast<Field>(kField);
    constexpr int offset = FieldOffset(field);
    if ((counted & FieldBit(field)) != 0 && !SameBytes(a + offset, b + offset, FieldWidth(field))) {
      differing |= FieldBit(field);
    }
  };
  (check.template operator()<kFields>(), ...);
  return differing;
}

}  // namespace

FieldMask CountedChangeFields(const CompareCriteria& criteria) {
  FieldMask counted = 0;
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if ((kChangeFields & FieldBit(field)) != 0 && criteria.Counts(field)) {
      counted |= FieldBit(field);
    }
  }
  return counted;
}

FieldMask DifferingFields(std::string_view record_a, std::string_view record_b, FieldMask counted) {
  return DifferingFieldsOf(record_a.data(), record_b.data(), counted,
                           std::make_integer_sequence<int, kFieldCount>{});
}

std::string ChangedFieldsText(FieldMask mask) {
  std::string text;
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if ((mask & FieldBit(field)) == 0) continue;
    if (!text.empty()) text += ';';
    text += Info(ColumnOf(field)).header;
  }
  return text;
}

std::string_view ChangedFieldsView(FieldMask mask) {
  constexpr FieldMask kAllFields = (1u << kFieldCount) - 1;
  static const std::array<std::string, kAllFields + 1> kTexts = [] {
    std::array<std::string, kAllFields + 1> texts;
    for (FieldMask m = 0; m <= kAllFields; ++m) texts[m] = ChangedFieldsText(m);
    return texts;
  }();
  return kTexts[mask & kAllFields];
}

}  // namespace quillet
