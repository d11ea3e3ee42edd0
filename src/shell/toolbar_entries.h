#pragma once

#include <array>
#include <optional>

#include "commands/command.h"
#include "objects/object_types.h"

namespace quillet {

// The toolbar's entries in the order they stand; a gap has no command. Picture numbers index
// the toolbar's pictures (10 is unused).
struct ToolbarEntry {
  std::optional<Command> command;  // none: a gap
  int picture;
  const char* tooltip;
  const char* shortcut;  // every command can be reached from the keyboard
};

inline constexpr ToolbarEntry kGap = {std::nullopt, 0, nullptr, nullptr};

inline constexpr std::array<ToolbarEntry, 32> kToolbar = {{
    kGap,
    {Command::kNew, 1, "New", "Ctrl+N"},
    kGap,
    {Command::kLoadFile1, 2, "Load file #1", "Ctrl+O"},
    {Command::kLoadFile2, 3, "Load file #2", "Ctrl+Shift+O"},
    {Command::kLoadBase, 21, "Load base file", "Ctrl+B"},
    kGap,
    {Command::kTypeTableData, 4, kTypeNames[0].data(), "Ctrl+1"},
    {Command::kTypeTable, 5, kTypeNames[1].data(), "Ctrl+2"},
    {Command::kTypeForm, 6, kTypeNames[2].data(), "Ctrl+3"},
    {Command::kTypeReport, 7, kTypeNames[3].data(), "Ctrl+4"},
    {Command::kTypeDataport, 8, kTypeNames[4].data(), "Ctrl+5"},
    {Command::kTypeXMLport, 18, kTypeNames[5].data(), "Ctrl+6"},
    {Command::kTypeCodeunit, 9, kTypeNames[6].data(), "Ctrl+7"},
    {Command::kTypePage, 20, kTypeNames[7].data(), "Ctrl+8"},
    {Command::kTypeMenuSuite, 19, kTypeNames[8].data(), "Ctrl+9"},
    kGap,
    {Command::kCompareEqual, 11, "Show objects that are equal in both files", "Ctrl+E"},
    {Command::kCompareDifferent, 12, "Show objects that are different in both files", "Ctrl+D"},
    {Command::kShowChanges, 23, "Show changes", "Ctrl+K"},
    {Command::kShowUpgrade, 24, "Show upgrade analysis", "Ctrl+U"},
    {Command::kCompareAcross, 25, "Compare many files\u2026", "Ctrl+M"},
    kGap,
    {Command::kShowAll, 13, "Show all objects of selected types", "Ctrl+L"},
    kGap,
    {Command::kSave, 14, "Save", "Ctrl+S"},
    {Command::kPrint, 15, "Print", "Ctrl+P"},
    kGap,
    {Command::kSettings, 16, "Settings", "Ctrl+,"},
    kGap,
    {Command::kInfo, 17, "Info", "F1"},
    kGap,
}};

// Commands with a key but no place on the toolbar: F5 and the bar that offers a reload when a
// file changed are where users look for it, and the toolbar must fit the window's first width.
inline constexpr std::array<ToolbarEntry, 3> kKeyOnlyCommands = {{
    {Command::kReload, 22, "Reload", "F5"},
    {Command::kPrintPreview, 0, "Print preview", "Ctrl+Shift+P"},
    {Command::kFilter, 0, "Filter", nullptr},  // the platform's Find key
}};

// A type toggle's text is its type's name.
constexpr bool TypeTogglesNameTheirTypes() {
  for (const ToolbarEntry& entry : kToolbar) {
    for (int type = 0; type < kTypeCount; ++type) {
      if (entry.command == TypeCommand(type) &&
          std::string_view(entry.tooltip) != kTypeNames[static_cast<std::size_t>(type)]) {
        return false;
      }
    }
  }
  return true;
}
static_assert(TypeTogglesNameTheirTypes());

// The picture files of the toolbar, by picture number (1..25).
inline constexpr std::array<const char*, 26> kToolbarPictures = {
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
    ":/icons/across.svg",
};

}  // namespace quillet
