#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "list/across.h"
#include "list/across_files.h"
#include "list/compare_criteria.h"
#include "list/object_list.h"
#include "list/row_filter.h"
#include "list/row_query.h"
#include "objects/status_sink.h"
#include "platform/bulk_memory.h"
#include "platform/input_file.h"
#include "platform/result.h"

namespace quillet {

// A file of the matrix as the window keeps it.
struct AcrossFile {
  std::filesystem::path name;
  bool stream = false;           // read from a pipe or a device: all there is, never read again
  bool changed_on_disk = false;  // changed since it was read; only the user reads it again
};

// How reading one file went: what it held, or why it could not be read.
struct AcrossFileRead {
  int position = 0;
  Result<LoadResult> read = LoadResult{};
};

// The matrix's columns: the key, the first file's name, the number of variants, then a column
// per file in the order the files were named.
inline constexpr int kAcrossTypeColumn = 0;
inline constexpr int kAcrossIdColumn = 1;
inline constexpr int kAcrossNameColumn = 2;
inline constexpr int kAcrossVariantsColumn = 3;
inline constexpr int kAcrossFirstFileColumn = 4;

// The header of a column that is not a file's.
std::string_view AcrossColumnHeader(int column);

// A status of a row, as the toggles, the counts and the printout name it.
std::string_view AcrossStatusText(AcrossStatus status);

// The comparison across many files as the window shows it: the files, read into a table of
// their own and lined up by key, and the rows it lists as two numbers each (the key and the
// instance), so that a row costs 8 bytes however many files there are; a row's cells are made
// again when they are asked for. The rows are those of the listed statuses that pass the types,
// the system flag and the filter, in the order of the last sort; rows of one key stay together.
class AcrossMatrix {
 public:
  explicit AcrossMatrix(const CompareCriteria& criteria) : criteria_(criteria) {}
  AcrossMatrix(const AcrossMatrix&) = delete;
  AcrossMatrix& operator=(const AcrossMatrix&) = delete;

  // The model observes the rows, reset once per listing.
  void SetObserver(ListObserver* observer) { observer_ = observer; }

  // Reads the files in order, each one's loading reported, and lines them up; nothing is
  // listed yet. Gives how each read went: a file that could not be read holds no objects.
  std::vector<AcrossFileRead> Read(const std::vector<std::filesystem::path>& names,
                                   StatusSink& status, InputKinds kinds = InputKinds::kFiles);
  // Reads again the files a pipe or a device did not give and lines them up again; nothing is
  // listed until List. Gives how each read went.
  std::vector<AcrossFileRead> Reload(StatusSink& status);

  int FileCount() const { return static_cast<int>(files_.size()); }
  const AcrossFile& File(int position) const {
    return files_.at(static_cast<std::size_t>(position));
  }
  const ObjectTable& table() const { return files_read_.table(); }
  // The table's area of the file at `position`.
  int Area(int position) const { return position + 1; }
  const CompareCriteria& criteria() const { return criteria_; }
  bool ChangedOnDisk() const;
  // A watched file changed on disk: the files of that name are out of date.
  void FileChanged(const std::filesystem::path& file_name);

  AcrossStatuses listed() const { return listed_; }
  // The statuses listed from the next listing on.
  void SetListed(AcrossStatuses listed) { listed_ = listed; }
  // The filter the next listing applies: a row stays when any file's object matches.
  void SetQuery(RowQuery query) { query_ = std::move(query); }
  // The rows again, with the types and the system flag of `filter`, in the sort order.
  // Reports "Analyzing...", the progress and "Finished" to `status`.
  void List(const RowFilter& filter, StatusSink& status);
  // The last listing's types and system flag.
  const RowFilter& filter() const { return filter_; }

  // The rows shown.
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Shown row `row` (from 0) with its cells; it stays valid until the next call or listing.
  // Throws std::out_of_range for a row there is not.
  const AcrossRow& Row(int row) const;
  // The rows shown, and all of the listed statuses the filter would leave without the query.
  ListCount Count() const;
  // Rows of a status that pass the types and the system flag, listed or not.
  long long StatusCount(AcrossStatus status) const { return result_.rows_by_status[status]; }
  // The last listing's summary: per file its key instances, those no other file has, and per
  // pair the rows on which the two differ.
  const AcrossSummary& summary() const { return result_.summary; }
  // All of it: the summary, the counts by status, whether any row differs.
  const AcrossResult& result() const { return result_; }

  // Sorts by a column: ascending, then descending on a second click of the same column, the
  // rows of one key together in their order. Gives true for ascending. Kept through later
  // listings.
  bool SortBy(int column, StatusSink& status);
  // The column sorted by and whether ascending; none: the order of the keys.
  std::optional<int> sort_column() const { return sort_column_; }
  bool sort_ascending() const { return sort_ascending_; }

 private:
  struct Shown {
    int key, instance;
  };
  class Collector;

  void Changing() const {
    if (observer_ != nullptr) observer_->ListAboutToChange();
  }
  void Changed() const {
    if (observer_ != nullptr) observer_->ListChanged();
  }

  CompareCriteria criteria_;
  std::vector<AcrossFile> files_;
  AcrossFiles files_read_;
  std::unique_ptr<AcrossComparison> comparison_;

  RowFilter filter_;
  AcrossStatuses listed_ = kDefaultAcrossStatuses;
  RowQuery query_;
  std::optional<int> sort_column_;
  bool sort_ascending_ = true;

  AcrossResult result_;
  BulkVector<Shown> rows_;
  ListObserver* observer_ = nullptr;

  // The row last asked for, made once however many cells of it are drawn.
  mutable int cached_ = -1;
  mutable AcrossRow cached_row_;
  mutable std::vector<AcrossCell> cached_cells_;
};

}  // namespace quillet
