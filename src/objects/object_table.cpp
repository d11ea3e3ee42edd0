#include "objects/object_table.h"

namespace quillet {

ObjectTable::ObjectTable(int capacity) : capacity_(capacity) {
  if (capacity < 0) throw std::invalid_argument("negative object capacity");
}

const ObjectTable::MoreArea& ObjectTable::More(int file) const {
  if (file < kFileCount || static_cast<std::size_t>(file - kFileCount) >= more_.size()) {
    throw std::out_of_range("file number out of range");
  }
  return more_[static_cast<std::size_t>(file - kFileCount)];
}

BulkBytes& ObjectTable::MadeArea(int file) {
  if (file < 0) throw std::out_of_range("file number out of range");
  if (IsWindowFile(file)) return areas_[static_cast<std::size_t>(file)];
  const auto more = static_cast<std::size_t>(file - kFileCount) + 1;
  if (more > more_.size()) more_.resize(more);
  return more_[more - 1].bytes;
}

void ObjectTable::Reserve(int file, int rows) {
  BulkBytes& area = MadeArea(file);
  const auto bytes = static_cast<std::size_t>(std::clamp(rows, 0, capacity_)) * kRecordWidth;
  // New records start blank, as a table's records always have.
  area.Grow(bytes, ' ');
}

void ObjectTable::SetCount(int file, int count) {
  const BulkBytes& area = MadeArea(file);
  const int counted = std::clamp(count, 0, static_cast<int>(area.size() / kRecordWidth));
  if (IsWindowFile(file)) {
    counts_[static_cast<std::size_t>(file)] = counted;
  } else {
    more_[static_cast<std::size_t>(file - kFileCount)].count = counted;
  }
}

}  // namespace quillet
