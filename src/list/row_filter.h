#pragma once

#include <array>
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

}  // namespace quillet
