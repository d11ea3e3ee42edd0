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

void ObjectList::SetView(ListView view) {
  if (view == view_) return;
  ChangeScope scope(*this);  // the view's columns change with it
  view_ = view;
}

void ObjectList::Reserve(std::size_t rows) { rows_.reserve(rows); }

void ObjectList::SortByColumn(Column column, bool ascending) {
  ChangeScope scope(*this);
  // The cells are looked up once; equal texts keep their rows' order.
  struct Keyed {
    std::string_view cell;
    ObjectRow row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(rows_.size());
  for (const ObjectRow& row : rows_) keyed.push_back({ViewOf(row).Cell(column), row});
  std::stable_sort(keyed.begin(), keyed.end(), [ascending](const Keyed& a, const Keyed& b) {
    const int order = CompareCellTexts(a.cell, b.cell);
    return ascending ? order < 0 : order > 0;
  });
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = keyed[i].row;
}

}  // namespace quillet
