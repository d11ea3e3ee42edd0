#include "objects/object_file_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "list/workspace.h"
#include "objects/code_page.h"
#include "objects/date_time_format.h"
#include "objects/object_types.h"
#include "objects/text.h"
#include "runtime/progress_ticker.h"

namespace quillet {
namespace {

constexpr char kEndOfHeader = 0x1A;
constexpr std::size_t kBlockSize = 256 * 1024;

// Line layouts: byte offsets and widths from the start of an object line.
constexpr std::size_t kCommonWidth = 52;  // type, number and name; the same in both layouts
constexpr std::size_t kLayoutAWidth = 161;
constexpr std::size_t kLayoutANeeded = 159;  // up to the end of the version list
constexpr std::size_t kLayoutBWidth = 108;
constexpr std::size_t kLayoutBNeeded = 105;

// A CR LF and the longest type name with its blank.
constexpr std::size_t kLongestLineStart = 2 + 10;

bool StartsWithTypeName(const char* text, std::size_t available) {
  for (std::string_view name : kTypeNames) {
    if (available > name.size() && std::memcmp(text, name.data(), name.size()) == 0 &&
        text[name.size()] == ' ') {
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
HeaderScan ScanHeader(ByteSource& source) {
  HeaderScan scan;
  // Not value-initialised: every byte is written by a read before it is looked at.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlockSize + kLongestLineStart);
  std::size_t carry = 0;
  bool first_block = true;
  for (;;) {
    const std::size_t read = source.Read(buffer.get() + carry, kBlockSize);
    if (read == 0) return {};  // the end came without a 0x1A: there is no header
    char* data = buffer.get();
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
  explicit ByteCursor(ByteSource& source)
      : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(kBlockSize)) {}

  // Makes up to n bytes contiguous at Data(); gives how many there are (fewer at the end).
  std::size_t Ensure(std::size_t n) {
    if (end_ - begin_ < n && !exhausted_) {
      std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
      while (end_ < kBlockSize) {
        const std::size_t read = source_.Read(buffer_.get() + end_, kBlockSize - end_);
        if (read == 0) {
          exhausted_ = true;
          break;
        }
        end_ += read;
      }
    }
    return std::min(n, end_ - begin_);
  }
  const char* Data() const { return buffer_.get() + begin_; }
  void Skip(std::size_t n) { begin_ += std::min(n, end_ - begin_); }

 private:
  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
};

// The kept Table objects of a backup file by their ID text, so a repeated Table line is found
// in constant time. Open addressing over row numbers; the IDs stay in the table.
class TableIdSet {
 public:
  TableIdSet(const ObjectTable& table, int file) : table_(table), file_(file) {
    std::size_t size = 1;
    while (size < static_cast<std::size_t>(table.Capacity()) * 2 + 2) size <<= 1;
    slots_.assign(size, 0);
  }

  bool Contains(std::string_view id) const {
    for (std::size_t i = Hash(id);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i] == 0) return false;
      if (table_.Read(file_, slots_[i], Field::kId) == id) return true;
    }
  }

  void Insert(int row) {
    std::size_t i = Hash(table_.Read(file_, row, Field::kId));
    while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = row;
  }

 private:
  std::size_t Hash(std::string_view id) const {
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : id) hash = (hash ^ c) * 1099511628211ULL;
    return static_cast<std::size_t>(hash) & (slots_.size() - 1);
  }

  const ObjectTable& table_;
  int file_;
  std::vector<int> slots_;
};

std::string_view Bytes(const char* line, std::size_t offset, std::size_t width) {
  return {line + offset, width};
}

// Names and versions: blanks removed at both ends, then the code page's letters converted.
// Converted into a buffer of the caller's, so a line costs no allocation.
std::string_view DirectoryText(const char* line, std::size_t offset, std::size_t width,
                               char* buffer) {
  const std::string_view text = TrimBlanks(Bytes(line, offset, width));
  ConvertUmlautsInto(text, buffer);
  return {buffer, text.size()};
}

}  // namespace

bool IsBackupFileName(std::string_view file_name) {
  if (file_name.size() < 4) return false;
  std::string_view tail = file_name.substr(file_name.size() - 4);
  std::string lower(tail);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower == ".fbk";
}

LoadResult ReadObjectDirectory(ObjectTable& table, ByteSource& source, int file, bool backup,
                               StatusSink& status) {
  LoadResult result;
  const HeaderScan scan = ScanHeader(source);
  if (source.Failed()) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = source.ErrorText();
    return result;
  }
  result.lines = scan.found ? scan.lines : 0;
  if (result.lines == 0) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kNoObjects;
    return result;
  }

  status.SetPanelText(3, "Loading...");
  if (!source.Rewind()) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = source.ErrorText();
    return result;
  }

  ByteCursor cursor(source);
  std::optional<TableIdSet> kept_tables;
  if (backup) kept_tables.emplace(table, file);
  const std::string prefix = "File " + DecimalText(file) + ": ";
  ProgressTicker ticker(result.lines);
  int kept = 0;
  long long lines_read = 0;
  bool after_line_end = true;  // the file's first byte starts a line
  auto report = [&] {
    status.SetPanelText(4, prefix + DecimalText(kept));
    status.SetProgress(50.0 * std::min<long long>(kept, result.lines) / result.lines);
  };

  // Lines are not found by their line ends: each is read at its layout's width from where the
  // last one ended, until as many lines are read as the header announces. A line of a type the
  // count does not know (one that starts after a line end, but not with a type name and a
  // blank) is kept without being counted, so it costs no announced object its place. Anything
  // else counts, so a directory whose lines have slipped still ends after its count.
  while (lines_read < result.lines) {
    const std::size_t available = cursor.Ensure(kLayoutAWidth);
    const char* line = cursor.Data();
    if (available < kCommonWidth) {
      result.cut_short = true;
      break;
    }
    const std::string_view type = TrimBlanks(Bytes(line, 0, 9));
    const bool table_data = type == kTypeNames[kTableDataType];
    const std::size_t needed = table_data ? kLayoutBNeeded : kLayoutANeeded;
    if (available < needed) {
      result.cut_short = true;
      break;
    }
    const std::string_view id = Bytes(line, 10, 10);
    const bool repeated_table =
        backup && type == kTypeNames[kTableType] && kept_tables->Contains(id);
    if (!repeated_table) {
      if (kept == table.Capacity()) {
        result.capacity_reached = true;
        break;
      }
      const int row = ++kept;
      table.Store(file, row, Field::kType, type);
      table.Store(file, row, Field::kId, id);
      char text[64];  // room for a converted name or version, a formatted date or time
      table.Store(file, row, Field::kName, DirectoryText(line, 21, 30, text));
      if (table_data) {
        table.Store(file, row, Field::kBlobSize, Bytes(line, 64, 10));
        table.Store(file, row, Field::kVersion, DirectoryText(line, 75, 30, text));
        table.Store(file, row, Field::kDate, {});
        table.Store(file, row, Field::kTime, {});
      } else {
        table.Store(file, row, Field::kDate,
                    {text, FormatObjectDateInto(Bytes(line, 53, 10), text)});
        table.Store(file, row, Field::kTime,
                    {text, FormatObjectTimeInto(Bytes(line, 68, 11), text)});
        table.Store(file, row, Field::kBlobSize, Bytes(line, 91, 10));
        table.Store(file, row, Field::kVersion, DirectoryText(line, 102, 57, text));
      }
      table.Store(file, row, Field::kModified, {});
      table.Store(file, row, Field::kCompiled, {});
      if (backup && type == kTypeNames[kTableType]) kept_tables->Insert(row);
    }
    const bool uncounted_type = after_line_end && !StartsWithTypeName(line, available);
    if (!uncounted_type) ++lines_read;
    // The last line may lack its line end.
    const std::size_t width = table_data ? kLayoutBWidth : kLayoutAWidth;
    after_line_end = available >= width && line[width - 2] == '\r' && line[width - 1] == '\n';
    cursor.Skip(width);
    if (ticker.Due(lines_read)) report();
  }
  report();

  if (source.Failed()) {
    table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = source.ErrorText();
    return result;
  }
  table.SetCount(file, kept);
  result.objects = kept;
  result.status = kept > 0 ? LoadStatus::kLoaded : LoadStatus::kNoObjects;
  status.SetPanelText(3, "Loaded");
  return result;
}

LoadResult LoadObjectFile(Workspace& ws, const std::string& file_name, int file) {
  FileSource::OpenStatus open_status;
  std::string error;
  auto source = FileSource::Open(file_name, open_status, error);
  if (open_status == FileSource::OpenStatus::kMissing) return {};

  ws.list.RemoveRowsOfFile(file);
  ws.status.ShowFilePanel(file, file_name);
  ws.status.SetPanelText(3, "Analyzing...");
  ws.status.SetPanelText(4, "");
  ws.status.SetPanelText(5, "");

  LoadResult result;
  if (source == nullptr) {
    ws.table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.error = error;
  } else {
    result = ReadObjectDirectory(ws.table, *source, file, IsBackupFileName(file_name), ws.status);
  }

  if (result.status == LoadStatus::kUnreadable) {
    ws.messages.ShowMessage("Unable to read the file: " + result.error);
  } else if (result.capacity_reached) {
    ws.messages.ShowMessage("The file lists more than " + DecimalText(ws.table.Capacity()) +
                            " objects. Only the first " + DecimalText(ws.table.Capacity()) +
                            " are loaded.");
  } else if (result.cut_short) {
    ws.messages.ShowMessage(
        "The file ends inside its list of objects. Only the objects before the damaged line "
        "are loaded.");
  }
  return result;
}

}  // namespace quillet
