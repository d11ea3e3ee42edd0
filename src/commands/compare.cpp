#include "commands/compare.h"

#include <limits>

#include "commands/listing.h"
#include "list/file_comparison.h"
#include "objects/text.h"

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
    AddObjectRow(ws_, file, index);
    return true;
  }

 private:
  Workspace& ws_;
};

}  // namespace

void CompareEqual(Workspace& ws, const CompareCriteria& criteria, long long max_pairs) {
  EqualPairs result;
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveAll();
    ListRows rows(ws);
    result = ListEqualObjects(ws.table, criteria, ws.filter, ws.status, rows, max_pairs);
  }
  ws.status.SetPanelText(Panel::kCount, CountText(ws.list.RowCount()));
  if (result.listed < result.pairs) {
    ws.messages.ShowMessage("The files have " + DecimalText(result.pairs) +
                            " pairs of equal objects. The list shows the first " +
                            DecimalText(result.listed) + ".");
  }
}

void CompareDifferent(Workspace& ws, const CompareCriteria& criteria) {
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveAll();
    ListRows rows(ws);
    ListDifferentObjects(ws.table, criteria, ws.filter, ws.status, rows);
  }
  ws.status.SetPanelText(Panel::kCount, CountText(ws.list.RowCount()));
}

void RunComparison(Workspace& ws, CompareMode mode, const CompareCriteria& criteria) {
  switch (mode) {
    case CompareMode::kEqual:
      CompareEqual(ws, criteria);
      break;
    case CompareMode::kDifferent:
      CompareDifferent(ws, criteria);
      break;
    case CompareMode::kNone:
      break;
  }
}

}  // namespace quillet
