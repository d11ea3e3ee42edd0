#pragma once

#include <array>
#include <string_view>

#include "objects/object_types.h"

namespace quillet {

// The toolbar's entries in the order they stand. Entries 1 to 28 are numbered in that order and
// dispatched by number, as they always were; the commands added since have numbers after them
// and stand beside their kin. Separators are plain gaps. Picture numbers index the toolbar's
// pictures (10 is unused). Reload (30) has a number but no place on the toolbar: F5 and the
// bar that offers it when a file changed are where users look for it, and the toolbar must fit
// the window's first width.
struct ToolbarEntry {
  int number;
  bool separator;
  int picture;
  const char* tooltip;
  const char* shortcut;  // every command can be reached from the keyboard
};

inline constexpr int kToolbarEntries = 32;  // the highest number

inline constexpr std::array<ToolbarEntry, kToolbarEntries - 1> kToolbar = {{
    {1, true, 0, nullptr, nullptr},
    {2, false, 1, "New", "Ctrl+N"},
    {3, true, 0, nullptr, nullptr},
    {4, false, 2, "Load file #1", "Ctrl+O"},
    {5, false, 3, "Load file #2", "Ctrl+Shift+O"},
    {29, false, 21, "Load base file", "Ctrl+B"},
    {6, true, 0, nullptr, nullptr},
    {7, false, 4, kTypeNames[0].data(), "Ctrl+1"},
    {8, false, 5, kTypeNames[1].data(), "Ctrl+2"},
    {9, false, 6, kTypeNames[2].data(), "Ctrl+3"},
    {10, false, 7, kTypeNames[3].data(), "Ctrl+4"},
    {11, false, 8, kTypeNames[4].data(), "Ctrl+5"},
    {12, false, 18, kTypeNames[5].data(), "Ctrl+6"},
    {13, false, 9, kTypeNames[6].data(), "Ctrl+7"},
    {14, false, 20, kTypeNames[7].data(), "Ctrl+8"},
    {15, false, 19, kTypeNames[8].data(), "Ctrl+9"},
    {16, true, 0, nullptr, nullptr},
    {17, false, 11, "Show objects that are equal in both files", "Ctrl+E"},
    {18, false, 12, "Show objects that are different in both files", "Ctrl+D"},
    {31, false, 23, "Show changes", "Ctrl+K"},
    {32, false, 24, "Show upgrade analysis", "Ctrl+U"},
    {19, true, 0, nullptr, nullptr},
    {20, false, 13, "Show all objects of selected types", "Ctrl+L"},
    {21, true, 0, nullptr, nullptr},
    {22, false, 14, "Save", "Ctrl+S"},
    {23, false, 15, "Print", "Ctrl+P"},
    {24, true, 0, nullptr, nullptr},
    {25, false, 16, "Settings", "Ctrl+,"},
    {26, true, 0, nullptr, nullptr},
    {27, false, 17, "Info", "F1"},
    {28, true, 0, nullptr, nullptr},
}};

inline constexpr ToolbarEntry kReloadEntry = {30, false, 22, "Reload", "F5"};

// Toolbar numbers of the commands.
namespace button {
inline constexpr int kNew = 2;
inline constexpr int kLoadFile1 = 4;
inline constexpr int kLoadFile2 = 5;
inline constexpr int kFirstType = 7;  // TableData; the nine types follow in type order
inline constexpr int kLastType = 15;
static_assert(kLastType - kFirstType + 1 == kTypeCount);
inline constexpr int kCompareEqual = 17;
inline constexpr int kCompareDifferent = 18;
inline constexpr int kShowAll = 20;
inline constexpr int kSave = 22;
inline constexpr int kPrint = 23;
inline constexpr int kSettings = 25;
inline constexpr int kInfo = 27;
inline constexpr int kLoadBase = 29;
inline constexpr int kReload = 30;
inline constexpr int kShowChanges = 31;
inline constexpr int kShowUpgrade = 32;
}  // namespace button

// The type toggles stand in type order: a toggle's number says its type.
constexpr bool TypeTogglesInTypeOrder() {
  for (const ToolbarEntry& entry : kToolbar) {
    if (entry.number >= button::kFirstType && entry.number <= button::kLastType &&
        std::string_view(entry.tooltip) != kTypeNames[entry.number - button::kFirstType]) {
      return false;
    }
  }
  return true;
}
static_assert(TypeTogglesInTypeOrder());

// The picture files of the toolbar, by picture number (1..24).
inline constexpr std::array<const char*, 25> kToolbarPictures = {
    nullptr,
    ":/icons/new.svg",
    ":/icons/load1.svg",
    ":/icons/load2.svg",
    ":/icons/type-tabledata.svg",
    ":/icons/type-table.svg",
    ":/icons/type-form.svg",
    ":/icons/type-report.svg",
    ":/icons/type-dataport.svg",
    ":/icons/type-codeunit.svg",
    nullptr,
    ":/icons/compare-equal.svg",
    ":/icons/compare-different.svg",
    ":/icons/show-all.svg",
    ":/icons/save.svg",
    ":/icons/print.svg",
    ":/icons/settings.svg",
    ":/icons/info.svg",
    ":/icons/type-xmlport.svg",
    ":/icons/type-menusuite.svg",
    ":/icons/type-page.svg",
    ":/icons/load0.svg",
    ":/icons/reload.svg",
    ":/icons/changes.svg",
    ":/icons/upgrade.svg",
};

}  // namespace quillet
