#include "objects/object_table.h"

namespace quillet {

ObjectTable::ObjectTable(int capacity)
    : capacity_(capacity), areas_(kFileCount), counts_(kFileCount, 0) {
  if (capacity < 0) throw std::invalid_argument("negative object capacity");
}

std::size_t ObjectTable::MadeFile(int file) {
  if (file < 0) throw std::out_of_range("file number out of range");
  const auto areas = static_cast<std::size_t>(file) + 1;
  if (areas > areas_.size()) {
    counts_.reserve(areas);  // so that neither grows without the other
    areas_.resize(areas);
    counts_.resize(areas, 0);
  }
  return static_cast<std::size_t>(file);
}

void ObjectTable::Reserve(int file, int rows) {
  BulkBytes& area = areas_[MadeFile(file)];
  const auto bytes = static_cast<std::size_t>(std::clamp(rows, 0, capacity_)) * kRecordWidth;
  // New records start blank, as a table's records always have.
  area.Grow(bytes, ' ');
}

void ObjectTable::SetCount(int file, int count) {
  const std::size_t area = MadeFile(file);
  counts_[area] = std::clamp(count, 0, Rows(file));
}

}  // namespace quillet
