#include "view/shown_rows.h"

#include <array>

#include "list/changed_fields.h"

namespace quillet {
namespace {

constexpr FieldMask kAllFields = (1u << kFieldCount) - 1;

}  // namespace

void ShownRows::Rebuild(const ObjectList& list) {
  entries_.clear();
  one_for_one_ = list.view() != ListView::kUpgrade;
  if (one_for_one_) {
    entries_.shrink_to_fit();
    return;
  }
  entries_.reserve(static_cast<std::size_t>(list.RowCount()));
  int row = 1;
  while (row <= list.RowCount()) {
    // One triple: its rows stand together, whatever the sort, and a filter keeps them whole.
    std::array<int, 3> by_file{};  // the triple's rows by file number; 0: none
    const std::uint32_t group = list.Row(row).group;
    int next = row;
    do {
      by_file[list.Row(next).file] = next;
      ++next;
    } while (next <= list.RowCount() && group != 0 && list.Row(next).group == group);

    const int base = by_file[kBaseFile];
    for (int file = 0; file < 3; ++file) {
      const int at = by_file[static_cast<std::size_t>(file)];
      if (at == 0) {
        if (file != kBaseFile && base != 0) entries_.push_back({base, file, 0});
        continue;
      }
      const ObjectRow& shown = list.Row(at);
      FieldMask marks = 0;
      if (file != kBaseFile) {
        const int other = base != 0 ? base : by_file[static_cast<std::size_t>(3 - file)];
        if (other != 0) {
          marks = shown.changed &
                  DifferingFields(list.View(at).record, list.View(other).record, kAllFields);
        }
      }
      entries_.push_back({at, 0, static_cast<std::uint16_t>(marks)});
    }
    row = next;
  }
}

ShownRows::Entry ShownRows::At(const ObjectList& list, int shown) const {
  if (!one_for_one_) return entries_.at(static_cast<std::size_t>(shown));
  return {shown + 1, 0, list.Row(shown + 1).changed};
}

}  // namespace quillet
