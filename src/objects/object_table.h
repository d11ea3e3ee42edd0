#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/bulk_memory.h"

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

// The files the window holds: file #1 and file #2, and the base of an upgrade analysis, which
// is numbered 0 wherever a row says which file it came from. A comparison across many files
// takes more areas: the table makes them when a file is first stored there.
inline constexpr int kBaseFile = 0;
inline constexpr int kFileCount = 3;

// The most objects a file may hold: as many as memory allows, unless the build sets a limit
// (the fuzzer's build does, so that it reaches it).
#ifdef QUILLET_OBJECT_CAPACITY
inline constexpr int kObjectCapacity = QUILLET_OBJECT_CAPACITY;
#else
inline constexpr int kObjectCapacity = std::numeric_limits<int>::max() / 2;
#endif

// The objects of the files. Each file's area holds fixed-width records written in place; it is
// sized by the reader to the file's object count before the records are read, so a load
// allocates nothing per object. An area only grows: records past a file's count may still hold
// an earlier file's objects, which nothing reads.
class ObjectTable {
 public:
  explicit ObjectTable(int capacity = kObjectCapacity);

  // The most objects a file may hold.
  int Capacity() const { return capacity_; }
  // Room for `rows` records in area `file`, the records there kept; an area not made yet is
  // made, and those below it too. Throws std::bad_alloc when memory runs out, and never grows
  // past the capacity.
  void Reserve(int file, int rows);
  // Areas made so far: kFileCount at first, more once a file is stored beyond them.
  int Areas() const { return kFileCount + static_cast<int>(more_.size()); }
  // Records area `file` has room for.
  int Rows(int file) const { return static_cast<int>(Area(file).size() / kRecordWidth); }

  // Full-width text of a field, filling blanks included. row is 1..Rows(file).
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
  // Record `row` cleared, for the reader to copy each field's text into its place, at most the
  // field's width of it: a line is stored without a check per field.
  char* ClearedRecord(int file, int row) {
    char* record = RecordAt(file, row);
    std::memset(record, ' ', kRecordWidth);
    return record;
  }

  int Count(int file) const {
    return IsWindowFile(file) ? counts_[static_cast<std::size_t>(file)] : More(file).count;
  }
  // At most the records the area has room for; an area not made yet is made, empty.
  void SetCount(int file, int count);

 private:
  // The areas past the window's three, made as files are stored there.
  struct MoreArea {
    BulkBytes bytes;
    int count = 0;
  };

  static bool IsWindowFile(int file) { return static_cast<unsigned>(file) < kFileCount; }
  // An area that was never made is out of range, as a record outside an area is.
  const MoreArea& More(int file) const;
  // The area of `file`, made with those below it where they are not there yet.
  BulkBytes& MadeArea(int file);
  // The window's areas are reached as directly as when they were the only ones.
  const BulkBytes& Area(int file) const {
    return IsWindowFile(file) ? areas_[static_cast<std::size_t>(file)] : More(file).bytes;
  }
  // Every access goes through here: the table never reads or writes outside its areas.
  static std::size_t Offset(const BulkBytes& area, int row) {
    if (row < 1 || static_cast<std::size_t>(row) * kRecordWidth > area.size()) {
      throw std::out_of_range("object record out of range");
    }
    return static_cast<std::size_t>(row - 1) * kRecordWidth;
  }
  const char* RecordAt(int file, int row) const {
    const BulkBytes& area = Area(file);
    return area.data() + Offset(area, row);
  }
  char* RecordAt(int file, int row) {
    // The same area as the const one finds; only the access differs.
    BulkBytes& area = const_cast<BulkBytes&>(Area(file));
    return area.data() + Offset(area, row);
  }

  int capacity_;
  std::array<BulkBytes, kFileCount> areas_;
  std::array<int, kFileCount> counts_{0, 0, 0};
  // A record's bytes stay where they are when areas are added: each area is its own block.
  std::vector<MoreArea> more_;
};

}  // namespace quillet
