#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "list/list_view.h"
#include "list/object_row.h"
#include "platform/result.h"

namespace quillet {

// A row as the filter reads it.
struct QueryRow {
  std::string_view type, id, name, version;  // Windows-1252, as stored (full width, blanks kept)
  std::string_view status;                   // one of kQueryStatusNames, or empty: no status
};

namespace detail {
// The rows of a comparison across files are chosen by --show and the view's toggles alone.
constexpr bool QueriedStatus(const StatusInfo& info) { return info.view != ListView::kAcross; }
constexpr std::size_t QueriedStatusCount() {
  std::size_t count = 0;
  for (const StatusInfo& info : kStatuses) count += QueriedStatus(info) ? 1 : 0;
  return count;
}
constexpr std::array<std::string_view, QueriedStatusCount()> StatusTokens() {
  std::array<std::string_view, QueriedStatusCount()> tokens{};
  std::size_t i = 0;
  for (const StatusInfo& info : kStatuses) {
    if (QueriedStatus(info)) tokens[i++] = info.token;
  }
  return tokens;
}
}  // namespace detail

// The statuses `status:` knows: those of the changes view, then those of the upgrade analysis.
inline constexpr std::array<std::string_view, detail::QueriedStatusCount()> kQueryStatusNames =
    detail::StatusTokens();

// A filter, read once, that tests rows. It is one or more lines; a row passes when it matches
// each word of any line. Filtering runs on every keystroke over every row of the list, so a
// test allocates nothing, and a word repeated costs no more than once.
class RowQuery {
 public:
  bool Matches(const QueryRow& row) const noexcept;
  // True for the empty filter, which every row matches.
  bool MatchesEverything() const { return line_ends_.empty() && !matches_nothing_; }
  // The tests a row may cost: the distinct words of all lines.
  std::size_t TestCount() const { return terms_.size(); }

  // What a word asks, cheapest test first: a line's terms are kept in this order.
  enum class Kind : std::uint8_t { kStatus, kType, kId, kTag, kName, kText };
  // A range of IDs; the ends are digit strings without leading zeros (zero is empty).
  struct IdRange {
    std::string low, high;
    bool has_low = false, has_high = false;
    bool operator==(const IdRange&) const = default;
    bool operator<(const IdRange& other) const {
      return std::tie(low, high, has_low, has_high) <
             std::tie(other.low, other.high, other.has_low, other.has_high);
    }
  };
  struct Term {
    Kind kind = Kind::kText;
    bool negated = false;
    std::uint16_t set = 0;           // kType, kStatus: a bit per type or status index
    std::vector<IdRange> ranges;     // kId: the alternatives
    std::vector<std::string> texts;  // kTag: the patterns; kName, kText: the text; case folded
  };

  // The empty filter.
  RowQuery() = default;
  // The filter of these lines, each a list of words a row must all match. Repeated words, and
  // repeated alternatives within a word, are folded; a line that holds a word and its negation
  // can match nothing and is left out, as is a line that repeats another.
  explicit RowQuery(std::vector<std::vector<Term>> lines);

 private:
  std::vector<Term> terms_;               // the lines' terms, one line after another
  std::vector<std::uint32_t> line_ends_;  // where each line's terms end in terms_
  bool matches_nothing_ = false;          // it had lines, and none of them can match
};

// Reads a filter the user typed, as UTF-8. Words are separated by blanks (tabs too); a row must
// match each word of a line. Of several lines, a row must match any one; lines that hold no word
// do not count. Letter case never counts, over all of Windows-1252.
//   id:18|5050..5060|50000..|..99  the ID without its blanks, a whole number of any length
//   type:Table|Codeunit            the row's type is one of these of the nine
//   tag:CUST*|NAV7.00              a tag of the version list (split at commas, blanks dropped)
//   name:TEXT                      the name holds TEXT
//   status:changed|conflict        the row's status, in a view that has one
//   -WORD                          rows that match WORD are left out
//   "two words", name:"a b"        quotes hold blanks, '-' and ':'; the word ends at the quote
//   anything else                  the name or the version list holds it
// A line that starts with a type's name, a colon and a blank, "Table: 18|27|5050..5060" as the
// ID lines are written, reads as "type:Table id:18|27|5050..5060".
// Names and version lists are compared without their blanks at both ends. Text that is not
// UTF-8 or has a character Windows-1252 lacks cannot be read, nor can a word of the wrong form;
// the error is one line of UTF-8, the word first.
Result<RowQuery> ParseRowQuery(std::string_view utf8);

// Whether a group of rows shown together (a pair of the equal comparison, a pair or triple of a
// keyed one) stays: when any of its rows matches, all of them do.
bool AnyMatches(const RowQuery& query, std::span<const RowView> rows);

// A list row as the filter reads it: in a view with statuses, with the name of its status.
inline QueryRow QueryRowOf(const RowView& row) {
  return {row.Cell(Column::kType), row.Cell(Column::kId), row.Cell(Column::kName),
          row.Cell(Column::kVersion), StatusName(row.view, row.status)};
}

}  // namespace quillet
