#pragma once

#include <QHeaderView>
#include <QTableView>

namespace quillet {

// The column titles, reached from the keyboard too: Tab from the list gives them the focus,
// Left and Right (Home, End) choose a shown column, Space or Enter sorts by it as a click does,
// and Shift+F10 or the Menu key opens its menu.
class ListHeader final : public QHeaderView {
  Q_OBJECT

 public:
  explicit ListHeader(QWidget* parent);

  // The column the keys act on, logical; -1 for none.
  int FocusSection() const { return focus_section_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;

 private:
  // The shown columns, left to right, as logical indexes.
  QList<int> ShownSections() const;
  void MoveFocus(int to);

  int focus_section_ = -1;
};

// Shift+F10 and the Menu key open a widget's context menu at `at`, as a right click there does.
void OpenContextMenu(QWidget& widget, const QPoint& at);

// The list of objects: a table shown as a plain list of rows. A table keeps 8 bytes a row for
// its row positions, where a tree view keeps a 40-byte item a row; at a million rows that is
// the larger part of the window's memory.
class ObjectListView : public QTableView {
  Q_OBJECT

 public:
  explicit ObjectListView(QWidget* parent = nullptr);

  QHeaderView* header() const { return horizontalHeader(); }

 protected:
  // Shift+F10 and the Menu key open the row menu at the current row.
  void keyPressEvent(QKeyEvent* event) override;
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
