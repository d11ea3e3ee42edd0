#include "view/object_list_view.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace quillet {
namespace {

bool OpensContextMenu(const QKeyEvent& event) {
  return event.key() == Qt::Key_Menu ||
         (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
}

}  // namespace

void OpenContextMenu(QWidget& widget, const QPoint& at) {
  QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget.mapToGlobal(at));
  QCoreApplication::sendEvent(&widget, &menu);
}

ListHeader::ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setFocusPolicy(Qt::TabFocus);
}

QList<int> ListHeader::ShownSections() const {
  QList<int> shown;
  for (int visual = 0; visual < count(); ++visual) {
    const int logical = logicalIndex(visual);
    // A column is hidden by its width, as Modified and Compiled start.
    if (!isSectionHidden(logical) && sectionSize(logical) > 0) shown << logical;
  }
  return shown;
}

void ListHeader::MoveFocus(int to) {
  focus_section_ = to;
  viewport()->update();
  auto* table = qobject_cast<QTableView*>(parentWidget());
  if (to >= 0 && table != nullptr && table->model() != nullptr) {
    // Scrolled into view, as the list scrolls to its current row.
    const int row = std::max(0, table->currentIndex().row());
    table->scrollTo(table->model()->index(row, to), QAbstractItemView::EnsureVisible);
  }
}

void ListHeader::focusInEvent(QFocusEvent* event) {
  QHeaderView::focusInEvent(event);
  const QList<int> shown = ShownSections();
  if (!shown.contains(focus_section_)) MoveFocus(shown.isEmpty() ? -1 : shown.first());
  viewport()->update();
}

void ListHeader::focusOutEvent(QFocusEvent* event) {
  QHeaderView::focusOutEvent(event);
  viewport()->update();
}

void ListHeader::keyPressEvent(QKeyEvent* event) {
  const QList<int> shown = ShownSections();
  const qsizetype at = shown.indexOf(focus_section_);
  if (OpensContextMenu(*event)) {
    if (focus_section_ >= 0) {
      const int x = sectionViewportPosition(focus_section_) + sectionSize(focus_section_) / 2;
      OpenContextMenu(*this, QPoint(x, height() / 2));
    }
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left:
      if (at > 0) MoveFocus(shown[at - 1]);
      return;
    case Qt::Key_Right:
      if (at >= 0 && at + 1 < shown.size()) MoveFocus(shown[at + 1]);
      return;
    case Qt::Key_Home:
      if (!shown.isEmpty()) MoveFocus(shown.first());
      return;
    case Qt::Key_End:
      if (!shown.isEmpty()) MoveFocus(shown.last());
      return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (focus_section_ >= 0) emit sectionClicked(focus_section_);
      return;
    default:
      QHeaderView::keyPressEvent(event);
  }
}

void ListHeader::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
  QHeaderView::paintSection(painter, rect, logical_index);
  if (!hasFocus() || logical_index != focus_section_) return;
  painter->save();
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = rect.adjusted(2, 2, -2, -2);
  frame.state |= QStyle::State_KeyboardFocusChange;
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, this);
  painter->restore();
}

ObjectListView::ObjectListView(QWidget* parent) : QTableView(parent) {
  setHorizontalHeader(new ListHeader(this));
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

void ObjectListView::keyPressEvent(QKeyEvent* event) {
  if (OpensContextMenu(*event)) {
    const QModelIndex current = currentIndex();
    const QPoint at = current.isValid() ? visualRect(current).center() : QPoint(0, 0);
    // Where the row stands in the rows' area, as the platform's Menu key gives it.
    OpenContextMenu(*this, at);
    return;
  }
  QTableView::keyPressEvent(event);
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
