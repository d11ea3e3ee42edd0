#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "list/compare_criteria.h"
#include "objects/object_table.h"
#include "platform/bulk_memory.h"

namespace quillet {

// Records of one file grouped by the texts of the fields that count. Two records match exactly
// when those texts are the same bytes, so matching is equality of a key, and a hash table finds
// every match of a record in one look-up instead of a scan of the other file.
class MatchIndex {
 public:
  MatchIndex(const ObjectTable& table, const CompareCriteria& criteria);

  // Indexes records `indices` (ascending, 1-based) of `file`, replacing what was indexed.
  void Build(int file, std::span<const int> indices);

  int GroupCount() const { return static_cast<int>(group_first_.size()); }
  // The group of record `index` of the other file, or -1 when no indexed record matches it.
  int Find(int index) const;
  // Find for records first .. first + count - 1 of the other file, into groups[0 .. count).
  // Looked up kBatch at a time, so that the slots and records of one are fetched while another
  // is compared: a scan of a large file would otherwise wait for memory at every record.
  static constexpr int kBatch = 16;
  void FindBatch(int first, int count, int* groups) const;
  // The group an indexed record went into, or -1 when it was not indexed.
  int GroupOfIndexed(int index) const;
  // The indexed records that match each other, in table order.
  std::span<const int> Members(int group) const;

 private:
  struct Segment {
    int offset;
    int length;
  };

  // Part of the hash beside the group in a slot, so most probes need not look at a record,
  // and the group's first member, so that one that must is found without another look-up.
  struct Slot {
    std::uint32_t tag;
    int group;  // -1 for an empty slot
    int first;
  };

  std::uint64_t Hash(const char* record) const;
  bool SameKey(const char* a, const char* b) const;
  // The slot of the group whose key is that of `record`, or the empty slot where it would go.
  std::size_t Probe(const char* record, std::uint64_t hash) const;
  const char* RecordOf(int file, int index) const { return table_.Record(file, index).data(); }

  const ObjectTable& table_;
  // The counted fields as byte ranges of a record, neighbours merged.
  std::vector<Segment> segments_;
  int file_ = 1;

  BulkVector<Slot> slots_;       // open addressing, a power of two long
  BulkVector<int> group_first_;  // the first member, whose texts stand for the group
  // Members of group g are members_[starts_[g] .. starts_[g + 1]).
  BulkVector<int> starts_;
  BulkVector<int> members_;
  BulkVector<int> group_of_;  // by record index of the indexed file
};

}  // namespace quillet
