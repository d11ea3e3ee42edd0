#include "output/export_line.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "list/changed_fields.h"
#include "list/trimmed_fields.h"

namespace quillet {
namespace {

std::uint64_t Load(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// A field's text, quoted, after a comma. Nothing written is read back: a load that spans
// stores just made waits for them, which on every row costs more than the rest of the line.
template <Field kField>
char* PutField(char* at, const char* record, const NonBlankBits& bits) {
  constexpr std::size_t kWidth = FieldWidth(kField);
  const char* field = record + FieldOffset(kField);
  const TrimmedSpan span = TrimmedField<kField>(bits);
  *at++ = ',';
  *at++ = '"';
  if constexpr (kWidth > 8 && kWidth <= 16) {
    // The field's bytes in two words, moved down past its leading blanks, stored whole; the
    // bytes after the text are written over by what follows. The loads stay within the field.
    const std::uint64_t low = Load(field);
    const std::uint64_t high = Load(field + kWidth - 8) >> (8 * (16 - kWidth));
    const int shift = 8 * span.begin;  // below 8 * kWidth
    std::array<std::uint64_t, 2> words{low, high};
    if (shift >= 64) {
      words = {high >> (shift - 64), 0};
    } else if (shift > 0) {
      words = {low >> shift | high << (64 - shift), high >> shift};
    }
    std::memcpy(at, words.data(), sizeof words);
  } else if (span.begin == 0) {
    // A text field, which the reader stores from its first letter: copied at its full width,
    // a constant the compiler turns into a few moves, and cut back to the text.
    std::memcpy(at, field, kWidth);
  } else {
    std::memcpy(at, field + span.begin, static_cast<std::size_t>(span.length));
  }
  at += span.length;
  *at++ = '"';
  return at;
}

template <int... kFields>
char* PutFields(char* at, const char* record, std::integer_sequence<int, kFields...>) {
  const NonBlankBits bits(record);
  ((at = PutField<static_cast<Field>(kFields)>(at, record, bits)), ...);
  return at;
}

char* PutQuoted(char* at, std::string_view text) {
  *at++ = ',';
  *at++ = '"';
  std::memcpy(at, text.data(), text.size());
  at += text.size();
  *at++ = '"';
  return at;
}

constexpr std::size_t LongestStatus() {
  std::size_t longest = 0;
  for (const StatusInfo& info : kStatuses) longest = std::max(longest, info.text.size());
  return longest;
}

// Every field's header, joined by ';'.
constexpr std::size_t LongestChangedFields() {
  std::size_t length = kFieldCount - 1;
  for (int f = 0; f < kFieldCount; ++f)
    length += Info(ColumnOf(static_cast<Field>(f))).header.size();
  return length;
}

// The longest line: the file number and the nine fields quoted, the longest status and list of
// changed fields, the line end; then room for the last field's move of 16 bytes.
constexpr std::size_t kLongestStatus = LongestStatus();
constexpr std::size_t kLongestChangedFields = LongestChangedFields();
constexpr std::size_t kLineRoom =
    3 + kRecordWidth + 3 * kFieldCount + 3 + kLongestStatus + 3 + kLongestChangedFields + 2 + 16;

}  // namespace

void AppendExportLine(std::string& out, const RowView& row) {
  // Built on the stack and appended at once: one capacity check per line.
  char line[kLineRoom];
  char* at = line;
  *at++ = '"';
  *at++ = static_cast<char>('0' + row.file);
  *at++ = '"';
  at = PutFields(at, row.record.data(), std::make_integer_sequence<int, kFieldCount>{});
  if (HasStatus(row.view)) {
    at = PutQuoted(at, row.StatusText());
    at = PutQuoted(at, ChangedFieldsView(row.changed));
  }
  *at++ = '\r';
  *at++ = '\n';
  out.append(line, static_cast<std::size_t>(at - line));
}

std::string ExportLine(const RowView& row) {
  std::string line;
  AppendExportLine(line, row);
  return line;
}

}  // namespace quillet
