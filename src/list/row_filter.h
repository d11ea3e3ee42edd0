#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "objects/object_table.h"
#include "objects/object_types.h"

namespace quillet {

// The types a first start shows: every type but TableData.
inline constexpr std::array<bool, kTypeCount> kDefaultTypes = {false, true, true, true, true,
                                                               true,  true, true, true};

// Which objects a listing shows: a flag per type, in type order, and whether system objects
// (those whose ID fills all ten characters) are hidden.
struct RowFilter {
  std::array<bool, kTypeCount> types = kDefaultTypes;
  bool hide_system = false;

  // A type text that is none of the nine names (in exact letter case) always passes.
  bool PassTypeFilter(std::string_view type_text) const;
  bool PassSystemFilter(std::string_view id_text) const;
  // Both tests of record `index` of `file`; the system test only when the type passed.
  bool Passes(const ObjectTable& table, int file, int index) const {
    return PassTypeFilter(table.Read(file, index, Field::kType)) &&
           PassSystemFilter(table.Read(file, index, Field::kId));
  }
};

// The row filter over records taken one after another. Files list their objects type by type,
// so the verdict on the last type text is kept: a record of the same type costs a compare of its
// type field, not a look-up of the name.
class RecordFilter {
 public:
  explicit RecordFilter(const RowFilter& filter) : filter_(filter) {}

  // As filter.Passes gives it for the record's table entry.
  bool Passes(std::string_view record) {
    static_assert(FieldWidth(Field::kType) == 9 && FieldWidth(Field::kId) == 10);
    const char* type = record.data() + FieldOffset(Field::kType);
    std::uint64_t head;
    std::memcpy(&head, type, sizeof head);
    if (!known_ || head != head_ || type[8] != tail_) {
      head_ = head;
      tail_ = type[8];
      known_ = true;
      type_passes_ = filter_.PassTypeFilter({type, 9});
    }
    if (!type_passes_) return false;
    // A system ID fills its field, no blank at either end.
    const char* id = record.data() + FieldOffset(Field::kId);
    return !filter_.hide_system || id[0] == ' ' || id[9] == ' ';
  }
  bool Passes(const ObjectTable& table, int file, int index) {
    return Passes(table.Record(file, index));
  }
  // The same for a key's trimmed texts, taken in list order, where one type's keys stand
  // together. The type text must stay where it is until the next call.
  bool PassesKey(std::string_view type, std::string_view id) {
    if (!known_key_ || type != key_type_) {
      key_type_ = type;
      known_key_ = true;
      key_type_passes_ = filter_.PassTypeFilter(type);
    }
    return key_type_passes_ && (!filter_.hide_system || filter_.PassSystemFilter(id));
  }

 private:
  const RowFilter& filter_;
  std::uint64_t head_ = 0;
  char tail_ = 0;
  bool known_ = false;
  bool type_passes_ = false;
  std::string_view key_type_;
  bool known_key_ = false;
  bool key_type_passes_ = false;
};

}  // namespace quillet
