#pragma once

#include <array>
#include <string_view>

#include "objects/object_types.h"

namespace quillet {

// Which objects a listing shows: a flag per type, in type order, and whether system objects
// (those whose ID fills all ten characters) are hidden.
struct RowFilter {
  std::array<bool, kTypeCount> types{false, true, true, true, true, true, true, true, true};
  bool hide_system = false;

  // A type text that is none of the nine names (in exact letter case) always passes.
  bool PassTypeFilter(std::string_view type_text) const;
  bool PassSystemFilter(std::string_view id_text) const;
};

}  // namespace quillet
