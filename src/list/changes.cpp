#include "list/changes.h"

#include <algorithm>

#include "list/list_view.h"
#include "list/object_keys.h"

namespace quillet {

std::string_view ChangeStatusText(ChangeStatus status) {
  return StatusText(ListView::kChanges, static_cast<int>(status));
}

ChangesResult ListChanges(const ObjectTable& table, const CompareCriteria& criteria,
                          const RowFilter& filter, ChangeStatuses listed, StatusSink& status,
                          ChangesVisitor& visitor) {
  BeginKeyedAnalysis(status);
  const ObjectKeys keys(table, {1, 2});
  const FieldMask counted = CountedChangeFields(criteria);
  KeyedGroups<ChangeStatus, kChangeStatusCount> groups(
      listed, static_cast<std::size_t>(table.Count(1) + table.Count(2)));

  ChangesResult result;
  RecordFilter passes(filter);
  for (const int key : keys.InListOrder()) {
    const std::string_view type = keys.Type(key);
    if (!passes.PassesKey(type, keys.Id(key))) continue;
    const auto one = keys.Members(key, 0), two = keys.Members(key, 1);
    const std::size_t pairs = std::min(one.size(), two.size());
    for (std::size_t n = 0; n < pairs; ++n) {
      const FieldMask changed =
          DifferingFields(table.Record(1, one[n]), table.Record(2, two[n]), counted);
      const RecordRef pair[] = {{1, one[n]}, {2, two[n]}};
      groups.Add(type, changed != 0 ? ChangeStatus::kChanged : ChangeStatus::kSame, changed, pair);
      result.differs |= changed != 0;
    }
    for (std::size_t n = pairs; n < one.size(); ++n) {
      const RecordRef alone[] = {{1, one[n]}};
      groups.Add(type, ChangeStatus::kOnlyIn1, 0, alone);
    }
    for (std::size_t n = pairs; n < two.size(); ++n) {
      const RecordRef alone[] = {{2, two[n]}};
      groups.Add(type, ChangeStatus::kOnlyIn2, 0, alone);
    }
    result.differs |= one.size() != two.size();
  }
  result.counts = groups.Counts();
  result.rows = groups.List(status, visitor);
  return result;
}

}  // namespace quillet
