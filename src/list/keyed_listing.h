#pragma once

// What the keyed comparisons (the changes between two files and the upgrade analysis against a
// base) share: their rows and visitor, the choice of statuses listed, the counts per type, and
// the listing with its progress.
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "list/changed_fields.h"
#include "objects/progress_ticker.h"
#include "objects/status_sink.h"
#include "platform/bulk_memory.h"

namespace quillet {

// One result row. The rows of a pair or triple come together and share a group, so a view that
// sorts can still keep them together.
template <class Status>
struct KeyedRow {
  int file;           // 1 or 2, or kBaseFile
  int index;          // the record, 1-based
  Status status;      // of the row's group
  FieldMask changed;  // the counted fields that differ within the group
  int group;          // 1, 2, ... in list order

  bool operator==(const KeyedRow&) const = default;
};

// Receives the rows of a keyed comparison in list order, as ComparisonVisitor does for the
// others.
template <class Status>
class KeyedVisitor {
 public:
  virtual ~KeyedVisitor() = default;
  // Told before the first row: how many groups of each status there are (by the status's
  // value), whatever is listed; a report shows them above its rows.
  virtual void Counted(std::span<const long long> /*groups_by_status*/) {}
  // Told before the first row.
  virtual void ExpectRows(long long /*rows*/) {}
  // Returning false ends the listing; the counts and the status still reach their end state.
  virtual bool Row(const KeyedRow<Status>& row) = 0;
};

// Which statuses a listing shows.
template <class Status>
class StatusSet {
 public:
  constexpr StatusSet() = default;
  constexpr StatusSet(std::initializer_list<Status> statuses) {
    for (const Status status : statuses) Add(status);
  }
  // Status n as bit n: the form a bar of toggles and the command line's --show hand over.
  static constexpr StatusSet FromBits(unsigned bits) {
    StatusSet set;
    set.bits_ = bits;
    return set;
  }
  constexpr unsigned Bits() const { return bits_; }
  constexpr bool Has(Status status) const { return (bits_ & Bit(status)) != 0; }
  constexpr StatusSet& Add(Status status) {
    bits_ |= Bit(status);
    return *this;
  }
  constexpr StatusSet& Remove(Status status) {
    bits_ &= ~Bit(status);
    return *this;
  }
  constexpr bool operator==(const StatusSet&) const = default;

 private:
  static constexpr unsigned Bit(Status status) { return 1u << static_cast<int>(status); }
  unsigned bits_ = 0;
};

// A number per status.
template <class Status, int kStatusCount>
struct StatusCounts {
  std::array<long long, kStatusCount> values{};

  long long& operator[](Status status) { return values[static_cast<int>(status)]; }
  long long operator[](Status status) const { return values[static_cast<int>(status)]; }
  bool operator==(const StatusCounts&) const = default;
};

template <class Status, int kStatusCount>
struct TypeCounts {
  std::string type;  // the trimmed type text
  StatusCounts<Status, kStatusCount> counts;

  bool operator==(const TypeCounts&) const = default;
};

// What passed the row filter, whatever the listing shows: each group (pair, triple or lone
// object) counted once under its status.
template <class Status, int kStatusCount>
struct KeyedCounts {
  std::vector<TypeCounts<Status, kStatusCount>> by_type;  // in list order; no empty types
  StatusCounts<Status, kStatusCount> total;

  bool operator==(const KeyedCounts&) const = default;
};

struct RecordRef {
  int file;
  int index;
};

inline void BeginKeyedAnalysis(StatusSink& sink) { sink.Begin(Phase::kComparing, 0); }

// The groups an engine finds, in list order, counted as they come; then listed. Keeping them
// first lets the visitor learn the number of rows before the first one. Only the groups whose
// status is listed are kept: most pairs of two releases are the same, and are only counted.
template <class Status, int kStatusCount>
class KeyedGroups {
 public:
  KeyedGroups(StatusSet<Status> listed, std::size_t objects) : listed_(listed) {
    // Only what is written is touched: the rest of the room costs address space alone.
    groups_.reserve(objects);
    rows_.reserve(objects);
  }

  // Groups of one type must come one after another, as list order has them.
  void Add(std::string_view type, Status status, FieldMask changed,
           std::span<const RecordRef> rows) {
    if (counts_.by_type.empty() || counts_.by_type.back().type != type) {
      counts_.by_type.push_back({std::string(type), {}});
    }
    ++counts_.by_type.back().counts[status];
    ++counts_.total[status];
    if (listed_.Has(status)) {
      groups_.push_back({status, changed, static_cast<int>(rows_.size()),
                         static_cast<int>(rows.size()), group_count_});
      rows_.insert(rows_.end(), rows.begin(), rows.end());
    }
    ++group_count_;
  }

  const KeyedCounts<Status, kStatusCount>& Counts() const { return counts_; }

  // Hands the rows of the listed groups to `visitor`, reporting progress through `sink` over
  // every group found, listed or not, until it is finished. Gives the number of rows the
  // visitor took.
  long long List(StatusSink& sink, KeyedVisitor<Status>& visitor) const {
    visitor.Counted(counts_.total.values);
    visitor.ExpectRows(static_cast<long long>(rows_.size()));

    long long rows = 0;
    int number = 0;
    bool listing = true;
    const long long total = group_count_;
    ProgressTicker ticker(total);
    long long ticked = 0;  // the groups whose step has been told, if it was due
    const auto tick_through = [&](long long groups) {
      for (; ticked < groups; ++ticked) {
        if (ticker.Due(ticked + 1)) sink.Advance({Phase::kComparing, 0, ticked + 1, total});
      }
    };
    for (const Group& group : groups_) {
      if (!listing) break;
      tick_through(group.position);
      ++number;
      for (int r = 0; r < group.row_count && listing; ++r) {
        const RecordRef& row = rows_[static_cast<std::size_t>(group.first_row + r)];
        listing = visitor.Row({row.file, row.index, group.status, group.changed, number});
        rows += listing;
      }
    }
    tick_through(total);
    sink.Begin(Phase::kFinished, 0);
    return rows;
  }

 private:
  struct Group {
    Status status;
    FieldMask changed;
    int first_row;
    int row_count;
    int position;  // among all groups found
  };

  StatusSet<Status> listed_;
  KeyedCounts<Status, kStatusCount> counts_;
  BulkVector<Group> groups_;
  BulkVector<RecordRef> rows_;
  int group_count_ = 0;
};

}  // namespace quillet
