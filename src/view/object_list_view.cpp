#include "view/object_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace quillet {

ObjectListView::ObjectListView(QWidget* parent) : QTableView(parent) {
  setShowGrid(false);
  setWordWrap(false);
  setTabKeyNavigation(false);  // Tab leaves the list, as it leaves any other field
  setCornerButtonEnabled(false);
  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* columns = horizontalHeader();
  columns->setHighlightSections(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  FitRowHeight();
  connect(this, &QAbstractItemView::iconSizeChanged, this, [this] { FitRowHeight(); });
}

QModelIndex ObjectListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
  return QTableView::moveCursor(action, modifiers);
}

void ObjectListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    horizontalHeader()->setFont(font());  // the titles in the list's own font, as the rows
    FitRowHeight();
  }
}

void ObjectListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !hasFocus()) return;
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = QRect(-horizontalOffset(), rowViewportPosition(current.row()),
                     horizontalHeader()->length(), rowHeight(current.row()));
  const bool selected = selectionModel() != nullptr && selectionModel()->isSelected(current);
  frame.backgroundColor = palette().color(selected ? QPalette::Highlight : QPalette::Base);
  // Shown whenever the list has the focus, as a tree view frames its current row.
  frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
  QPainter painter(viewport());
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

// The view repaints the cells that changed; the frame round the row needs the whole row.
void ObjectListView::UpdateRow(const QModelIndex& index) {
  if (!index.isValid()) return;
  viewport()->update(
      QRect(0, rowViewportPosition(index.row()), viewport()->width(), rowHeight(index.row())));
}

void ObjectListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  UpdateRow(previous);
  UpdateRow(current);
}

void ObjectListView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  UpdateRow(currentIndex());
}

void ObjectListView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  UpdateRow(currentIndex());
}

// Every row is one line high, or as high as an icon: the same for all rows, so none is measured.
void ObjectListView::FitRowHeight() {
  const int line = std::max(fontMetrics().height(), iconSize().height());
  verticalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setDefaultSectionSize(line + 2);
}

}  // namespace quillet
