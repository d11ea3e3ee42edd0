#include "list/upgrade.h"

#include <algorithm>
#include <span>

#include "list/list_view.h"
#include "list/object_keys.h"

namespace quillet {
namespace {

enum class Side { kAbsent, kUnchanged, kChanged, kAdded, kRemoved };

// The n-th objects of one key in the base, file #1 and file #2, 0 where a file has none.
class Triple {
 public:
  Triple(const ObjectTable& table, FieldMask counted, int base, int one, int two)
      : base_(base), one_(one), two_(two) {
    const auto differing = [&](int file_a, int a, int file_b, int b) -> FieldMask {
      if (a == 0 || b == 0) return 0;
      return DifferingFields(table.Record(file_a, a), table.Record(file_b, b), counted);
    };
    base_one_ = differing(kBaseFile, base, 1, one);
    base_two_ = differing(kBaseFile, base, 2, two);
    one_two_ = differing(1, one, 2, two);
  }

  UpgradeResult Result() const {
    const Side first = SideOf(one_, base_one_), second = SideOf(two_, base_two_);
    if (first == Side::kUnchanged) {
      return second == Side::kUnchanged ? UpgradeResult::kUnchanged : UpgradeResult::kOnly2Changed;
    }
    if (second == Side::kUnchanged) return UpgradeResult::kOnly1Changed;
    if (second == Side::kAbsent) return UpgradeResult::kOnly1Added;
    if (first == Side::kAbsent) return UpgradeResult::kOnly2Added;
    // Both sides did something to it. Two removals leave nothing to differ in.
    return first == second && one_two_ == 0 ? UpgradeResult::kBothChangedAlike
                                            : UpgradeResult::kConflict;
  }

  // The counted fields that differ between any two of the objects.
  FieldMask Changed() const { return base_one_ | base_two_ | one_two_; }

  // The rows of the objects there are: base, file #1, file #2.
  int Rows(RecordRef (&rows)[3]) const {
    int count = 0;
    if (base_ != 0) rows[count++] = {kBaseFile, base_};
    if (one_ != 0) rows[count++] = {1, one_};
    if (two_ != 0) rows[count++] = {2, two_};
    return count;
  }

 private:
  Side SideOf(int index, FieldMask from_base) const {
    if (base_ == 0) return index == 0 ? Side::kAbsent : Side::kAdded;
    if (index == 0) return Side::kRemoved;
    return from_base == 0 ? Side::kUnchanged : Side::kChanged;
  }

  int base_, one_, two_;
  FieldMask base_one_, base_two_, one_two_;
};

int NthOr0(std::span<const int> members, std::size_t n) {
  return n < members.size() ? members[n] : 0;
}

}  // namespace

std::string_view UpgradeResultText(UpgradeResult result) {
  return StatusText(ListView::kUpgrade, static_cast<int>(result));
}

UpgradeAnalysis AnalyzeUpgrade(const ObjectTable& table, const CompareCriteria& criteria,
                               const RowFilter& filter, UpgradeResults listed, StatusSink& status,
                               UpgradeVisitor& visitor) {
  BeginKeyedAnalysis(status);
  const ObjectKeys keys(table, {kBaseFile, 1, 2});
  const FieldMask counted = CountedChangeFields(criteria);
  KeyedGroups<UpgradeResult, kUpgradeResultCount> groups(
      listed, static_cast<std::size_t>(table.Count(kBaseFile) + table.Count(1) + table.Count(2)));

  UpgradeAnalysis analysis;
  RecordFilter passes(filter);
  for (const int key : keys.InListOrder()) {
    const std::string_view type = keys.Type(key);
    if (!passes.PassesKey(type, keys.Id(key))) continue;
    const auto base = keys.Members(key, 0), one = keys.Members(key, 1), two = keys.Members(key, 2);
    const std::size_t triples = std::max({base.size(), one.size(), two.size()});
    for (std::size_t n = 0; n < triples; ++n) {
      const Triple triple(table, counted, NthOr0(base, n), NthOr0(one, n), NthOr0(two, n));
      const UpgradeResult result = triple.Result();
      RecordRef rows[3];
      const int row_count = triple.Rows(rows);
      groups.Add(type, result, triple.Changed(),
                 std::span<const RecordRef>(rows, static_cast<std::size_t>(row_count)));
      analysis.conflicts |= result == UpgradeResult::kConflict;
    }
  }
  analysis.counts = groups.Counts();
  analysis.rows = groups.List(status, visitor);
  return analysis;
}

}  // namespace quillet
