#pragma once

#include <cstdint>
#include <string_view>

#include "list/columns.h"
#include "list/list_view.h"
#include "objects/object_table.h"

namespace quillet {

// The file column's text: it reads as empty, yet tells the files apart, and an ascending sort
// on it puts the base first, then file #1, then file #2.
constexpr std::string_view FileTag(int file) { return file == 2 ? "  " : file == 1 ? " " : ""; }

// One line of the list: which record it shows, and what a comparison view says of it. It
// refers to its record instead of copying it, so a row costs a few bytes however long the
// texts; a file's rows are removed before its area is read again, so a row never outlives its
// record.
struct ObjectRow {
  std::uint32_t index = 1;    // the record, 1-based
  std::uint8_t file = 1;      // 0 (the base), 1 or 2
  std::uint8_t status = 0;    // in a view with statuses, the row's (see ListView)
  std::uint16_t changed = 0;  // the fields that differ, a bit per Field
  std::uint32_t group = 0;    // rows shown together (a pair) share it

  // The row of record `index` (1-based) of `file`.
  static ObjectRow FromRecord(const ObjectTable& table, int file, int index) {
    static_cast<void>(table.Record(file, index));  // refuses a record that is not there
    ObjectRow row;
    row.index = static_cast<std::uint32_t>(index);
    row.file = static_cast<std::uint8_t>(file);
    return row;
  }
};

static_assert(sizeof(ObjectRow) <= 16);

// A row with its texts, as the outputs read it: the record's nine full-width fields back to
// back, and what the view says of it.
struct RowView {
  int file = 1;
  std::string_view record;
  ListView view = ListView::kObjects;
  std::uint8_t status = 0;
  std::uint16_t changed = 0;  // the fields that differ within the row's pair, a bit per Field
  std::uint32_t group = 0;    // rows shown together (a pair) share it

  // "Changed", "Only in #1"; empty in a view without statuses.
  std::string_view StatusText() const { return quillet::StatusText(view, status); }

  std::string_view Cell(Column column) const {
    if (column == Column::kFile) return FileTag(file);
    if (column == Column::kStatus) return StatusText();
    const Field field = FieldOf(column);
    return record.substr(static_cast<std::size_t>(FieldOffset(field)),
                         static_cast<std::size_t>(FieldWidth(field)));
  }
};

}  // namespace quillet
