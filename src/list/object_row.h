#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "list/columns.h"
#include "objects/object_table.h"

namespace quillet {

// The file column's text: it reads as empty, yet tells the two files apart, and an ascending
// sort on it puts file #1 first.
constexpr std::string_view FileTag(int file) { return file == 2 ? "  " : " "; }

// One line of the list: the file it came from and a copy of the object's nine full-width
// field texts. It keeps no link to the object table, which a later load may overwrite.
struct ObjectRow {
  std::uint8_t file = 1;
  std::array<char, kRecordWidth> fields{};

  // The row of record `index` (1-based) of `file`.
  static ObjectRow FromRecord(const ObjectTable& table, int file, int index) {
    ObjectRow row;
    row.file = static_cast<std::uint8_t>(file);
    const std::string_view record = table.Record(file, index);
    std::memcpy(row.fields.data(), record.data(), record.size());
    return row;
  }

  std::string_view Cell(Column column) const {
    if (column == Column::kFile) return FileTag(file);
    const Field field = FieldOf(column);
    return {fields.data() + FieldOffset(field), static_cast<std::size_t>(FieldWidth(field))};
  }
  std::string_view Record() const { return {fields.data(), fields.size()}; }
};

}  // namespace quillet
