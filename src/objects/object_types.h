#pragma once

#include <array>
#include <string_view>

namespace quillet {

inline constexpr int kTypeCount = 9;

// The type order is also the order of the toolbar toggles, the settings boxes and stored values.
inline constexpr std::array<std::string_view, kTypeCount> kTypeNames = {
    "TableData", "Table", "Form", "Report", "Dataport", "XMLport", "Codeunit", "Page", "MenuSuite"};

inline constexpr int kTableDataType = 0;
inline constexpr int kTableType = 1;

// Index of the type whose name equals `name` exactly (letter case counts), or -1.
int TypeIndex(std::string_view name);

}  // namespace quillet
