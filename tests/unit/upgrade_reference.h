#pragma once

// The upgrade analysis the plain way: each side of a triple named in words, the result read off
// them as the rules say it. The engine must give exactly its rows, counts and conflict flag.
#include <string>

#include "changes_reference.h"
#include "list/upgrade.h"

namespace quillet::test {

inline RefResult<UpgradeResult> ReferenceUpgrade(const ObjectTable& table,
                                                 const CompareCriteria& criteria,
                                                 const RowFilter& filter, UpgradeResults listed) {
  RefResult<UpgradeResult> result;
  int group = 0;
  for (const auto& [key, members] : RefKeys<3>(table, {kBaseFile, 1, 2})) {
    if (!RefPasses(filter, key)) continue;
    const std::size_t triples =
        std::max(members[0].size(), std::max(members[1].size(), members[2].size()));
    for (std::size_t n = 0; n < triples; ++n) {
      std::vector<std::pair<int, int>> rows;  // (file, record) of those that exist
      for (int file = 0; file < 3; ++file) {
        if (n < members[file].size()) rows.push_back({file, members[file][n]});
      }
      const auto record = [&](int file) {
        for (const auto& [f, index] : rows) {
          if (f == file) return index;
        }
        return 0;
      };
      const auto side = [&](int file) -> std::string {
        if (record(0) == 0) return record(file) == 0 ? "absent" : "added";
        if (record(file) == 0) return "removed";
        return RefDiffering(table, criteria, 0, record(0), file, record(file)) == 0 ? "unchanged"
                                                                                    : "changed";
      };
      const std::string one = side(1), two = side(2);
      const bool same_sides = record(1) == 0 || record(2) == 0 ||
                              RefDiffering(table, criteria, 1, record(1), 2, record(2)) == 0;
      UpgradeResult outcome;
      if (one == "unchanged" && two == "unchanged") {
        outcome = UpgradeResult::kUnchanged;
      } else if ((one == "changed" || one == "removed") && two == "unchanged") {
        outcome = UpgradeResult::kOnly1Changed;
      } else if ((two == "changed" || two == "removed") && one == "unchanged") {
        outcome = UpgradeResult::kOnly2Changed;
      } else if (one == "added" && two == "absent") {
        outcome = UpgradeResult::kOnly1Added;
      } else if (two == "added" && one == "absent") {
        outcome = UpgradeResult::kOnly2Added;
      } else if (one == two && same_sides) {
        outcome = UpgradeResult::kBothChangedAlike;
      } else {
        outcome = UpgradeResult::kConflict;
      }
      FieldMask mask = 0;
      for (const auto& [file_a, a] : rows) {
        for (const auto& [file_b, b] : rows)
          mask |= RefDiffering(table, criteria, file_a, a, file_b, b);
      }
      RefAdd(result, key.type, outcome, mask, rows, listed, group);
      result.flag |= outcome == UpgradeResult::kConflict;
    }
  }
  return result;
}

}  // namespace quillet::test
