#pragma once

// The comparisons the plain way: every pair of records tried, the status written for every
// record. Slow on purpose and simple enough to check by reading; the engine must give exactly
// its rows and its progress. The benchmarks time it too.
#include <string>
#include <utility>
#include <vector>

#include "list/compare_criteria.h"
#include "list/row_filter.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"
#include "objects/text.h"

namespace quillet::test {

// (file, record index) per result row, in list order.
using RowRefs = std::vector<std::pair<int, int>>;

inline RowRefs PairwiseEqual(const ObjectTable& table, const CompareCriteria& criteria,
                             const RowFilter& filter, StatusSink& status) {
  RowRefs rows;
  status.Begin(Phase::kComparing, 0);
  const int outer = table.Count(2) > table.Count(1) ? 1 : 2;
  const int n = table.Count(outer), m = table.Count(3 - outer);
  for (int k = 1; k <= n; ++k) {
    for (int l = 1; l <= m; ++l) {
      const int i = outer == 1 ? k : l, j = outer == 1 ? l : k;
      if (!TrimBlanks(table.Read(1, i, Field::kId)).empty() &&
          !TrimBlanks(table.Read(2, j, Field::kId)).empty() &&
          ObjectsMatch(table, criteria, i, j) && filter.Passes(table, 1, i)) {
        rows.emplace_back(1, i);
        rows.emplace_back(2, j);
      }
    }
    status.Advance({Phase::kComparing, 0, k, n});
  }
  status.Begin(Phase::kFinished, 0);
  const auto listed = static_cast<long long>(rows.size());
  status.Counted({listed, listed, false});
  return rows;
}

inline RowRefs PairwiseDifferent(const ObjectTable& table, const CompareCriteria& criteria,
                                 const RowFilter& filter, StatusSink& status) {
  RowRefs rows;
  status.Begin(Phase::kFirstPass, 1);
  const int count1 = table.Count(1), count2 = table.Count(2);
  for (int i = 1; i <= count1; ++i) {
    bool found = false;
    for (int j = 1; j <= count2; ++j) {
      if (ObjectsMatch(table, criteria, i, j)) found = true;
    }
    if (filter.Passes(table, 1, i) && !found) {
      rows.emplace_back(1, i);
    }
    status.Advance({Phase::kFirstPass, 1, i, count1});
  }
  status.Begin(Phase::kSecondPass, 2);
  for (int j = 1; j <= count2; ++j) {
    bool found = false;
    for (int i = 1; i <= count1; ++i) {
      if (ObjectsMatch(table, criteria, i, j)) found = true;
    }
    if (filter.Passes(table, 2, j) && !found) {
      rows.emplace_back(2, j);
    }
    status.Advance({Phase::kSecondPass, 2, j, count2});
  }
  status.Begin(Phase::kFinished, 0);
  const auto listed = static_cast<long long>(rows.size());
  status.Counted({listed, listed, false});
  return rows;
}

}  // namespace quillet::test
