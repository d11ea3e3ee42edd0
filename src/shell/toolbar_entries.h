#pragma once

#include <array>

namespace quillet {

// The toolbar's 28 entries, numbered from 1 in order; commands are dispatched by number.
// Separators are plain gaps. Picture numbers index the toolbar's pictures (10 is unused).
struct ToolbarEntry {
  bool separator;
  int picture;
  const char* tooltip;
};

inline constexpr int kToolbarEntries = 28;

inline constexpr std::array<ToolbarEntry, kToolbarEntries> kToolbar = {{
    {true, 0, nullptr},
    {false, 1, "New"},
    {true, 0, nullptr},
    {false, 2, "Load file #1"},
    {false, 3, "Load file #2"},
    {true, 0, nullptr},
    {false, 4, "TableData"},
    {false, 5, "Table"},
    {false, 6, "Form"},
    {false, 7, "Report"},
    {false, 8, "Dataport"},
    {false, 18, "XMLport"},
    {false, 9, "Codeunit"},
    {false, 20, "Page"},
    {false, 19, "MenuSuite"},
    {true, 0, nullptr},
    {false, 11, "Show objects that are equal in both files"},
    {false, 12, "Show objects that are different in both files"},
    {true, 0, nullptr},
    {false, 13, "Show all objects of selected types"},
    {true, 0, nullptr},
    {false, 14, "Save"},
    {false, 15, "Print"},
    {true, 0, nullptr},
    {false, 16, "Settings"},
    {true, 0, nullptr},
    {false, 17, "Info"},
    {true, 0, nullptr},
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
