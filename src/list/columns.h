#pragma once

#include <array>
#include <string_view>

#include "objects/object_table.h"

namespace quillet {

// The ten columns of the list, in order: the file tag, then the nine fields of a record. A view
// whose rows have a status (a keyed comparison) shows it in one more column after them.
enum class Column {
  kFile,
  kType,
  kId,
  kName,
  kModified,
  kVersion,
  kDate,
  kTime,
  kBlobSize,
  kCompiled,
  kStatus
};

inline constexpr int kColumnCount = 10;  // without the status
inline constexpr std::string_view kStatusHeader = "Status";

struct ColumnInfo {
  std::string_view header;
  bool right_aligned;
  int default_width;    // twips
  bool width_restored;  // false: starts at width 0 whatever was stored
};

// Everything the list, the formats, the printout and the stored widths know of a column.
inline constexpr std::array<ColumnInfo, kColumnCount> kColumns = {{
    {"File", false, 500, true},
    {"Type", false, 1000, true},
    {"ID", true, 1000, true},
    {"Name", false, 2200, true},
    {"Modified", false, 0, false},
    {"Version", false, 1500, true},
    {"Date", true, 1000, true},
    {"Time", true, 1000, true},
    {"BLOB size", true, 1000, true},
    {"Compiled", false, 0, false},
}};

constexpr int ColumnIndex(Column column) { return static_cast<int>(column); }
// Columns as the user counts them, from 1: the stored widths are Col1 to Col10.
constexpr int ColumnNumber(Column column) { return ColumnIndex(column) + 1; }
constexpr Column ColumnAt(int index) { return static_cast<Column>(index); }
constexpr const ColumnInfo& Info(Column column) { return kColumns[ColumnIndex(column)]; }

// The field a column shows; the file column shows none.
constexpr Field FieldOf(Column column) { return static_cast<Field>(ColumnIndex(column) - 1); }
constexpr Column ColumnOf(Field field) { return static_cast<Column>(static_cast<int>(field) + 1); }

inline constexpr std::array<Column, kColumnCount> kAllColumns = {
    Column::kFile,    Column::kType, Column::kId,   Column::kName,     Column::kModified,
    Column::kVersion, Column::kDate, Column::kTime, Column::kBlobSize, Column::kCompiled};

static_assert(kColumnCount == kFieldCount + 1);

}  // namespace quillet
