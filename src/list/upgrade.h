#pragma once

#include <string_view>

#include "list/compare_criteria.h"
#include "list/keyed_listing.h"
#include "list/row_filter.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"

namespace quillet {

// What became of an object of the base release in the customer's database (file #1) and in the
// new release (file #2), or of one added in either.
enum class UpgradeResult {
  kUnchanged,
  kOnly1Changed,
  kOnly2Changed,
  kBothChangedAlike,
  kConflict,
  kOnly1Added,
  kOnly2Added
};

inline constexpr int kUpgradeResultCount = 7;

// "Unchanged", "Only #1 changed", "Only #2 changed", "Both changed alike", "Conflict",
// "Only #1 added", "Only #2 added".
std::string_view UpgradeResultText(UpgradeResult result);

using UpgradeResults = StatusSet<UpgradeResult>;
using UpgradeRow = KeyedRow<UpgradeResult>;
using UpgradeVisitor = KeyedVisitor<UpgradeResult>;
using UpgradeCounts = KeyedCounts<UpgradeResult, kUpgradeResultCount>;

// What an upgrade analysis lists unless told otherwise: everything that needs a look.
inline constexpr UpgradeResults kDefaultUpgradeResults = {
    UpgradeResult::kOnly1Changed, UpgradeResult::kOnly2Changed, UpgradeResult::kBothChangedAlike,
    UpgradeResult::kConflict,     UpgradeResult::kOnly1Added,   UpgradeResult::kOnly2Added};

struct UpgradeAnalysis {
  UpgradeCounts counts;  // triples per result
  // Whether a triple that passed the row filter is a conflict.
  bool conflicts = false;
  long long rows = 0;  // rows given to the visitor
};

// Keys the objects of the base (kBaseFile), file #1 and file #2 as ListChanges does; the n-th
// object of a key in each file (where that file has one) make a triple. Each side of a triple is
// unchanged, changed (a counted field differs from the base), added, removed, or absent, and the
// two sides give its result:
// - Unchanged: unchanged on both sides.
// - Only #1 changed / Only #2 changed: changed or removed on that side, unchanged on the other.
// - Both changed alike: both changed, removed or added it, to the same counted fields. A triple
//   of the base alone was removed on both sides, so it is one of these.
// - Conflict: both changed, removed or added it, differently; changed on one side and removed on
//   the other is a conflict too.
// - Only #1 added / Only #2 added: added on one side, absent on the other.
// Triples whose result is in `listed` go to `visitor` in list order (the triples of a key by n),
// each as its base row, file #1 row and file #2 row, those that exist; the changed fields are
// those that differ between any two of them.
UpgradeAnalysis AnalyzeUpgrade(const ObjectTable& table, const CompareCriteria& criteria,
                               const RowFilter& filter, UpgradeResults listed, StatusSink& status,
                               UpgradeVisitor& visitor);

}  // namespace quillet
