#pragma once

#include "commands/workspace.h"
#include "list/compare_criteria.h"

namespace quillet {

// Which comparison the criteria dialog runs on OK; the toolbar command that opens it says.
enum class CompareMode { kNone, kEqual, kDifferent };

// With few boxes ticked two files of 20000 objects give up to 400 million equal pairs, which no
// list holds. The window lists this many pairs (two rows each, about 290 MB) and says how many
// there were.
inline constexpr long long kEqualPairLimit = 1'000'000;

// Replace the list with the result of a comparison and write its row count to the count panel.
// CompareEqual tells the user through ws.messages when it listed fewer pairs than it found.
void CompareEqual(Workspace& ws, const CompareCriteria& criteria,
                  long long max_pairs = kEqualPairLimit);
void CompareDifferent(Workspace& ws, const CompareCriteria& criteria);

// The comparison of `mode`; nothing for kNone.
void RunComparison(Workspace& ws, CompareMode mode, const CompareCriteria& criteria);

}  // namespace quillet
