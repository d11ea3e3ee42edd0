#include "list/changed_fields.h"

#include <cstring>

#include "list/columns.h"

namespace quillet {

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
  FieldMask differing = 0;
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if ((counted & FieldBit(field)) == 0) continue;
    const auto offset = static_cast<std::size_t>(FieldOffset(field));
    if (std::memcmp(record_a.data() + offset, record_b.data() + offset,
                    static_cast<std::size_t>(FieldWidth(field))) != 0) {
      differing |= FieldBit(field);
    }
  }
  return differing;
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

}  // namespace quillet
