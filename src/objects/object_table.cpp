#include "objects/object_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quillet {

ObjectTable::ObjectTable(int capacity)
    : capacity_(capacity),
      records_(new char[static_cast<std::size_t>(2) * capacity * kRecordWidth]) {
  if (capacity < 0) throw std::invalid_argument("negative object capacity");
  std::memset(records_.get(), ' ', static_cast<std::size_t>(2) * capacity * kRecordWidth);
}

char* ObjectTable::RecordAt(int file, int row) const {
  if (file < 1 || file > 2 || row < 1 || row > capacity_) {
    throw std::out_of_range("object record out of range");
  }
  const std::size_t index = static_cast<std::size_t>(file - 1) * capacity_ + (row - 1);
  return records_.get() + index * kRecordWidth;
}

std::string_view ObjectTable::Read(int file, int row, Field field) const {
  return {RecordAt(file, row) + FieldOffset(field), static_cast<std::size_t>(FieldWidth(field))};
}

std::string_view ObjectTable::Record(int file, int row) const {
  return {RecordAt(file, row), static_cast<std::size_t>(kRecordWidth)};
}

void ObjectTable::Store(int file, int row, Field field, std::string_view value) {
  char* target = RecordAt(file, row) + FieldOffset(field);
  const std::size_t width = FieldWidth(field);
  const std::size_t kept = std::min(width, value.size());
  if (kept > 0) std::memcpy(target, value.data(), kept);
  std::memset(target + kept, ' ', width - kept);
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
