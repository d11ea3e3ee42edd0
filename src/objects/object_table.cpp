#include "objects/object_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quillet {

namespace {

std::size_t TableBytes(int capacity) {
  if (capacity < 0) throw std::invalid_argument("negative object capacity");
  return static_cast<std::size_t>(2) * capacity * kRecordWidth;
}

}  // namespace

ObjectTable::ObjectTable(int capacity)
    : capacity_(capacity), records_(new char[TableBytes(capacity)]) {
  std::memset(records_.get(), ' ', TableBytes(capacity));
}

int ObjectTable::Count(int file) const {
  if (file < 1 || file > 2) throw std::out_of_range("file number out of range");
  return counts_[file - 1];
}

void ObjectTable::SetCount(int file, int count) {
  if (file < 1 || file > 2) throw std::out_of_range("file number out of range");
  counts_[file - 1] = std::clamp(count, 0, capacity_);
}

}  // namespace quillet
