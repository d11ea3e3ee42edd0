#include "list/object_list.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "list/row_order.h"

namespace quillet {

ObjectList::ChangeScope::ChangeScope(ObjectList& list) : list_(list) {
  if (list_.change_depth_++ == 0 && list_.observer_ != nullptr)
    list_.observer_->ListAboutToChange();
}

ObjectList::ChangeScope::~ChangeScope() {
  if (--list_.change_depth_ == 0 && list_.observer_ != nullptr) list_.observer_->ListChanged();
}

const ObjectRow& ObjectList::Row(int row) const {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row out of range");
  return rows_[row - 1];
}

std::string_view ObjectList::CellText(int row, Column column) const {
  return Row(row).Cell(column);
}

void ObjectList::Append(const ObjectRow& row) {
  ChangeScope scope(*this);
  rows_.push_back(row);
}

void ObjectList::RemoveRow(int row) {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row out of range");
  ChangeScope scope(*this);
  rows_.erase(rows_.begin() + (row - 1));
}

void ObjectList::RemoveRowsOfFile(int file) {
  ChangeScope scope(*this);
  std::erase_if(rows_, [file](const ObjectRow& row) { return row.file == file; });
}

void ObjectList::RemoveAll() {
  ChangeScope scope(*this);
  rows_.clear();
}

void ObjectList::Reserve(int rows) { rows_.reserve(static_cast<std::size_t>(rows)); }

void ObjectList::SortByColumn(Column column, bool ascending) {
  ChangeScope scope(*this);
  // Sorting positions and moving each row once is cheaper than moving rows while sorting.
  std::vector<std::uint32_t> order(rows_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return RowBefore(rows_[a], rows_[b], column, ascending);
  });
  std::vector<ObjectRow> sorted;
  sorted.reserve(rows_.size());
  for (std::uint32_t i : order) sorted.push_back(rows_[i]);
  rows_.swap(sorted);
}

}  // namespace quillet
