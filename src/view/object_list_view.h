#pragma once

#include <QTableView>

namespace quillet {

// The list of objects: a table shown as a plain list of rows. A table keeps 8 bytes a row for
// its row positions, where a tree view keeps a 40-byte item a row; at a million rows that is
// the larger part of the window's memory.
class ObjectListView : public QTableView {
  Q_OBJECT

 public:
  explicit ObjectListView(QWidget* parent = nullptr);

  QHeaderView* header() const { return horizontalHeader(); }

 protected:
  // Home and End go to the first and last row, as in any list, not to the ends of the row.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void changeEvent(QEvent* event) override;
  // The focus frame goes round the current row, not round one of its cells.
  void paintEvent(QPaintEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void FitRowHeight();
  void UpdateRow(const QModelIndex& index);
};

}  // namespace quillet
