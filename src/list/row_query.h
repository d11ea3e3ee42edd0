#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "list/object_row.h"

namespace quillet {

struct RowQueryParse;

// A row as the filter reads it.
struct QueryRow {
  std::string_view type, id, name, version;  // Windows-1252, as stored (full width, blanks kept)
  std::string_view status;                   // one of kQueryStatusNames, or empty: no status
};

// The statuses `status:` knows: those of the changes view, then those of the upgrade analysis.
inline constexpr std::array<std::string_view, 11> kQueryStatusNames = {
    "changed",      "only1",     "only2",    "same",       "unchanged", "only1changed",
    "only2changed", "bothalike", "conflict", "only1added", "only2added"};

// A filter, read once, that tests rows: they must match each of its words. Filtering runs on
// every keystroke over every row of the list, so a test allocates nothing.
class RowQuery {
 public:
  bool Matches(const QueryRow& row) const noexcept;
  // True for the empty filter, which every row matches.
  bool MatchesEverything() const { return terms_.empty(); }

  // What a word asks, cheapest test first: a query's terms are kept in this order.
  enum class Kind : std::uint8_t { kStatus, kType, kId, kTag, kName, kText };
  // A range of IDs; the ends are digit strings without leading zeros (zero is empty).
  struct IdRange {
    std::string low, high;
    bool has_low = false, has_high = false;
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

 private:
  friend RowQueryParse ParseRowQuery(std::string_view utf8);
  explicit RowQuery(std::vector<Term> terms);

  std::vector<Term> terms_;
};

struct RowQueryParse {
  std::optional<RowQuery> query;  // empty when the text cannot be read
  std::string error;              // why not, as one line of UTF-8, the word first
};

// Reads a filter the user typed, as UTF-8. Words are separated by blanks (tabs and line ends
// too); a row must match each. Letter case never counts, over all of Windows-1252.
//   id:18|5050..5060|50000..|..99  the ID without its blanks, a whole number of any length
//   type:Table|Codeunit            the row's type is one of these of the nine
//   tag:CUST*|NAV7.00              a tag of the version list (split at commas, blanks dropped)
//   name:TEXT                      the name holds TEXT
//   status:changed|conflict        the row's status, in a view that has one
//   -WORD                          rows that match WORD are left out
//   "two words", name:"a b"        quotes hold blanks, '-' and ':'; the word ends at the quote
//   anything else                  the name or the version list holds it
// Names and version lists are compared without their blanks at both ends. Text that is not
// UTF-8 or has a character Windows-1252 lacks cannot be read, nor can a word of the wrong form.
RowQueryParse ParseRowQuery(std::string_view utf8);

// Whether a group of rows shown together (a pair of the equal comparison, a pair or triple of a
// keyed one) stays: when any of its rows matches, all of them do.
bool AnyMatches(const RowQuery& query, std::span<const RowView> rows);

// A list row as the filter reads it: in a view with statuses, with the name of its status.
inline QueryRow QueryRowOf(const RowView& row) {
  return {row.Cell(Column::kType), row.Cell(Column::kId), row.Cell(Column::kName),
          row.Cell(Column::kVersion), StatusName(row.view, row.status)};
}

}  // namespace quillet
