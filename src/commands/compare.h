#pragma once

#include <vector>

#include "commands/workspace.h"
#include "list/changes.h"
#include "list/compare_criteria.h"
#include "list/file_comparison.h"
#include "list/list_view.h"
#include "list/upgrade.h"

namespace quillet {

// Which comparison the criteria dialog runs on OK; the toolbar command that opens it says.
enum class CompareMode { kNone, kEqual, kDifferent, kChanges, kUpgrade };

// The list a comparison's result is shown in: the keyed ones have their own, with a status.
constexpr ListView ViewOf(CompareMode mode) {
  return mode == CompareMode::kChanges   ? ListView::kChanges
         : mode == CompareMode::kUpgrade ? ListView::kUpgrade
                                         : ListView::kObjects;
}

// Which statuses the keyed comparisons list.
struct KeyedChoice {
  ChangeStatuses changes = kDefaultChangeStatuses;
  UpgradeResults upgrade = kDefaultUpgradeResults;
};

// With few boxes ticked two files of 20000 objects give up to 400 million equal pairs, which no
// list holds. The window lists this many pairs (two rows each, about 290 MB) and says how many
// there were.
inline constexpr long long kEqualPairLimit = 1'000'000;

// Replace the list with the result of a comparison and report its row count. CompareEqual
// gives how many pairs it found and listed, and tells the user through ws.messages when it
// listed fewer than it found.
EqualPairs CompareEqual(Workspace& ws, const CompareCriteria& criteria,
                        long long max_pairs = kEqualPairLimit);
void CompareDifferent(Workspace& ws, const CompareCriteria& criteria);

// Replace the list with the changes between file #1 and file #2, or with the upgrade analysis
// of both against the base: rows with a status each, the rows of a pair or triple together.
// Give the number of keys (pairs, triples, lone objects) of each status, by the status's value,
// whatever is listed.
std::vector<long long> ShowChanges(Workspace& ws, const CompareCriteria& criteria,
                                   ChangeStatuses listed);
std::vector<long long> ShowUpgrade(Workspace& ws, const CompareCriteria& criteria,
                                   UpgradeResults listed);

// The comparison of `mode`; nothing for kNone. Gives the keyed comparisons' counts.
std::vector<long long> RunComparison(Workspace& ws, CompareMode mode,
                                     const CompareCriteria& criteria,
                                     const KeyedChoice& listed = {});

}  // namespace quillet
