#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "objects/object_table.h"

namespace quillet {

inline constexpr int kColumnCount = 10;

// Column 1's text: it reads as empty, yet tells the two files apart, and an ascending sort on
// it puts file #1 first.
constexpr std::string_view FileTag(int file) { return file == 2 ? "  " : " "; }

// One line of the list: the file it came from and a copy of the object's nine full-width
// field texts. It keeps no link to the object table, which a later load may overwrite.
struct ObjectRow {
  std::uint8_t file = 1;
  std::array<char, kRecordWidth> fields{};

  // column is 1..10: 1 the file tag, 2..10 the fields in order.
  std::string_view Cell(int column) const {
    if (column <= 1) return FileTag(file);
    const auto field = static_cast<Field>(column - 2);
    return {fields.data() + FieldOffset(field), static_cast<std::size_t>(FieldWidth(field))};
  }
};

}  // namespace quillet
