#include "commands/compare.h"

#include <limits>

#include "commands/listing.h"
#include "list/file_comparison.h"

namespace quillet {
namespace {

// Appends result rows to the list.
class ListRows final : public ComparisonVisitor {
 public:
  explicit ListRows(Workspace& ws) : ws_(ws) {}
  void ExpectRows(long long rows) override {
    if (rows <= std::numeric_limits<int>::max()) ws_.list.Reserve(static_cast<std::size_t>(rows));
  }
  bool Row(int file, int index) override {
    ObjectRow row = ObjectRow::FromRecord(ws_.table, file, index);
    // The equal comparison's rows come in pairs: each pair is a group of its own.
    if (pairs_) row.group = static_cast<std::uint32_t>(++rows_ + 1) / 2;
    ws_.list.Append(row);
    return true;
  }
  void PairUp() { pairs_ = true; }

 private:
  Workspace& ws_;
  bool pairs_ = false;
  long long rows_ = 0;
};

// Appends a keyed comparison's rows to the list, with their status, changed fields and group.
template <class Status>
class ListKeyedRows final : public KeyedVisitor<Status> {
 public:
  explicit ListKeyedRows(Workspace& ws) : ws_(ws) {}
  void ExpectRows(long long rows) override {
    if (rows <= std::numeric_limits<int>::max()) ws_.list.Reserve(static_cast<std::size_t>(rows));
  }
  bool Row(const KeyedRow<Status>& keyed) override {
    ObjectRow row = ObjectRow::FromRecord(ws_.table, keyed.file, keyed.index);
    row.status = static_cast<std::uint8_t>(keyed.status);
    row.changed = static_cast<std::uint16_t>(keyed.changed);
    row.group = static_cast<std::uint32_t>(keyed.group);
    ws_.list.Append(row);
    return true;
  }

 private:
  Workspace& ws_;
};

// Empties the list and fills it, in one change, with what `engine` lists for `view`; gives the
// counts by status.
template <class Status, class Engine>
std::vector<long long> ShowKeyed(Workspace& ws, ListView view, const Engine& engine) {
  std::vector<long long> totals;
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveAll();
    ws.list.SetView(view);
    ListKeyedRows<Status> rows(ws);
    const auto result = engine(rows);
    totals.assign(result.counts.total.values.begin(), result.counts.total.values.end());
  }
  ws.status.Counted(CountOf(ws.list));
  return totals;
}

}  // namespace

EqualPairs CompareEqual(Workspace& ws, const CompareCriteria& criteria, long long max_pairs) {
  EqualPairs result;
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveAll();
    ws.list.SetView(ListView::kObjects);
    ListRows rows(ws);
    rows.PairUp();
    result = ListEqualObjects(ws.table, criteria, ws.filter, ws.status, rows, max_pairs);
  }
  ws.status.Counted(CountOf(ws.list));
  if (result.listed < result.pairs) {
    ws.messages.Tell(Notice::PairLimit(result.pairs, result.listed));
  }
  return result;
}

void CompareDifferent(Workspace& ws, const CompareCriteria& criteria) {
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveAll();
    ws.list.SetView(ListView::kObjects);
    ListRows rows(ws);
    ListDifferentObjects(ws.table, criteria, ws.filter, ws.status, rows);
  }
  ws.status.Counted(CountOf(ws.list));
}

std::vector<long long> ShowChanges(Workspace& ws, const CompareCriteria& criteria,
                                   ChangeStatuses listed) {
  return ShowKeyed<ChangeStatus>(ws, ListView::kChanges, [&](ChangesVisitor& rows) {
    return ListChanges(ws.table, criteria, ws.filter, listed, ws.status, rows);
  });
}

std::vector<long long> ShowUpgrade(Workspace& ws, const CompareCriteria& criteria,
                                   UpgradeResults listed) {
  return ShowKeyed<UpgradeResult>(ws, ListView::kUpgrade, [&](UpgradeVisitor& rows) {
    return AnalyzeUpgrade(ws.table, criteria, ws.filter, listed, ws.status, rows);
  });
}

std::vector<long long> RunComparison(Workspace& ws, CompareMode mode,
                                     const CompareCriteria& criteria, const KeyedChoice& listed) {
  switch (mode) {
    case CompareMode::kEqual:
      CompareEqual(ws, criteria);
      break;
    case CompareMode::kDifferent:
      CompareDifferent(ws, criteria);
      break;
    case CompareMode::kChanges:
      return ShowChanges(ws, criteria, listed.changes);
    case CompareMode::kUpgrade:
      return ShowUpgrade(ws, criteria, listed.upgrade);
    case CompareMode::kNone:
      break;
  }
  return {};
}

}  // namespace quillet
