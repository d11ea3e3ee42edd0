#include "list/object_list.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "list/row_order.h"

namespace quillet {

std::optional<BulkVector<std::uint32_t>> MatchingPositions(const ObjectTable& table, ListView view,
                                                           std::span<const ObjectRow> rows,
                                                           const RowQuery& query,
                                                           std::stop_token stop) {
  const auto matches = [&](const ObjectRow& row) {
    return query.Matches(QueryRowOf(RowViewOf(table, view, row)));
  };
  // A group stays when any of its rows matches, wherever its rows stand. A long filter may
  // cost a millisecond a row, so a stop is looked for at every row.
  std::vector<char> group_matches;
  for (const ObjectRow& row : rows) {
    if (stop.stop_requested()) return std::nullopt;
    if (row.group == 0) continue;
    if (row.group >= group_matches.size()) group_matches.resize(row.group + 1, 0);
    if (!group_matches[row.group] && matches(row)) group_matches[row.group] = 1;
  }
  BulkVector<std::uint32_t> shown;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (stop.stop_requested()) return std::nullopt;
    const ObjectRow& row = rows[i];
    const bool keep = row.group != 0 ? group_matches[row.group] != 0 : matches(row);
    if (keep) shown.push_back(static_cast<std::uint32_t>(i));
  }
  return shown;
}

ObjectList::ChangeScope::ChangeScope(ObjectList& list, Change change) : list_(list) {
  if (change == Change::kRows && !list_.reader_stopped_ && list_.reader_ != nullptr) {
    list_.reader_->RowsChanging();
    list_.reader_stopped_ = true;
  }
  if (list_.change_depth_++ == 0 && list_.observer_ != nullptr) {
    list_.observer_->ListAboutToChange();
  }
}

ObjectList::ChangeScope::~ChangeScope() {
  if (--list_.change_depth_ != 0) return;
  if (list_.refilter_) list_.Refilter();
  if (list_.observer_ != nullptr) list_.observer_->ListChanged();
  if (list_.reader_stopped_) {
    list_.reader_stopped_ = false;
    if (list_.reader_ != nullptr) list_.reader_->RowsChanged();
  }
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
  refilter_ = true;
}

void ObjectList::RemoveRow(int row) {
  const std::size_t position = Position(row);
  ChangeScope scope(*this);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
  refilter_ = true;
}

void ObjectList::RemoveRowsOfFile(int file) {
  ChangeScope scope(*this);
  std::erase_if(rows_, [file](const ObjectRow& row) { return row.file == file; });
  refilter_ = true;
}

void ObjectList::RemoveAll() {
  ChangeScope scope(*this);
  rows_.clear();
  refilter_ = true;
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
  refilter_ = true;
}

void ObjectList::SetQuery(RowQuery query) {
  ChangeScope scope(*this, Change::kShown);
  query_ = std::move(query);
  refilter_ = true;
}

void ObjectList::SetQuery(RowQuery query, BulkVector<std::uint32_t> shown) {
  ChangeScope scope(*this, Change::kShown);
  query_ = std::move(query);
  // Positions that are not those of rows now (rows changed since) are found again instead.
  std::uint32_t next = 0;
  for (const std::uint32_t position : shown) {
    if (position < next || position >= rows_.size()) {
      refilter_ = true;
      return;
    }
    next = position + 1;
  }
  if (refilter_) return;  // rows changed in this change: they are filtered at its end
  shown_ = Filtered() ? std::move(shown) : BulkVector<std::uint32_t>();
}

void ObjectList::Reserve(std::size_t rows) { rows_.reserve(rows); }

void ObjectList::Refilter() {
  refilter_ = false;
  if (!Filtered()) {
    shown_ = {};
    return;
  }
  shown_ = *MatchingPositions(table_, view_, rows_, query_);
}

void ObjectList::SortByColumn(Column column, bool ascending) {
  ChangeScope scope(*this);
  // A unit is a row, or in a view with statuses the rows of one group, which stand together;
  // units with equal texts keep their order.
  const bool grouped = HasStatus(view_);
  BulkVector<std::uint32_t> starts;  // grouped: where each unit starts
  if (grouped) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (starts.empty() || rows_[i].group == 0 || rows_[i].group != rows_[starts.back()].group) {
        starts.push_back(static_cast<std::uint32_t>(i));
      }
    }
  }
  const auto units = static_cast<std::uint32_t>(grouped ? starts.size() : rows_.size());
  BulkVector<std::uint32_t> order;
  {
    // Where each cell is; finding it reads no record.
    BulkVector<std::string_view> cells(units);
    for (std::uint32_t unit = 0; unit < units; ++unit) {
      cells[unit] = ViewOf(rows_[grouped ? starts[unit] : unit]).Cell(column);
    }
    order = SortedOrder(cells, ascending);
  }
  if (grouped) {
    BulkVector<std::uint32_t> moved;
    moved.reserve(rows_.size());
    for (const std::uint32_t unit : order) {
      const std::uint32_t end =
          unit + 1 < units ? starts[unit + 1] : static_cast<std::uint32_t>(rows_.size());
      for (std::uint32_t row = starts[unit]; row < end; ++row) moved.push_back(row);
    }
    order.swap(moved);
  }
  Reorder(order);
}

void ObjectList::Reorder(const BulkVector<std::uint32_t>& moved) {
  BulkVector<ObjectRow> reordered;
  reordered.reserve(rows_.size());
  for (const std::uint32_t from : moved) reordered.push_back(rows_[from]);
  // A filter leaves the rows it left, wherever they are now.
  if (Filtered() && !refilter_) {
    BulkVector<std::uint8_t> kept(rows_.size());
    for (const std::uint32_t position : shown_) kept[position] = 1;
    BulkVector<std::uint32_t> shown;
    shown.reserve(shown_.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
      if (kept[moved[i]] != 0) shown.push_back(static_cast<std::uint32_t>(i));
    }
    shown_.swap(shown);
  }
  rows_.swap(reordered);
}

ListCount CountOf(const ObjectList& list) {
  return {list.RowCount(), list.AllRowCount(), list.Filtered()};
}

}  // namespace quillet
