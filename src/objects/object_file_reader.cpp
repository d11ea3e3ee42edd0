#include "objects/object_file_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "objects/code_page.h"
#include "objects/date_time_format.h"
#include "objects/file_kinds.h"
#include "objects/object_types.h"
#include "objects/progress_ticker.h"
#include "objects/text.h"

namespace quillet {
namespace {

constexpr char kEndOfHeader = 0x1A;
constexpr std::size_t kBlockSize = std::size_t{64} * 1024;

// What the reader does with the bytes of a field before storing them.
enum class Apply {
  kAsIs,         // ID and BLOB size keep their blanks
  kTrim,         // the type: blanks removed at both ends
  kTrimConvert,  // name and version: blanks removed, then the code page's letters converted
  kDate,         // through FormatObjectDate
  kTime,         // through FormatObjectTime
};

struct FieldSlot {
  std::size_t offset;  // from the start of the line
  std::size_t width;
  Field field;
  Apply apply;
};

// A line layout: where each field stands. Fields a layout does not name are stored empty.
struct LineLayout {
  std::size_t width;   // with the line end
  std::size_t needed;  // up to the end of the last field: a shorter rest is a line cut short
  std::array<FieldSlot, 7> slots;
  std::size_t slot_count;
};

// Every type but TableData.
constexpr LineLayout kLayoutA = {161,
                                 159,
                                 {{{0, 9, Field::kType, Apply::kTrim},
                                   {10, 10, Field::kId, Apply::kAsIs},
                                   {21, 30, Field::kName, Apply::kTrimConvert},
                                   {53, 10, Field::kDate, Apply::kDate},
                                   {68, 11, Field::kTime, Apply::kTime},
                                   {91, 10, Field::kBlobSize, Apply::kAsIs},
                                   {102, 57, Field::kVersion, Apply::kTrimConvert}}},
                                 7};

// TableData: no date and no time.
constexpr LineLayout kLayoutB = {108,
                                 105,
                                 {{{0, 9, Field::kType, Apply::kTrim},
                                   {10, 10, Field::kId, Apply::kAsIs},
                                   {21, 30, Field::kName, Apply::kTrimConvert},
                                   {64, 10, Field::kBlobSize, Apply::kAsIs},
                                   {75, 30, Field::kVersion, Apply::kTrimConvert}}},
                                 5};

// Type, number and name stand alike in both layouts; the type then picks the layout.
constexpr std::size_t kCommonWidth = 52;

// A CR LF and the longest type name with its blank.
constexpr std::size_t kLongestLineStart = 2 + 10;

bool StartsWithTypeName(const char* text, std::size_t available) {
  for (std::string_view name : kTypeNames) {
    if (available > name.size() && text[0] == name[0] &&
        std::memcmp(text, name.data(), name.size()) == 0 && text[name.size()] == ' ') {
      return true;
    }
  }
  return false;
}

struct HeaderScan {
  bool found = false;  // a 0x1A was met
  long long lines = 0;
};

// One pass over the file's bytes up to the block holding the first 0x1A: it finds the end of
// the header and counts the object lines in it (the first line, and every CR LF followed by a
// type name and a blank). No pattern can span the 0x1A, so counting in the same pass gives the
// count of the header alone.
HeaderScan ScanHeader(ByteSource& source, char* buffer) {
  HeaderScan scan;
  std::size_t carry = 0;
  bool first_block = true;
  for (;;) {
    const std::size_t read = source.Read(buffer + carry, kBlockSize);
    if (read == 0) return {};  // the end came without a 0x1A: there is no header
    char* data = buffer;
    const std::size_t length = carry + read;
    const auto* end_mark = static_cast<const char*>(std::memchr(data + carry, kEndOfHeader, read));
    const std::size_t limit = end_mark != nullptr ? end_mark - data + 1 : length;
    if (first_block) {
      if (StartsWithTypeName(data, limit)) scan.lines = 1;
      first_block = false;
    }
    std::size_t position = 0;
    std::size_t keep_from = length;
    while (position < limit) {
      const auto* cr =
          static_cast<const char*>(std::memchr(data + position, '\r', limit - position));
      if (cr == nullptr) break;
      position = cr - data;
      if (end_mark == nullptr && position + kLongestLineStart > length) {
        keep_from = position;  // the line start may go on in the next block
        break;
      }
      if (position + 1 < limit && data[position + 1] == '\n' &&
          StartsWithTypeName(data + position + 2, limit - position - 2)) {
        ++scan.lines;
      }
      ++position;
    }
    if (end_mark != nullptr) {
      scan.found = true;
      return scan;
    }
    carry = length - keep_from;
    std::memmove(data, data + keep_from, carry);
  }
}

// Hands out the file's bytes from the start, a few at a time, through a large window.
class ByteCursor {
 public:
  ByteCursor(ByteSource& source, char* buffer) : source_(source), buffer_(buffer) {}

  // Makes up to n bytes contiguous at Data(); gives how many there are (fewer at the end).
  std::size_t Ensure(std::size_t n) {
    if (end_ - begin_ < n && !exhausted_) {
      std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
      while (end_ < kBlockSize) {
        const std::size_t read = source_.Read(buffer_ + end_, kBlockSize - end_);
        if (read == 0) {
          exhausted_ = true;
          break;
        }
        end_ += read;
      }
    }
    return std::min(n, end_ - begin_);
  }
  const char* Data() const { return buffer_ + begin_; }
  void Skip(std::size_t n) { begin_ += std::min(n, end_ - begin_); }

 private:
  ByteSource& source_;
  char* buffer_;  // kBlockSize bytes
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
};

// The kept Table objects of a backup file by their ID text, so a repeated Table line is found
// in constant time. Open addressing over row numbers; the IDs stay in the table.
class TableIdSet {
 public:
  TableIdSet(const ObjectTable& table, int file, long long expected) : table_(table), file_(file) {
    Resize(expected);
  }

  bool Contains(std::string_view id) const {
    for (std::size_t i = Hash(id);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i] == 0) return false;
      if (table_.Read(file_, slots_[i], Field::kId) == id) return true;
    }
  }

  void Insert(int row) {
    // At most half full, so a probe ends soon; more lines than announced make it grow.
    if (2 * (size_ + 1) > slots_.size()) Resize(static_cast<long long>(slots_.size()));
    Place(row);
    ++size_;
  }

 private:
  void Resize(long long entries) {
    std::size_t size = 16;
    while (size < static_cast<std::size_t>(entries) * 2 + 2) size <<= 1;
    std::vector<int> old(size, 0);
    old.swap(slots_);
    for (const int row : old) {
      if (row != 0) Place(row);
    }
  }
  void Place(int row) {
    std::size_t i = Hash(table_.Read(file_, row, Field::kId));
    while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = row;
  }
  std::size_t Hash(std::string_view id) const {
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : id) hash = (hash ^ c) * 1099511628211ULL;
    return static_cast<std::size_t>(hash) & (slots_.size() - 1);
  }

  const ObjectTable& table_;
  int file_;
  std::vector<int> slots_;
  std::size_t size_ = 0;
};

std::string_view Bytes(const char* line, const FieldSlot& slot) {
  return {line + slot.offset, slot.width};
}

// Stores the fields of one line into record `row`, without allocating.
void StoreLine(ObjectTable& table, int file, int row, const char* line, const LineLayout& layout) {
  char* record = table.ClearedRecord(file, row);
  for (std::size_t s = 0; s < layout.slot_count; ++s) {
    const FieldSlot& slot = layout.slots[s];
    const std::string_view bytes = Bytes(line, slot);
    char text[64];  // room for a converted name or version, a formatted date or time
    std::string_view value;
    switch (slot.apply) {
      case Apply::kAsIs:
        value = bytes;
        break;
      case Apply::kTrim:
        value = TrimBlanks(bytes);
        break;
      case Apply::kTrimConvert: {
        const std::string_view trimmed = TrimBlanks(bytes);
        ConvertUmlautsInto(trimmed, text);
        value = {text, trimmed.size()};
        break;
      }
      case Apply::kDate:
        value = {text, FormatObjectDateInto(bytes, text)};
        break;
      case Apply::kTime:
        value = {text, FormatObjectTimeInto(bytes, text)};
        break;
    }
    // A longer value keeps its first characters; the blanks after a shorter one are there.
    if (!value.empty()) {
      std::memcpy(record + FieldOffset(slot.field), value.data(),
                  std::min<std::size_t>(value.size(), FieldWidth(slot.field)));
    }
  }
}

static_assert(FormattedRoom(std::string_view("12345678901")) <= 64);

}  // namespace

bool IsBackupFileName(const std::filesystem::path& file_name) {
  return FileKindOf(file_name) == &kBackupFileKind;
}

LoadResult ReadObjectDirectory(ObjectTable& table, ByteSource& source, int file, bool backup,
                               StatusSink& status) {
  LoadResult result;
  // A read error anywhere leaves the file without objects.
  const auto unreadable = [&] {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = source.ErrorText();
    return result;
  };
  // One block for both passes. Not value-initialised: every byte is written by a read before it
  // is looked at.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlockSize + kLongestLineStart);
  const HeaderScan scan = ScanHeader(source, buffer.get());
  if (source.Failed()) return unreadable();
  result.lines = scan.found ? scan.lines : 0;
  if (result.lines == 0) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kNoObjects;
    return result;
  }

  status.Begin(Phase::kLoading, file);
  if (!source.Rewind()) return unreadable();
  // The area takes the announced objects; lines of unknown types may add a few more.
  const auto room = [&](long long rows) {
    try {
      table.Reserve(file, static_cast<int>(std::min<long long>(rows, table.Capacity())));
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  };
  const auto out_of_memory = [&] {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = "there is not enough memory for its " + DecimalText(result.lines) + " objects";
    return result;
  };
  if (!room(result.lines)) return out_of_memory();

  ByteCursor cursor(source, buffer.get());
  std::optional<TableIdSet> kept_tables;
  if (backup) kept_tables.emplace(table, file, result.lines);
  ProgressTicker ticker(result.lines);
  int kept = 0;
  long long lines_read = 0;
  bool after_line_end = true;  // the file's first byte starts a line
  auto report = [&] { status.Advance({Phase::kLoading, file, kept, result.lines}); };

  // Lines are not found by their line ends: each is read at its layout's width from where the
  // last one ended, until as many lines are read as the header announces. A line of a type the
  // count does not know (one that starts after a line end, but not with a type name and a
  // blank) is kept without being counted, so it costs no announced object its place. Anything
  // else counts, so a directory whose lines have slipped still ends after its count.
  while (lines_read < result.lines) {
    const std::size_t available = cursor.Ensure(kLayoutA.width);
    const char* line = cursor.Data();
    if (available < kCommonWidth) {
      result.cut_short = true;
      break;
    }
    const std::string_view type = TrimBlanks(Bytes(line, kLayoutA.slots[0]));
    const LineLayout& layout = type == kTypeNames[kTableDataType] ? kLayoutB : kLayoutA;
    if (available < layout.needed) {
      result.cut_short = true;
      break;
    }
    const bool table_type = backup && type == kTypeNames[kTableType];
    if (!table_type || !kept_tables->Contains(Bytes(line, kLayoutA.slots[1]))) {
      if (kept == table.Capacity()) {
        result.capacity_reached = true;
        break;
      }
      if (kept == table.Rows(file) && !room(2LL * kept + 16)) return out_of_memory();
      StoreLine(table, file, ++kept, line, layout);
      if (table_type) kept_tables->Insert(kept);
    }
    const bool uncounted_type = after_line_end && !StartsWithTypeName(line, available);
    if (!uncounted_type) ++lines_read;
    // The last line may lack its line end.
    after_line_end = available >= layout.width && line[layout.width - 2] == '\r' &&
                     line[layout.width - 1] == '\n';
    cursor.Skip(layout.width);
    if (ticker.Due(lines_read)) report();
  }
  report();

  if (source.Failed()) return unreadable();
  table.SetCount(file, kept);
  result.objects = kept;
  result.status = kept > 0 ? LoadStatus::kLoaded : LoadStatus::kNoObjects;
  status.Begin(Phase::kLoaded, file);
  return result;
}

}  // namespace quillet
