#include "objects/object_table.h"

namespace quillet {

ObjectTable::ObjectTable(int capacity) : capacity_(capacity) {
  if (capacity < 0) throw std::invalid_argument("negative object capacity");
}

void ObjectTable::Reserve(int file, int rows) {
  BulkBytes& area = areas_[CheckedFile(file)];
  const auto bytes = static_cast<std::size_t>(std::clamp(rows, 0, capacity_)) * kRecordWidth;
  // New records start blank, as a table's records always have.
  area.Grow(bytes, ' ');
}

void ObjectTable::SetCount(int file, int count) {
  counts_[CheckedFile(file)] = std::clamp(count, 0, Rows(file));
}

}  // namespace quillet
