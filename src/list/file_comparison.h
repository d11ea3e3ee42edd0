#pragma once

#include <limits>

#include "list/compare_criteria.h"
#include "list/row_filter.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"

namespace quillet {

// Receives the result rows of a comparison, in list order. The list appends them; the command
// line writes each as a line and keeps nothing.
class ComparisonVisitor {
 public:
  virtual ~ComparisonVisitor() = default;
  // Told before the first row when the number of rows is known in advance.
  virtual void ExpectRows(long long /*rows*/) {}
  // Record `index` (1-based) of `file`. Returning false ends the listing; the status still
  // reaches its end state.
  virtual bool Row(int file, int index) = 0;
};

inline constexpr long long kNoPairLimit = std::numeric_limits<long long>::max();

struct EqualPairs {
  long long pairs = 0;   // all pairs that match and pass the row filter
  long long listed = 0;  // pairs given to the visitor
};

// The pairs (i, j) of a record of file #1 and one of file #2 that match and whose IDs are not
// blank, each as the row of i followed by the row of j, filtered on i's Type and ID. Pairs
// come in the order of the outer file (file #2 unless file #1 has fewer objects), then of the
// inner file; a record that matches several gives several pairs. At most `max_pairs` pairs
// are listed, but all are counted. Reports the phase and progress through `status`.
EqualPairs ListEqualObjects(const ObjectTable& table, const CompareCriteria& criteria,
                            const RowFilter& filter, StatusSink& status, ComparisonVisitor& visitor,
                            long long max_pairs = kNoPairLimit);

// The records of file #1 that match no record of file #2, then those of file #2 that match no
// record of file #1, each filtered on its own Type and ID. Blank IDs take part. Gives the
// number of rows listed.
long long ListDifferentObjects(const ObjectTable& table, const CompareCriteria& criteria,
                               const RowFilter& filter, StatusSink& status,
                               ComparisonVisitor& visitor);

}  // namespace quillet
