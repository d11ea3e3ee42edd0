#pragma once

#include <string_view>
#include <vector>

#include "list/object_row.h"

namespace quillet {

// Told around every change of the rows, once per outermost change: a listing of 20000 rows is
// one change, not 20000.
class ListObserver {
 public:
  virtual ~ListObserver() = default;
  virtual void ListAboutToChange() = 0;
  virtual void ListChanged() = 0;
};

// The rows the list shows, in display order. This, not the object table, is the record of
// what is shown: saving and printing read it back. Its texts are the table's records.
class ObjectList {
 public:
  // Groups changes so the observer hears of them once; scopes nest.
  class ChangeScope {
   public:
    explicit ChangeScope(ObjectList& list);
    ~ChangeScope();
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

   private:
    ObjectList& list_;
  };

  explicit ObjectList(const ObjectTable& table) : table_(table) {}

  void SetObserver(ListObserver* observer) { observer_ = observer; }

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // row is 1..RowCount().
  const ObjectRow& Row(int row) const;
  std::string_view CellText(int row, Column column) const { return View(row).Cell(column); }
  RowView View(int row) const { return ViewOf(Row(row)); }
  RowView ViewOf(const ObjectRow& row) const {
    return {row.file,    table_.Record(row.file, static_cast<int>(row.index)),
            view_,       row.status,
            row.changed, row.group};
  }
  // What the rows are: objects, or a keyed comparison's result with a status each.
  ListView view() const { return view_; }
  void SetView(ListView view);
  const std::vector<ObjectRow>& Rows() const { return rows_; }
  const ObjectTable& table() const { return table_; }

  void Append(const ObjectRow& row);
  void RemoveRow(int row);
  // Removes every row of `file`; the other files' rows keep their order.
  void RemoveRowsOfFile(int file);
  void RemoveAll();
  void Reserve(std::size_t rows);
  // Orders the rows by the text of one column (see CompareCellTexts); rows with equal texts
  // keep their order, ascending or descending.
  void SortByColumn(Column column, bool ascending);

 private:
  const ObjectTable& table_;
  ListView view_ = ListView::kObjects;
  std::vector<ObjectRow> rows_;
  ListObserver* observer_ = nullptr;
  int change_depth_ = 0;
};

}  // namespace quillet
