#include "list/file_comparison.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <vector>

#include "list/match_index.h"
#include "objects/progress_ticker.h"
#include "objects/text.h"

namespace quillet {
namespace {

bool BlankId(const ObjectTable& table, int file, int index) {
  return TrimBlanks(table.Read(file, index, Field::kId)).empty();
}

}  // namespace

EqualPairs ListEqualObjects(const ObjectTable& table, const CompareCriteria& criteria,
                            const RowFilter& filter, StatusSink& status, ComparisonVisitor& visitor,
                            long long max_pairs) {
  status.Begin(Phase::kComparing, 0);

  const int outer = table.Count(2) > table.Count(1) ? 1 : 2;
  const int inner = 3 - outer;
  const int n = table.Count(outer);
  // Only the file #1 record of a pair is filtered, so a record takes part or not on its own.
  RecordFilter passes(filter);
  const auto takes_part = [&](int file, int index) {
    return !BlankId(table, file, index) && (file == 2 || passes.Passes(table, file, index));
  };

  BulkVector<int> indexed;
  indexed.reserve(static_cast<std::size_t>(table.Count(inner)));
  for (int j = 1; j <= table.Count(inner); ++j) {
    if (takes_part(inner, j)) indexed.push_back(j);
  }
  MatchIndex index(table, criteria);
  index.Build(inner, indexed);

  // Counting first gives the total without listing it, and lets the list reserve its rows.
  EqualPairs result;
  BulkVector<int> group_of_outer(static_cast<std::size_t>(n) + 1, -1);
  index.FindBatch(1, n, group_of_outer.data() + 1);
  for (int k = 1; k <= n; ++k) {
    if (!takes_part(outer, k)) {
      group_of_outer[k] = -1;
      continue;
    }
    if (group_of_outer[k] >= 0) result.pairs += std::ssize(index.Members(group_of_outer[k]));
  }
  long long room = std::min(result.pairs, std::max(max_pairs, 0LL));
  visitor.ExpectRows(2 * room);

  ProgressTicker ticker(n);
  for (int k = 1; k <= n; ++k) {
    const int group = group_of_outer[k];
    if (group >= 0) {
      for (const int other : index.Members(group)) {
        if (room == 0) break;
        const int i = outer == 1 ? k : other, j = outer == 1 ? other : k;
        if (!visitor.Row(1, i) || !visitor.Row(2, j)) {
          room = 0;
          break;
        }
        ++result.listed;
        --room;
      }
    }
    if (ticker.Due(k)) status.Advance({Phase::kComparing, 0, k, n});
  }
  status.Begin(Phase::kFinished, 0);
  return result;
}

long long ListDifferentObjects(const ObjectTable& table, const CompareCriteria& criteria,
                               const RowFilter& filter, StatusSink& status,
                               ComparisonVisitor& visitor) {
  status.Begin(Phase::kFirstPass, 1);

  const int count1 = table.Count(1), count2 = table.Count(2);
  BulkVector<int> all(static_cast<std::size_t>(count2));
  for (int j = 1; j <= count2; ++j) all[j - 1] = j;
  MatchIndex index(table, criteria);
  index.Build(2, all);
  // Matching is symmetric: a file #2 record has a match in file #1 exactly when some file #1
  // record landed in its group during the first pass.
  BulkVector<char> matched(static_cast<std::size_t>(index.GroupCount()), 0);

  long long rows = 0;
  bool listing = true;
  ProgressTicker first(count1);
  RecordFilter passes(filter);
  int groups[MatchIndex::kBatch];
  for (int batch = 1; batch <= count1; batch += MatchIndex::kBatch) {
    const int size = std::min(MatchIndex::kBatch, count1 - batch + 1);
    index.FindBatch(batch, size, groups);
    for (int b = 0; b < size; ++b) {
      const int i = batch + b, group = groups[b];
      if (group >= 0) matched[group] = 1;
      if (listing && group < 0 && passes.Passes(table, 1, i)) {
        listing = visitor.Row(1, i);
        rows += listing;
      }
      if (first.Due(i)) status.Advance({Phase::kFirstPass, 1, i, count1});
    }
  }

  status.Begin(Phase::kSecondPass, 2);
  ProgressTicker second(count2);
  for (int j = 1; j <= count2; ++j) {
    if (listing && !matched[index.GroupOfIndexed(j)] && passes.Passes(table, 2, j)) {
      listing = visitor.Row(2, j);
      rows += listing;
    }
    if (second.Due(j)) status.Advance({Phase::kSecondPass, 2, j, count2});
  }
  status.Begin(Phase::kFinished, 0);
  return rows;
}

}  // namespace quillet
