#pragma once

#include <cstdint>
#include <optional>

#include "commands/compare.h"
#include "objects/object_table.h"
#include "objects/object_types.h"

namespace quillet {

// What the user can ask of the window: the toolbar's commands and those reached by key only.
// The nine type toggles stand in type order.
enum class Command : std::uint8_t {
  kNew,
  kLoadFile1,
  kLoadFile2,
  kLoadBase,
  kTypeTableData,
  kTypeTable,
  kTypeForm,
  kTypeReport,
  kTypeDataport,
  kTypeXMLport,
  kTypeCodeunit,
  kTypePage,
  kTypeMenuSuite,
  kCompareEqual,
  kCompareDifferent,
  kShowChanges,
  kShowUpgrade,
  kShowAll,
  kSave,
  kPrint,
  kPrintPreview,
  kSettings,
  kInfo,
  kReload,
  kFilter,
  kCompareAcross,  // "Compare many files…": the matrix of any number of files
};

inline constexpr int kCommandCount = static_cast<int>(Command::kCompareAcross) + 1;

// The toggle of type `type` (in type order).
constexpr Command TypeCommand(int type) {
  return static_cast<Command>(static_cast<int>(Command::kTypeTableData) + type);
}

// The type a toggle shows or hides; none for the other commands.
constexpr std::optional<int> TypeOf(Command command) {
  const int type = static_cast<int>(command) - static_cast<int>(Command::kTypeTableData);
  if (type < 0 || type >= kTypeCount) return std::nullopt;
  return type;
}

// The slot a load command reads into; none for the other commands.
constexpr std::optional<int> LoadSlotOf(Command command) {
  switch (command) {
    case Command::kLoadFile1:
      return 1;
    case Command::kLoadFile2:
      return 2;
    case Command::kLoadBase:
      return kBaseFile;
    default:
      return std::nullopt;
  }
}

// The comparison a command asks for, through the criteria dialog; kNone for the others.
constexpr CompareMode CompareModeOf(Command command) {
  switch (command) {
    case Command::kCompareEqual:
      return CompareMode::kEqual;
    case Command::kCompareDifferent:
      return CompareMode::kDifferent;
    case Command::kShowChanges:
      return CompareMode::kChanges;
    case Command::kShowUpgrade:
      return CompareMode::kUpgrade;
    default:
      return CompareMode::kNone;
  }
}

}  // namespace quillet
