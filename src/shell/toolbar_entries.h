#pragma once

#include <array>

namespace quillet {

// The toolbar's 28 entries, numbered from 1 in order; commands are dispatched by number.
// Separators are plain gaps. Picture numbers index the toolbar's pictures (10 is unused).
struct ToolbarEntry {
  bool separator;
  int picture;
  const char* tooltip;
  const char* shortcut;  // every command can be reached from the keyboard
};

inline constexpr int kToolbarEntries = 28;

inline constexpr std::array<ToolbarEntry, kToolbarEntries> kToolbar = {{
    {true, 0, nullptr, nullptr},
    {false, 1, "New", "Ctrl+N"},
    {true, 0, nullptr, nullptr},
    {false, 2, "Load file #1", "Ctrl+O"},
    {false, 3, "Load file #2", "Ctrl+Shift+O"},
    {true, 0, nullptr, nullptr},
    {false, 4, "TableData", "Ctrl+1"},
    {false, 5, "Table", "Ctrl+2"},
    {false, 6, "Form", "Ctrl+3"},
    {false, 7, "Report", "Ctrl+4"},
    {false, 8, "Dataport", "Ctrl+5"},
    {false, 18, "XMLport", "Ctrl+6"},
    {false, 9, "Codeunit", "Ctrl+7"},
    {false, 20, "Page", "Ctrl+8"},
    {false, 19, "MenuSuite", "Ctrl+9"},
    {true, 0, nullptr, nullptr},
    {false, 11, "Show objects that are equal in both files", "Ctrl+E"},
    {false, 12, "Show objects that are different in both files", "Ctrl+D"},
    {true, 0, nullptr, nullptr},
    {false, 13, "Show all objects of selected types", "Ctrl+L"},
    {true, 0, nullptr, nullptr},
    {false, 14, "Save", "Ctrl+S"},
    {false, 15, "Print", "Ctrl+P"},
    {true, 0, nullptr, nullptr},
    {false, 16, "Settings", "Ctrl+,"},
    {true, 0, nullptr, nullptr},
    {false, 17, "Info", "F1"},
    {true, 0, nullptr, nullptr},
}};

// Toolbar numbers of the commands.
namespace button {
inline constexpr int kNew = 2;
inline constexpr int kLoadFile1 = 4;
inline constexpr int kLoadFile2 = 5;
inline constexpr int kFirstType = 7;  // TableData; the nine types follow in type order
inline constexpr int kLastType = 15;
inline constexpr int kCompareEqual = 17;
inline constexpr int kCompareDifferent = 18;
inline constexpr int kShowAll = 20;
inline constexpr int kSave = 22;
inline constexpr int kPrint = 23;
inline constexpr int kSettings = 25;
inline constexpr int kInfo = 27;
}  // namespace button

// The picture files of the toolbar, by picture number (1..20).
inline constexpr std::array<const char*, 21> kToolbarPictures = {
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
};

}  // namespace quillet
