#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <vector>

#include "list/object_row.h"
#include "list/row_query.h"
#include "objects/status_sink.h"
#include "platform/bulk_memory.h"

namespace quillet {

// Told around every change of the rows, once per outermost change: a listing of 20000 rows is
// one change, not 20000.
class ListObserver {
 public:
  virtual ~ListObserver() = default;
  virtual void ListAboutToChange() = 0;
  virtual void ListChanged() = 0;
};

// A row with its texts, in `view`.
inline RowView RowViewOf(const ObjectTable& table, ListView view, const ObjectRow& row) {
  return {row.file,    table.Record(row.file, static_cast<int>(row.index)),
          view,        row.status,
          row.changed, row.group};
}

// Something that reads the rows and their records on another thread (the filter, applied while
// the user types). It is told before the rows change, and must have stopped reading them when
// RowsChanging returns; RowsChanged says it may read them again. The rows of a file are removed
// before its records are read again, so their records never change under a reader either.
class RowsReader {
 public:
  virtual ~RowsReader() = default;
  virtual void RowsChanging() = 0;
  virtual void RowsChanged() = 0;
};

// The positions among `rows` of those `query` leaves, in order; a group (rows shown together)
// stays whole when any of its rows matches, wherever its rows stand. Nothing when `stop` is
// asked for before the end. It only reads, so it may run on another thread while the rows and
// their records stay as they are.
std::optional<BulkVector<std::uint32_t>> MatchingPositions(const ObjectTable& table, ListView view,
                                                           std::span<const ObjectRow> rows,
                                                           const RowQuery& query,
                                                           std::stop_token stop = {});

// The rows the list shows, in display order. This, not the object table, is the record of
// what is shown: saving, printing and copying read it back. Its texts are the table's records.
// A filter may hide rows: then the rows it leaves are those shown, counted and read back, and
// the others wait for the filter to change.
class ObjectList {
 public:
  // What a change changes: the rows (or the view, which changes what they mean), or only
  // which of them the filter shows.
  enum class Change { kRows, kShown };

  // Groups changes so the observer hears of them once; scopes nest.
  class ChangeScope {
   public:
    explicit ChangeScope(ObjectList& list, Change change = Change::kRows);
    ~ChangeScope();
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

   private:
    ObjectList& list_;
  };

  explicit ObjectList(const ObjectTable& table) : table_(table) {}

  void SetObserver(ListObserver* observer) { observer_ = observer; }
  // The one reader of the rows on another thread, or none.
  void SetRowsReader(RowsReader* reader) { reader_ = reader; }

  // The rows shown: row is 1..RowCount().
  int RowCount() const { return static_cast<int>(Filtered() ? shown_.size() : rows_.size()); }
  const ObjectRow& Row(int row) const;
  std::string_view CellText(int row, Column column) const { return View(row).Cell(column); }
  RowView View(int row) const { return ViewOf(Row(row)); }
  RowView ViewOf(const ObjectRow& row) const { return RowViewOf(table_, view_, row); }
  // Every row, those the filter hides too.
  const BulkVector<ObjectRow>& AllRows() const { return rows_; }
  int AllRowCount() const { return static_cast<int>(rows_.size()); }
  const ObjectTable& table() const { return table_; }

  // What the rows are: objects, or a keyed comparison's result with a status each.
  ListView view() const { return view_; }
  void SetView(ListView view);

  // Shows only the rows `query` matches; rows shown together (a pair) stay together, all of
  // them when any matches. The empty query shows every row. The filter stays for every
  // listing after, until it is set again.
  void SetQuery(RowQuery query);
  // The same with what MatchingPositions gave for `query` over AllRows() as they are now.
  void SetQuery(RowQuery query, BulkVector<std::uint32_t> shown);
  bool Filtered() const { return !query_.MatchesEverything(); }

  void Append(const ObjectRow& row);
  // Row `row` as shown.
  void RemoveRow(int row);
  // Removes every row of `file`; the other files' rows keep their order.
  void RemoveRowsOfFile(int file);
  void RemoveAll();
  // Forgets what a comparison said of the rows: their status, changed fields and pairing.
  void ClearMarks();
  void Reserve(std::size_t rows);
  // Orders the rows by the text of one column (see CompareCellTexts); rows with equal texts
  // keep their order, ascending or descending. In a view with statuses the rows of a pair stay
  // together: pairs go by their first row's cell, a lone row by its own. A filter shows the
  // same rows as before, in their new order, without being asked again.
  void SortByColumn(Column column, bool ascending);

 private:
  // Where shown row `row` (1-based) is among all rows.
  std::size_t Position(int row) const;
  // At the end of a change that needs it: which rows the filter leaves.
  void Refilter();
  // The rows reordered: `moved[k]` is where row k was.
  void Reorder(const BulkVector<std::uint32_t>& moved);

  const ObjectTable& table_;
  ListView view_ = ListView::kObjects;
  BulkVector<ObjectRow> rows_;
  RowQuery query_;
  BulkVector<std::uint32_t> shown_;  // with a filter: the positions of the rows it leaves
  ListObserver* observer_ = nullptr;
  RowsReader* reader_ = nullptr;
  int change_depth_ = 0;
  bool reader_stopped_ = false;  // the reader was told of this change
  bool refilter_ = false;        // shown_ is to be found again when the change ends
};

// The rows shown, and all the list holds.
ListCount CountOf(const ObjectList& list);

}  // namespace quillet
