#pragma once

#include <filesystem>
#include <vector>

#include "list/across.h"
#include "objects/object_file_reader.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"
#include "platform/result.h"

namespace quillet {

// The files of a comparison across many, read into a table of their own: the file at position
// p (0, 1, ...) in area p + 1, so that its number in a message is its area's.
class AcrossFiles {
 public:
  explicit AcrossFiles(int capacity = kObjectCapacity) : table_(capacity) {}

  // Reads the next file as the window and the command line read file #1 and #2, reporting the
  // loading texts. A file that is missing or cannot be read gives why ("no such file",
  // "permission denied") and is kept with no objects; a file that ended inside its list of
  // objects, or held more than the table takes, is read as far as it goes, and the result says
  // so.
  // `kinds` says whether a pipe, a device or "-" may stand for the file, as for a load.
  Result<LoadResult> Add(const std::filesystem::path& file_name, StatusSink& status,
                         InputKinds kinds = InputKinds::kFiles);
  // Reads the file at `position` again into its area, as Add read it, for a window that reloads
  // what changed on disk; a file no longer there keeps what it held. No comparison of these
  // files may live meanwhile.
  Result<LoadResult> Reread(int position, StatusSink& status,
                            InputKinds kinds = InputKinds::kFiles);

  int FileCount() const { return static_cast<int>(names_.size()); }
  const std::filesystem::path& Name(int position) const {
    return names_.at(static_cast<std::size_t>(position));
  }
  const ObjectTable& table() const { return table_; }
  // The areas of the files, in order: what AcrossComparison takes.
  std::vector<int> Areas() const;

  // The files lined up by key on `criteria`; this must outlive it, unchanged.
  AcrossComparison Compare(const CompareCriteria& criteria) const {
    return {table_, Areas(), criteria};
  }

 private:
  ObjectTable table_;
  std::vector<std::filesystem::path> names_;
};

}  // namespace quillet
