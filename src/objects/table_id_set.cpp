#include "objects/table_id_set.h"

#include <cstdint>

namespace quillet {

TableIdSet::TableIdSet(const ObjectTable& table, int file, long long expected)
    : table_(table), file_(file) {
  Resize(expected);
}

bool TableIdSet::Contains(std::string_view id) const {
  for (std::size_t i = Hash(id);; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == 0) return false;
    if (table_.Read(file_, slots_[i], Field::kId) == id) return true;
  }
}

void TableIdSet::Insert(int row) {
  // At most half full, so a probe ends soon; more lines than announced make it grow.
  if (2 * (size_ + 1) > slots_.size()) Resize(static_cast<long long>(slots_.size()));
  Place(row);
  ++size_;
}

void TableIdSet::Resize(long long entries) {
  std::size_t size = 16;
  while (size < static_cast<std::size_t>(entries) * 2 + 2) size <<= 1;
  std::vector<int> old(size, 0);
  old.swap(slots_);
  for (const int row : old) {
    if (row != 0) Place(row);
  }
}

void TableIdSet::Place(int row) {
  std::size_t i = Hash(table_.Read(file_, row, Field::kId));
  while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = row;
}

std::size_t TableIdSet::Hash(std::string_view id) const {
  std::uint64_t hash = 1469598103934665603ULL;
  for (unsigned char c : id) hash = (hash ^ c) * 1099511628211ULL;
  return static_cast<std::size_t>(hash) & (slots_.size() - 1);
}

}  // namespace quillet
