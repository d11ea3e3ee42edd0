#pragma once

// The comparison across files the plain way: keys in an ordered map, each object compared with
// every earlier one of its row field by field, letters counted out one by one, every pair of
// files looked at for the summary. Simple enough to check by reading; the engine must give
// exactly its rows, letters, summary and exit flag.
#include <map>
#include <string>
#include <vector>

#include "changes_reference.h"
#include "list/across.h"

namespace quillet::test {

// "A" ... "Z", "AA", ...: the letters after `letters` as an odometer of A to Z turns, a new
// wheel added on the left when every wheel wraps.
inline std::string RefNextLetters(std::string letters) {
  for (auto at = letters.rbegin(); at != letters.rend(); ++at) {
    if (*at != 'Z') {
      ++*at;
      return letters;
    }
    *at = 'A';
  }
  return "A" + letters;
}

struct RefAcrossRow {
  std::string type, id;  // trimmed
  int instance = 0;
  std::vector<std::string> letters;  // per file; empty where it has no object
  std::vector<int> indices;          // per file; 0 where it has no object
  int variants = 0;
  bool differs = false;

  bool operator==(const RefAcrossRow&) const = default;
};

struct RefAcross {
  std::vector<RefAcrossRow> rows;  // every row that passes the row filter, in list order
  std::vector<long long> objects, only_here;
  std::vector<std::vector<long long>> differs;  // [file][other]
  bool flag = false;
};

inline RefAcross ReferenceAcross(const ObjectTable& table, const std::vector<int>& files,
                                 const CompareCriteria& criteria, const RowFilter& filter) {
  const std::size_t n = files.size();
  std::map<RefKey, std::vector<std::vector<int>>> keys;
  for (std::size_t f = 0; f < n; ++f) {
    for (int i = 1; i <= table.Count(files[f]); ++i) {
      const RefKey key{RefTrim(table.Read(files[f], i, Field::kType)),
                       RefTrim(table.Read(files[f], i, Field::kId))};
      auto& members = keys[key];
      members.resize(n);
      members[f].push_back(i);
    }
  }

  RefAcross result;
  result.objects.assign(n, 0);
  result.only_here.assign(n, 0);
  result.differs.assign(n, std::vector<long long>(n, 0));
  for (const auto& [key, members] : keys) {
    if (!RefPasses(filter, key)) continue;
    std::size_t instances = 0;
    for (const auto& records : members) instances = std::max(instances, records.size());
    for (std::size_t k = 0; k < instances; ++k) {
      RefAcrossRow row{key.type, key.id, static_cast<int>(k), std::vector<std::string>(n),
                       std::vector<int>(n, 0)};
      std::string next = "A";
      int present = 0;
      for (std::size_t f = 0; f < n; ++f) {
        if (k >= members[f].size()) continue;
        row.indices[f] = members[f][k];
        ++present;
        for (std::size_t e = 0; e < f && row.letters[f].empty(); ++e) {
          if (row.indices[e] != 0 && RefDiffering(table, criteria, files[e], row.indices[e],
                                                  files[f], row.indices[f]) == 0) {
            row.letters[f] = row.letters[e];
          }
        }
        if (row.letters[f].empty()) {
          row.letters[f] = next;
          next = RefNextLetters(next);
          ++row.variants;
        }
      }
      row.differs = present < static_cast<int>(n) || row.variants > 1;
      result.flag |= row.differs;
      for (std::size_t f = 0; f < n; ++f) {
        if (row.indices[f] == 0) continue;
        ++result.objects[f];
        if (present == 1) ++result.only_here[f];
      }
      for (std::size_t f = 0; f < n; ++f) {
        for (std::size_t g = 0; g < n; ++g) {
          if (row.letters[f] != row.letters[g]) ++result.differs[f][g];
        }
      }
      result.rows.push_back(std::move(row));
    }
  }
  return result;
}

}  // namespace quillet::test
