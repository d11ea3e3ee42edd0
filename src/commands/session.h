#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/across_matrix.h"
#include "commands/background_filter.h"
#include "commands/command.h"
#include "commands/compare.h"
#include "commands/workspace.h"
#include "list/columns.h"
#include "list/row_query.h"
#include "objects/object_file_reader.h"
#include "platform/input_file.h"
#include "platform/result.h"

namespace quillet {

// A slot a file is loaded into: the base (0), file #1, file #2.
struct LoadedSlot {
  std::filesystem::path name;    // empty: nothing loaded
  bool changed_on_disk = false;  // changed since it was read; only the user reads it again
  bool stream = false;           // read from a pipe or a device: all there is, never read again
};

// What the window shows, without the window: the files in their slots, the list and what it
// is (the objects, or a comparison with its criteria and the statuses it lists), the row
// filter, the filter text, the sort, and which loaded files changed on disk. It runs the
// commands; the window draws it after each and words what it reports. Everything here is
// reachable without widgets, which is how the tests drive it.
// `text` without its last word and the blanks before it: "type:codeunit id:1." gives
// "type:codeunit".
std::string_view WithoutLastWord(std::string_view text);

class Session {
 public:
  // Reports go to `status` and `messages`, as values.
  Session(ObjectTable& table, StatusSink& status, MessageSink& messages);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const ObjectTable& table() const { return table_; }
  // The list view's model observes the list, so it is handed out to be observed.
  ObjectList& list() { return list_; }
  const ObjectList& list() const { return list_; }
  const RowFilter& filter() const { return filter_; }
  // Slots 0 (the base), 1 and 2.
  const LoadedSlot& Slot(int file) const;
  int SlotCount() const { return static_cast<int>(slots_.size()); }
  // The comparison the list shows, so that a reload and the type buttons show it again; kNone
  // while it lists the files' objects, or nothing.
  CompareMode compared() const { return compared_; }
  const CompareCriteria& criteria() const { return criteria_; }
  // The statuses the keyed comparisons list, and the shown one's counts by status value.
  const KeyedChoice& listed() const { return listed_; }
  const std::vector<long long>& keyed_counts() const { return keyed_counts_; }
  // The pairs, triples and lone objects of each status the list shows now, by status value:
  // what the filter leaves of keyed_counts(). Empty outside the keyed views.
  std::vector<long long> ShownKeyedCounts() const;
  // The filter the list shows what it leaves of: the last that could be read and was found.
  const std::string& filter_text() const { return filter_text_; }
  // The column of the last ascending sort; the next click on it sorts descending.
  std::optional<Column> sort_column() const { return sort_column_; }

  bool Enabled(Command command) const;
  // Some loaded file changed on disk since it was read.
  bool ChangedOnDisk() const;
  // The names of the loaded files, each once: what is watched for changes and read again by a
  // reload (not what a pipe or a device gave).
  std::vector<std::filesystem::path> LoadedFiles() const;

  // The row filter the window starts with (the stored types and hide-system flag).
  void SetRowFilter(const RowFilter& filter) { filter_ = filter; }
  // Hiding system objects applies from the next listing on; the list is not rebuilt.
  void SetHideSystem(bool hide) { filter_.hide_system = hide; }

  // Empties the list and forgets the files.
  void New();
  // Reads a file into slot `file`, as the load commands do, and lists it; the base is read,
  // not listed. A file that is not there changes nothing.
  // `kinds` says whether a pipe or a device may stand for the file.
  LoadResult Load(const std::filesystem::path& file_name, int file,
                  InputKinds kinds = InputKinds::kFiles);
  // The two halves of Load, for a caller that has something to do in between.
  LoadResult Read(const std::filesystem::path& file_name, int file,
                  InputKinds kinds = InputKinds::kFiles);
  void Show(int file);
  // Shows or hides a type; the list follows at Relist(). Gives whether it is shown now.
  bool ToggleType(int type);
  // The list again with the current types: a keyed comparison again in its view, else both
  // files' objects.
  void Relist();
  // Both files' objects again.
  void ShowAll();
  // Replaces the list with a comparison's result; what the criteria dialog's OK runs.
  void Compare(CompareMode mode, const CompareCriteria& criteria);
  // The statuses the shown keyed comparison lists, a bit per status value; it runs again.
  void SetListed(unsigned bits);
  // Reads the loaded files again and shows what the list (or the matrix) showed; gives how
  // the matrix's files were read.
  std::vector<AcrossFileRead> Reload();
  // A watched file changed on disk: the slots that hold that file, by any name, are out of date.
  void FileChanged(const std::filesystem::path& file_name);
  // Filters the list on this thread; a filter that cannot be read says why, and the list keeps
  // what the words before the last one leave when they can be read, else the last good filter's
  // result.
  Status SetFilter(std::string_view text);
  void ApplyFilter(RowQuery query, std::string_view text);
  // The same, with the rows the filter leaves found on another thread: the list shows the last
  // filter found until FinishFilter takes the new one. A filter started abandons the one before
  // it; the commands that change the rows find it again over the new rows. A filter that
  // cannot be read says why and starts what SetFilter would show; the empty filter, and any
  // while the matrix is shown, are shown at once.
  Status StartFilter(std::string_view text);
  // Shows the filter started last, once it is found. Gives whether the list changed.
  bool FinishFilter();
  // A filter was started and is not shown yet.
  bool FilterPending() const { return background_.Pending(); }
  // Called on the filter's thread when a filter is found: FinishFilter is then to run on this
  // one.
  void SetFilterFound(std::function<void()> found) { background_.SetFound(std::move(found)); }
  BackgroundFilter& background_filter() { return background_; }
  // Sorts by a column: ascending, then descending on a second click of the same column. Gives
  // true for ascending.
  bool SortBy(Column column);

  // The comparison across many files: kept from "Compare many files" until New, and shown
  // instead of the list until a command shows the list again. Null before.
  AcrossMatrix* across() { return across_.get(); }
  const AcrossMatrix* across() const { return across_.get(); }
  bool AcrossShown() const { return across_shown_; }
  // Told around every change of the matrix's rows, also when one matrix replaces another.
  void SetAcrossObserver(ListObserver* observer);
  // Reads the files into a matrix of their own, lines them up on `criteria` and shows it; the
  // list stays as it was. Gives how each file was read.
  std::vector<AcrossFileRead> CompareAcross(const std::vector<std::filesystem::path>& names,
                                            const CompareCriteria& criteria,
                                            InputKinds kinds = InputKinds::kFiles);
  // The kept matrix again, with the types and the filter of now.
  void ShowAcross();
  // The statuses the matrix lists; it lists again.
  void SetAcrossListed(AcrossStatuses listed);
  // Sorts the matrix (see AcrossMatrix::SortBy).
  bool SortAcrossBy(int column);
  // The matrix's files at `first` and `second` as file #1 and file #2, with the objects the
  // matrix read (a pipe is not read twice), and the changes between them on its criteria.
  void ShowChangesBetween(int first, int second);

 private:
  LoadedSlot& SlotAt(int file);
  void BeginFilter(RowQuery query, std::string_view text);
  // Forgets the matrix.
  void DropAcross();

  ObjectTable& table_;
  ObjectList list_{table_};
  BackgroundFilter background_{list_};  // reads list_: declared after it, so it stops first
  RowFilter filter_;
  Workspace ws_;
  std::vector<LoadedSlot> slots_ = std::vector<LoadedSlot>(kFileCount);

  CompareMode compared_ = CompareMode::kNone;
  CompareCriteria criteria_;
  KeyedChoice listed_;
  std::vector<long long> keyed_counts_;
  std::string filter_text_;
  std::string asked_text_;  // of the filter shown or being found, the last asked for
  std::optional<Column> sort_column_;

  std::unique_ptr<AcrossMatrix> across_;
  bool across_shown_ = false;
  ListObserver* across_observer_ = nullptr;
};

}  // namespace quillet
