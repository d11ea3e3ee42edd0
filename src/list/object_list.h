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
// what is shown: saving and printing read it back.
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

  void SetObserver(ListObserver* observer) { observer_ = observer; }

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // row is 1..RowCount().
  std::string_view CellText(int row, Column column) const;
  const ObjectRow& Row(int row) const;
  const std::vector<ObjectRow>& Rows() const { return rows_; }

  void Append(const ObjectRow& row);
  void RemoveRow(int row);
  // Removes every row whose file tag is that of `file`; the other file's rows keep their order.
  void RemoveRowsOfFile(int file);
  void RemoveAll();
  void Reserve(int rows);
  // Orders the rows by the text of one column (see RowBefore); rows with equal texts keep
  // their order, ascending or descending.
  void SortByColumn(Column column, bool ascending);

 private:
  std::vector<ObjectRow> rows_;
  ListObserver* observer_ = nullptr;
  int change_depth_ = 0;
};

}  // namespace quillet
