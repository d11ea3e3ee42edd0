#pragma once

#include <string_view>

#include "list/compare_criteria.h"
#include "list/keyed_listing.h"
#include "list/row_filter.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"

namespace quillet {

// What happened to an object between file #1 and file #2, its type and ID kept.
enum class ChangeStatus { kOnlyIn1, kOnlyIn2, kChanged, kSame };

inline constexpr int kChangeStatusCount = 4;

// "Only in #1", "Only in #2", "Changed", "Same".
std::string_view ChangeStatusText(ChangeStatus status);

using ChangeStatuses = StatusSet<ChangeStatus>;
using ChangeRow = KeyedRow<ChangeStatus>;
using ChangesVisitor = KeyedVisitor<ChangeStatus>;
using ChangeCounts = KeyedCounts<ChangeStatus, kChangeStatusCount>;

// What a changes listing shows unless told otherwise: everything that changed.
inline constexpr ChangeStatuses kDefaultChangeStatuses = {
    ChangeStatus::kOnlyIn1, ChangeStatus::kOnlyIn2, ChangeStatus::kChanged};

struct ChangesResult {
  // Same and Changed pairs, Only in #1 and Only in #2 objects.
  ChangeCounts counts;
  // Whether any key that passed the row filter changed, or is in one file only.
  bool differs = false;
  long long rows = 0;  // rows given to the visitor
};

// Pairs the objects of file #1 and file #2 by type and ID (each without its outer blanks,
// letter case counting; objects with the same key pair up in file order, the rest are alone)
// and says for each pair whether the counted fields (Name, Version, Date, Time and BLOB size,
// as `criteria` ticks them) differ. Keys that fail `filter` are left out; pairs and lone objects
// whose status is in `listed` go to `visitor` in list order: by key (KeyBefore), within a key
// the pairs in file order, each as the file #1 row then the file #2 row, then the lone objects.
ChangesResult ListChanges(const ObjectTable& table, const CompareCriteria& criteria,
                          const RowFilter& filter, ChangeStatuses listed, StatusSink& status,
                          ChangesVisitor& visitor);

}  // namespace quillet
