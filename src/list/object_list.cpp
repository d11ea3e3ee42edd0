#include "list/object_list.h"

#include <stdexcept>

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

std::string_view ObjectList::CellText(int row, int column) const {
  if (column < 1 || column > kColumnCount) throw std::out_of_range("list column out of range");
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

}  // namespace quillet
