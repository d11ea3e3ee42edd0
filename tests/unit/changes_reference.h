#pragma once

// The changes between two files the plain way: keys in an ordered map, every field compared by
// its text. Written apart from the engine and simple enough to check by reading; the engine must
// give exactly its rows, counts and exit flag.
#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "list/changes.h"
#include "objects/object_types.h"

namespace quillet::test {

inline std::string RefTrim(std::string_view text) {
  std::string trimmed(text);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(trimmed.begin());
  return trimmed;
}

struct RefKey {
  std::string type;
  std::string id;

  // Nine types in their order, others after by bytes; whole-number IDs by value, then by text;
  // the other IDs last, by bytes.
  auto Order() const {
    int rank = kTypeCount;
    for (int t = 0; t < kTypeCount; ++t) {
      if (kTypeNames[t] == type) rank = t;
    }
    const bool number = !id.empty() && id.find_first_not_of("0123456789") == std::string::npos;
    return std::make_tuple(rank, rank == kTypeCount ? type : std::string(), !number,
                           number ? std::stoull(id) : 0ULL, id);
  }
  bool operator<(const RefKey& other) const { return Order() < other.Order(); }
};

// The records of each file per key, in file order.
template <int kFiles>
std::map<RefKey, std::array<std::vector<int>, kFiles>> RefKeys(const ObjectTable& table,
                                                               const std::vector<int>& files) {
  std::map<RefKey, std::array<std::vector<int>, kFiles>> keys;
  for (int slot = 0; slot < kFiles; ++slot) {
    for (int i = 1; i <= table.Count(files[slot]); ++i) {
      const RefKey key{RefTrim(table.Read(files[slot], i, Field::kType)),
                       RefTrim(table.Read(files[slot], i, Field::kId))};
      keys[key][slot].push_back(i);
    }
  }
  return keys;
}

inline bool RefPasses(const RowFilter& filter, const RefKey& key) {
  for (int t = 0; t < kTypeCount; ++t) {
    if (kTypeNames[t] == key.type && !filter.types[t]) return false;
  }
  return !filter.hide_system || key.id.size() < 10;
}

// The ticked fields among Name, Version, Date, Time and BLOB size whose texts differ.
inline FieldMask RefDiffering(const ObjectTable& table, const CompareCriteria& criteria, int file_a,
                              int a, int file_b, int b) {
  const std::pair<bool, Field> fields[] = {{criteria.use_name, Field::kName},
                                           {criteria.use_version, Field::kVersion},
                                           {criteria.use_date, Field::kDate},
                                           {criteria.use_time, Field::kTime},
                                           {criteria.use_bsize, Field::kBlobSize}};
  FieldMask mask = 0;
  for (const auto& [ticked, field] : fields) {
    if (ticked && table.Read(file_a, a, field) != table.Read(file_b, b, field)) {
      mask |= 1u << static_cast<int>(field);
    }
  }
  return mask;
}

template <class Status>
struct RefResult {
  std::vector<KeyedRow<Status>> rows;
  std::vector<std::pair<std::string, std::map<Status, long long>>> by_type;
  std::map<Status, long long> total;
  bool flag = false;  // the exit flag
};

// Counts a group and lists its rows when its status is chosen.
template <class Status>
void RefAdd(RefResult<Status>& result, const std::string& type, Status status, FieldMask mask,
            const std::vector<std::pair<int, int>>& rows, StatusSet<Status> listed, int& group) {
  if (result.by_type.empty() || result.by_type.back().first != type) {
    result.by_type.push_back({type, {}});
  }
  ++result.by_type.back().second[status];
  ++result.total[status];
  if (!listed.Has(status)) return;
  ++group;
  for (const auto& [file, index] : rows) result.rows.push_back({file, index, status, mask, group});
}

inline RefResult<ChangeStatus> ReferenceChanges(const ObjectTable& table,
                                                const CompareCriteria& criteria,
                                                const RowFilter& filter, ChangeStatuses listed) {
  RefResult<ChangeStatus> result;
  int group = 0;
  for (const auto& [key, members] : RefKeys<2>(table, {1, 2})) {
    if (!RefPasses(filter, key)) continue;
    const std::vector<int>& one = members[0];
    const std::vector<int>& two = members[1];
    for (std::size_t n = 0; n < one.size() && n < two.size(); ++n) {
      const FieldMask mask = RefDiffering(table, criteria, 1, one[n], 2, two[n]);
      const ChangeStatus status = mask == 0 ? ChangeStatus::kSame : ChangeStatus::kChanged;
      RefAdd(result, key.type, status, mask, {{1, one[n]}, {2, two[n]}}, listed, group);
      result.flag |= mask != 0;
    }
    for (std::size_t n = two.size(); n < one.size(); ++n) {
      RefAdd(result, key.type, ChangeStatus::kOnlyIn1, 0, {{1, one[n]}}, listed, group);
      result.flag = true;
    }
    for (std::size_t n = one.size(); n < two.size(); ++n) {
      RefAdd(result, key.type, ChangeStatus::kOnlyIn2, 0, {{2, two[n]}}, listed, group);
      result.flag = true;
    }
  }
  return result;
}

}  // namespace quillet::test
