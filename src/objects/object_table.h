#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace quillet {

// The nine fields of an object record, in column order.
enum class Field { kType, kId, kName, kModified, kVersion, kDate, kTime, kBlobSize, kCompiled };

inline constexpr int kFieldCount = 9;
inline constexpr std::array<int, kFieldCount> kFieldWidths = {9, 10, 30, 1, 60, 10, 11, 10, 1};

constexpr int FieldWidth(Field field) { return kFieldWidths[static_cast<int>(field)]; }

constexpr int FieldOffset(Field field) {
  int offset = 0;
  for (int i = 0; i < static_cast<int>(field); ++i) offset += kFieldWidths[i];
  return offset;
}

// A record is its nine fields back to back, each at full width.
inline constexpr int kRecordWidth = FieldOffset(Field::kCompiled) + FieldWidth(Field::kCompiled);

#ifdef QUILLET_OBJECT_CAPACITY
inline constexpr int kObjectCapacity = QUILLET_OBJECT_CAPACITY;
#else
inline constexpr int kObjectCapacity = 20000;
#endif

// The objects of file #1 and file #2. Both areas are allocated once, at full capacity, and
// records are written in place: a load allocates nothing per object.
class ObjectTable {
 public:
  explicit ObjectTable(int capacity = kObjectCapacity);

  int Capacity() const { return capacity_; }

  // Full-width text of a field, filling blanks included. file is 1 or 2, row 1..Capacity().
  std::string_view Read(int file, int row, Field field) const {
    return {RecordAt(file, row) + FieldOffset(field), static_cast<std::size_t>(FieldWidth(field))};
  }
  // The whole record: the nine fields back to back, kRecordWidth characters.
  std::string_view Record(int file, int row) const {
    return {RecordAt(file, row), static_cast<std::size_t>(kRecordWidth)};
  }

  // A longer value keeps its first characters; a shorter one is filled with blanks.
  void Store(int file, int row, Field field, std::string_view value) {
    char* target = RecordAt(file, row) + FieldOffset(field);
    const std::size_t width = FieldWidth(field);
    const std::size_t kept = std::min(width, value.size());
    if (kept > 0) std::memcpy(target, value.data(), kept);
    std::memset(target + kept, ' ', width - kept);
  }

  // Every field empty, as blanks.
  void Clear(int file, int row) { std::memset(RecordAt(file, row), ' ', kRecordWidth); }

  int Count(int file) const;
  void SetCount(int file, int count);

 private:
  // Every access goes through here: the table never reads or writes outside its areas.
  char* RecordAt(int file, int row) const {
    if (file < 1 || file > 2 || row < 1 || row > capacity_) {
      throw std::out_of_range("object record out of range");
    }
    const std::size_t index = static_cast<std::size_t>(file - 1) * capacity_ + (row - 1);
    return records_.get() + index * kRecordWidth;
  }

  int capacity_;
  std::unique_ptr<char[]> records_;
  std::array<int, 2> counts_{0, 0};
};

}  // namespace quillet
