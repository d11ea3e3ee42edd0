#include "list/object_list.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace quillet {
namespace {

// Windows-1252 letters folded to lower case, so "item" and "Item" sort together.
constexpr std::array<unsigned char, 256> MakeCaseFold() {
  std::array<unsigned char, 256> fold{};
  for (int i = 0; i < 256; ++i) fold[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) fold[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) fold[c] = static_cast<unsigned char>(c + 32);
  }
  fold[0x8A] = 0x9A;  // Š
  fold[0x8C] = 0x9C;  // Œ
  fold[0x8E] = 0x9E;  // Ž
  fold[0x9F] = 0xFF;  // Ÿ
  return fold;
}

constexpr std::array<unsigned char, 256> kCaseFold = MakeCaseFold();

bool FoldedLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = kCaseFold[static_cast<unsigned char>(a[i])];
    const unsigned char y = kCaseFold[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace

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

void ObjectList::SortByColumn(int column, bool ascending) {
  if (column < 1 || column > kColumnCount) throw std::out_of_range("list column out of range");
  ChangeScope scope(*this);
  // Sorting positions and moving each row once is cheaper than moving rows while sorting.
  std::vector<std::uint32_t> order(rows_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::string_view x = rows_[a].Cell(column), y = rows_[b].Cell(column);
    return ascending ? FoldedLess(x, y) : FoldedLess(y, x);
  });
  std::vector<ObjectRow> sorted;
  sorted.reserve(rows_.size());
  for (std::uint32_t i : order) sorted.push_back(rows_[i]);
  rows_.swap(sorted);
}

}  // namespace quillet
