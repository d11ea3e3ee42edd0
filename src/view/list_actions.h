#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "list/object_list.h"

class QAction;
class QMenu;
class QPoint;

namespace quillet {

class ObjectListView;

// What the list offers beyond showing rows: copying the selected rows, and the context menus
// on the rows (Copy, Copy IDs as filter, Save selection as..., Select all) and on the column
// headers (show or hide a column, fit a column to its contents).
class ListActions final : public QObject {
  Q_OBJECT

 public:
  // `save_rows` saves the rows it is given (shown row numbers) through the save dialog.
  ListActions(ObjectListView& view, const ObjectList& list,
              std::function<void(const std::vector<int>&)> save_rows);

  // The selected rows as shown, from 1, in the shown order.
  std::vector<int> SelectedRows() const;
  // The selected rows as tab-separated text with a header line (and as CSV for programs that
  // take it) to the clipboard: the columns shown, in their order.
  void Copy();
  // The columns the list shows now, left to right.
  std::vector<Column> ShownColumns() const;
  // The selected rows' IDs as the filter's id: lines, "Table: 18|27|5050..5060".
  void CopyIdsAsFilter();

  QAction* copy_action() const { return copy_; }

  // The menus as they would open, for the tests.
  QMenu* RowMenu();
  QMenu* HeaderMenu(int section);

 private:
  void ShowRowMenu(const QPoint& at);
  void ShowHeaderMenu(const QPoint& at);

  ObjectListView& view_;
  const ObjectList& list_;
  std::function<void(const std::vector<int>&)> save_rows_;
  QAction* copy_;
  QAction* copy_ids_;
  QAction* save_selection_;
  QAction* select_all_;
};

}  // namespace quillet
