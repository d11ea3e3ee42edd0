#include "list/object_list.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "list/row_order.h"

namespace quillet {

ObjectList::ChangeScope::ChangeScope(ObjectList& list) : list_(list) {
  if (list_.change_depth_++ == 0 && list_.observer_ != nullptr) {
    list_.observer_->ListAboutToChange();
  }
}

ObjectList::ChangeScope::~ChangeScope() {
  if (--list_.change_depth_ != 0) return;
  list_.Refilter();
  if (list_.observer_ != nullptr) list_.observer_->ListChanged();
}

std::size_t ObjectList::Position(int row) const {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row out of range");
  const auto shown = static_cast<std::size_t>(row - 1);
  return Filtered() ? shown_[shown] : shown;
}

const ObjectRow& ObjectList::Row(int row) const { return rows_[Position(row)]; }

void ObjectList::Append(const ObjectRow& row) {
  ChangeScope scope(*this);
  rows_.push_back(row);
}

void ObjectList::RemoveRow(int row) {
  const std::size_t position = Position(row);
  ChangeScope scope(*this);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

void ObjectList::RemoveRowsOfFile(int file) {
  ChangeScope scope(*this);
  std::erase_if(rows_, [file](const ObjectRow& row) { return row.file == file; });
}

void ObjectList::RemoveAll() {
  ChangeScope scope(*this);
  rows_.clear();
}

void ObjectList::ClearMarks() {
  ChangeScope scope(*this);
  for (ObjectRow& row : rows_) {
    row.status = 0;
    row.changed = 0;
    row.group = 0;
  }
}

void ObjectList::SetView(ListView view) {
  if (view == view_) return;
  ChangeScope scope(*this);  // the view's columns change with it
  view_ = view;
}

void ObjectList::SetQuery(RowQuery query) {
  ChangeScope scope(*this);
  query_ = std::move(query);
}

void ObjectList::Reserve(std::size_t rows) { rows_.reserve(rows); }

void ObjectList::Refilter() {
  shown_.clear();
  if (!Filtered()) {
    shown_.shrink_to_fit();
    return;
  }
  // A group stays when any of its rows matches, wherever its rows stand.
  std::vector<char> group_matches;
  for (const ObjectRow& row : rows_) {
    if (row.group == 0) continue;
    if (row.group >= group_matches.size()) group_matches.resize(row.group + 1, 0);
    if (!group_matches[row.group] && query_.Matches(QueryRowOf(ViewOf(row)))) {
      group_matches[row.group] = 1;
    }
  }
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const ObjectRow& row = rows_[i];
    const bool keep =
        row.group != 0 ? group_matches[row.group] != 0 : query_.Matches(QueryRowOf(ViewOf(row)));
    if (keep) shown_.push_back(static_cast<std::uint32_t>(i));
  }
}

void ObjectList::SortByColumn(Column column, bool ascending) {
  ChangeScope scope(*this);
  // The cells are looked up once. A unit is a row, or in a view with statuses the rows of one
  // group, which stand together; units with equal texts keep their order.
  struct Unit {
    std::string_view cell;
    std::size_t first;
    std::size_t count;
  };
  std::vector<Unit> units;
  units.reserve(rows_.size());
  const bool grouped = HasStatus(view_);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (grouped && !units.empty() && rows_[i].group != 0 &&
        rows_[i].group == rows_[units.back().first].group) {
      ++units.back().count;
      continue;
    }
    units.push_back({ViewOf(rows_[i]).Cell(column), i, 1});
  }
  std::stable_sort(units.begin(), units.end(), [ascending](const Unit& a, const Unit& b) {
    const int order = CompareCellTexts(a.cell, b.cell);
    return ascending ? order < 0 : order > 0;
  });
  BulkVector<ObjectRow> sorted;
  sorted.reserve(rows_.size());
  for (const Unit& unit : units) {
    sorted.insert(sorted.end(), rows_.begin() + static_cast<std::ptrdiff_t>(unit.first),
                  rows_.begin() + static_cast<std::ptrdiff_t>(unit.first + unit.count));
  }
  rows_.swap(sorted);
}

ListCount CountOf(const ObjectList& list) {
  return {list.RowCount(), list.AllRowCount(), list.Filtered()};
}

}  // namespace quillet
