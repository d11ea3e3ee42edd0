#include "objects/object_file_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "objects/code_page.h"
#include "objects/date_time_format.h"
#include "objects/file_kinds.h"
#include "objects/header_scan.h"
#include "objects/object_types.h"
#include "objects/progress_ticker.h"
#include "objects/table_id_set.h"
#include "objects/text.h"

namespace quillet {
namespace {

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

// Whether the type field of a line, blanks removed, is Table; `type` is TypeAtLineStart's.
bool IsTableField(const char* line, int type) {
  if (type == kTableType) return line[6] == ' ' && line[7] == ' ' && line[8] == ' ';
  return type < 0 && TrimBlanks({line, 9}) == kTypeNames[kTableType];
}

constexpr std::size_t kFormattedRoom = 24;

// Whether none of the first N bytes has its high bit set, that is, the code page leaves them.
template <std::size_t N>
bool IsAscii(const char* bytes) {
  std::uint64_t any = 0;
  for (std::size_t i = 0; i + 8 <= N; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    any |= word;
  }
  for (std::size_t i = N / 8 * 8; i < N; ++i) any |= static_cast<unsigned char>(bytes[i]);
  return (any & 0x8080808080808080ULL) == 0;
}

// One field of a line into its place in the record. The slot is a template argument, so its
// offsets and widths are constants and the usual copies are a few moves, not calls.
template <FieldSlot kSlot>
void StoreField(char* record, const char* line) {
  const char* bytes = line + kSlot.offset;
  char* target = record + FieldOffset(kSlot.field);
  if constexpr (kSlot.apply == Apply::kAsIs) {
    std::memcpy(target, bytes, kSlot.width);
  } else if constexpr (kSlot.apply == Apply::kTrim || kSlot.apply == Apply::kTrimConvert) {
    // Blanks removed at both ends and the rest filled with blanks: the bytes from the first that
    // is not a blank, as trailing blanks stay blanks. Never wider than the field.
    if (bytes[0] != ' ' && (kSlot.apply == Apply::kTrim || IsAscii<kSlot.width>(bytes))) {
      std::memcpy(target, bytes, kSlot.width);
      return;
    }
    std::size_t lead = 0;
    while (lead < kSlot.width && bytes[lead] == ' ') ++lead;
    if constexpr (kSlot.apply == Apply::kTrim) {
      std::memcpy(target, bytes + lead, kSlot.width - lead);
    } else {
      ConvertUmlautsInto({bytes + lead, kSlot.width - lead}, target);
    }
  } else {
    // Formatted over blanks, so the whole field's width is copied: a longer value keeps its
    // first characters, a shorter one is filled with blanks.
    char text[kFormattedRoom];
    std::memset(text, ' ', sizeof text);
    const std::string_view field(bytes, kSlot.width);
    if constexpr (kSlot.apply == Apply::kDate) {
      FormatObjectDateInto(field, text);
    } else {
      FormatObjectTimeInto(field, text);
    }
    std::memcpy(target, text, FieldWidth(kSlot.field));
  }
}

// Stores the fields of one line into record `row`, without allocating: each field of the
// layout by StoreField.
template <const LineLayout& kLayout>
void StoreLine(ObjectTable& table, int file, int row, const char* line) {
  char* record = table.ClearedRecord(file, row);
  [&]<std::size_t... kSlots>(std::index_sequence<kSlots...>) {
    (StoreField<kLayout.slots[kSlots]>(record, line), ...);
  }
  (std::make_index_sequence<kLayout.slot_count>());
}

constexpr char kLongestField[64] = {};

// A line's field is copied into its record field whole: the field is at least as wide, and a
// formatted date or time fits the buffer StoreLine gives it.
constexpr bool FitsItsFields(const LineLayout& layout) {
  for (std::size_t s = 0; s < layout.slot_count; ++s) {
    const FieldSlot& slot = layout.slots[s];
    const bool formatted = slot.apply == Apply::kDate || slot.apply == Apply::kTime;
    if (formatted ? FormattedRoom({kLongestField, slot.width}) > kFormattedRoom ||
                        static_cast<std::size_t>(FieldWidth(slot.field)) > kFormattedRoom
                  : slot.width > static_cast<std::size_t>(FieldWidth(slot.field))) {
      return false;
    }
    if (slot.offset + slot.width > layout.needed) return false;
  }
  return true;
}
static_assert(FitsItsFields(kLayoutA) && FitsItsFields(kLayoutB));

}  // namespace

bool IsBackupFileName(const std::filesystem::path& file_name) {
  return FileKindOf(file_name) == &kBackupFileKind;
}

LoadResult ReadObjectDirectory(ObjectTable& table, ByteSource& source, int file, bool backup,
                               StatusSink& status) {
  LoadResult result;
  // A read error anywhere leaves the file without objects.
  const auto unreadable = [&](Status why) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.read = std::move(why);
    return result;
  };
  // One block for both passes. Not value-initialised: every byte is written by a read before it
  // is looked at.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kReadBlockSize);
  const HeaderScan scan = ScanHeader(source, buffer.get());
  if (Status read = source.ReadStatus(); !read) return unreadable(std::move(read));
  result.lines = scan.found ? scan.lines : 0;
  if (result.lines == 0) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kNoObjects;
    // An empty file, or one that is only the end mark, is an empty directory; anything else
    // without a line of the directory is some other kind of file.
    result.no_directory = scan.bytes > 0 && !(scan.found && scan.end == 0);
    return result;
  }

  status.Begin(Phase::kLoading, file);
  // A header within the first block is in the buffer still; a longer one is read again.
  if (scan.held == 0) {
    if (Status rewound = source.Rewind(); !rewound) return unreadable(std::move(rewound));
  }
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
    return unreadable(
        Fail("there is not enough memory for its " + DecimalText(result.lines) + " objects"));
  };
  if (!room(result.lines)) return out_of_memory();

  ByteCursor cursor(source, buffer.get(), scan.held);
  std::optional<TableIdSet> kept_tables;
  if (backup) kept_tables.emplace(table, file, result.lines);
  ProgressTicker ticker(result.lines);
  int kept = 0;
  long long lines_read = 0;
  std::uint64_t line_start = 0;
  bool after_line_end = true;  // the file's first byte starts a line
  auto report = [&] { status.Advance({Phase::kLoading, file, kept, result.lines}); };

  // Lines are not found by their line ends: each is read at its layout's width from where the
  // last one ended, until as many lines are read as the header announces, or the header ends:
  // no line starts at or after its end mark, whatever follows it. A line of a type the count
  // does not know (one that starts after a line end, but not with a type name and a blank) is
  // kept without being counted, so it costs no announced object its place. Anything else
  // counts, so a directory whose lines have slipped still ends after its count.
  while (lines_read < result.lines && line_start < scan.end) {
    std::size_t available = cursor.Ensure(kCommonWidth);
    const char* line = cursor.Data();
    if (available < kCommonWidth) {
      result.cut_short = true;
      break;
    }
    const int type = TypeAtLineStart(line, available);
    const bool layout_b =
        type == kTableDataType ||
        (type < 0 && std::memcmp(line, kTypeNames[kTableDataType].data(), 9) == 0);
    const LineLayout& layout = layout_b ? kLayoutB : kLayoutA;
    // Its fields, and its line end where a line may follow it; a line that crosses the end mark
    // is read past it, as far as its fields go.
    const std::uint64_t to_end = scan.end + 1 - line_start;
    available =
        cursor.Ensure(to_end >= layout.needed
                          ? static_cast<std::size_t>(std::min<std::uint64_t>(layout.width, to_end))
                          : layout.needed);
    line = cursor.Data();
    if (available < layout.needed) {
      result.cut_short = true;
      break;
    }
    const bool table_type = backup && IsTableField(line, type);
    if (!table_type || !kept_tables->Contains({line + kLayoutA.slots[1].offset, 10})) {
      if (kept == table.Capacity()) {
        result.capacity_reached = true;
        break;
      }
      if (kept == table.Rows(file) && !room(2LL * kept + 16)) return out_of_memory();
      if (layout_b) {
        StoreLine<kLayoutB>(table, file, ++kept, line);
      } else {
        StoreLine<kLayoutA>(table, file, ++kept, line);
      }
      if (table_type) kept_tables->Insert(kept);
    }
    if (!after_line_end || type >= 0) ++lines_read;
    // The last line may lack its line end.
    after_line_end = available >= layout.width && line[layout.width - 2] == '\r' &&
                     line[layout.width - 1] == '\n';
    cursor.Skip(layout.width);
    line_start += layout.width;
    if (ticker.Due(lines_read)) report();
  }
  report();

  if (Status read = source.ReadStatus(); !read) return unreadable(std::move(read));
  table.SetCount(file, kept);
  result.objects = kept;
  result.status = kept > 0 ? LoadStatus::kLoaded : LoadStatus::kNoObjects;
  status.Begin(Phase::kLoaded, file);
  return result;
}

}  // namespace quillet
