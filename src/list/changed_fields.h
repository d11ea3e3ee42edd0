#pragma once

#include <string>
#include <string_view>

#include "list/compare_criteria.h"
#include "objects/object_table.h"

namespace quillet {

// A set of fields, one bit per field at its position in a record (bit 0 Type ... bit 8
// Compiled).
using FieldMask = unsigned;

constexpr FieldMask FieldBit(Field field) { return 1u << static_cast<int>(field); }

// The fields whose change a keyed comparison reports. Type and ID make the key; Modified and
// Compiled are never filled in, so a change in them could not be told to anyone.
inline constexpr FieldMask kChangeFields = FieldBit(Field::kName) | FieldBit(Field::kVersion) |
                                           FieldBit(Field::kDate) | FieldBit(Field::kTime) |
                                           FieldBit(Field::kBlobSize);

// The fields of kChangeFields whose box is ticked.
FieldMask CountedChangeFields(const CompareCriteria& criteria);

// The fields of `counted` whose full-width texts differ between two records (kRecordWidth
// bytes each), byte for byte.
FieldMask DifferingFields(std::string_view record_a, std::string_view record_b, FieldMask counted);

// The fields of `mask` by their column headers, in column order, joined by ';':
// "Version;Date;Time". Empty for no field.
std::string ChangedFieldsText(FieldMask mask);
// The same text, made once for each set of fields: the outputs write it on every row.
std::string_view ChangedFieldsView(FieldMask mask);

}  // namespace quillet
