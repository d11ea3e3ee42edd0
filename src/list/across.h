#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "list/across_summary.h"
#include "list/compare_criteria.h"
#include "list/keyed_listing.h"
#include "list/object_keys.h"
#include "list/row_filter.h"
#include "list/row_query.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"

namespace quillet {

// A row of a comparison across files differs when some file lacks its object or the objects
// are of more than one variant; otherwise it is the same.
enum class AcrossStatus : std::uint8_t { kDiffers, kSame };

inline constexpr int kAcrossStatusCount = 2;

using AcrossStatuses = StatusSet<AcrossStatus>;

inline constexpr AcrossStatuses kDefaultAcrossStatuses = {AcrossStatus::kDiffers};
inline constexpr AcrossStatuses kAllAcrossStatuses = {AcrossStatus::kDiffers, AcrossStatus::kSame};

inline constexpr int kNoVariant = -1;

// One file's cell of a row.
struct AcrossCell {
  int index = 0;             // the file's record, 1-based; 0 when it has no object here
  int variant = kNoVariant;  // 0 for A, 1 for B, ... (VariantLetters)
  std::string_view record;   // its kRecordWidth bytes; empty when there is no object

  bool HasObject() const { return index > 0; }
};

// A key instance: the k-th object of one key in each file.
struct AcrossRow {
  int key = 0;                // the key's number, for AcrossComparison::Row
  int instance = 0;           // 0 for each file's first object of the key, 1 for the second, ...
  std::string_view type, id;  // the key: without blanks at either end
  int first = 0;              // the lowest-numbered file that has an object here
  std::string_view name;      // that object's Name, full width
  int variants = 0;           // the different letters the row holds
  AcrossStatus status = AcrossStatus::kSame;
  std::span<const AcrossCell> cells;  // one per file, in the order of the files
};

// Receives the rows in list order.
class AcrossVisitor {
 public:
  virtual ~AcrossVisitor() = default;
  // Returning false ends the listing; the summary and the status still reach their end state.
  virtual bool Row(const AcrossRow& row) = 0;
};

// What a listing shows.
struct AcrossChoice {
  // Types and system objects, tested on the row's first object.
  RowFilter filter;
  AcrossStatuses listed = kDefaultAcrossStatuses;
  // A row stays when the object of any file matches; none: every row stays.
  const RowQuery* query = nullptr;
};

struct AcrossResult {
  // Over the rows that pass the types and the system objects, whatever is listed.
  AcrossSummary summary;
  StatusCounts<AcrossStatus, kAcrossStatusCount> rows_by_status;
  // Whether any of those rows differs.
  bool differs = false;
  long long rows = 0;  // rows the visitor took
};

// Objects of any number of files lined up by key, as the changes between two files are: the
// type and the ID without their outer blanks, byte for byte; the k-th object of a key in one
// file with the k-th of that key in the others. Each row's objects are sorted into variants on
// the counted fields (Name, Version, Date, Time and BLOB size, as `criteria` ticks them): the
// lowest-numbered file's object is A, the next different one met in file order B, and so on.
class AcrossComparison {
 public:
  // `files`: the table's areas, in the order the user named the files. The table must not
  // change while this lives.
  AcrossComparison(const ObjectTable& table, std::vector<int> files,
                   const CompareCriteria& criteria);

  int FileCount() const { return static_cast<int>(files_.size()); }
  // The table's area of the file at `position`.
  int Area(int position) const { return files_.at(static_cast<std::size_t>(position)); }

  // Rows by key in the order of the changes between two files, within a key by instance.
  // Reports "Analyzing...", the progress, and "Finished".
  AcrossResult List(const AcrossChoice& choice, StatusSink& status, AcrossVisitor& visitor) const;

  // The row (`key`, `instance`) as List gave it, for a view that keeps only those two numbers;
  // its cells are kept in `cells`. Throws std::out_of_range for a row there is not.
  AcrossRow Row(int key, int instance, std::vector<AcrossCell>& cells) const;

 private:
  struct Run {
    int slot, first, length;
  };
  class Walk;

  static constexpr long long kPrefetchedKeys = 8;

  // Record `index` (1-based, as the keys hold it) of the file at position `slot`.
  std::string_view RecordOf(int slot, int index) const {
    return {firsts_[static_cast<std::size_t>(slot)] +
                static_cast<std::size_t>(index - 1) * static_cast<std::size_t>(kRecordWidth),
            static_cast<std::size_t>(kRecordWidth)};
  }
  void Prefetch(int key) const;

  const ObjectTable& table_;
  std::vector<int> files_;
  FieldMask counted_;
  ObjectKeys keys_;
  // Each file's first record, its others after it: the keys' records reached without a look-up.
  std::vector<const char*> firsts_;
};

}  // namespace quillet
