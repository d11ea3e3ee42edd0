#pragma once

#include <array>
#include <string_view>

namespace quillet {

inline constexpr int kTypeCount = 9;

// The nine object types, each by the name files write it under. A type's place here is its
// order everywhere: the list's sort, the type toggles on the toolbar (one after another, from
// TableData), the settings dialog's boxes, the stored values, the ID lines and every message
// that names the types.
inline constexpr std::array<std::string_view, kTypeCount> kTypeNames = {
    "TableData", "Table", "Form", "Report", "Dataport", "XMLport", "Codeunit", "Page", "MenuSuite"};

inline constexpr int kTableDataType = 0;
inline constexpr int kTableType = 1;

// Index of the type whose name equals `name` exactly (letter case counts), or -1.
int TypeIndex(std::string_view name);
// Index of the type `name` names in any letter case, as users may type it, or -1.
int TypeIndexIgnoringCase(std::string_view name);

}  // namespace quillet
