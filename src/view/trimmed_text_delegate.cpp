#include "view/trimmed_text_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace quillet {

void TrimmedTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->state &= ~QStyle::State_HasFocus;  // the list frames its current row as a whole
  qsizetype begin = 0, end = option->text.size();
  while (begin < end && option->text[begin] == ' ') ++begin;
  while (end > begin && option->text[end - 1] == ' ') --end;
  option->text = option->text.mid(begin, end - begin);
  if (index.data(Qt::BackgroundRole).isValid()) option->font.setBold(true);
}

bool TrimmedTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  QStyleOptionViewItem shown = option;
  initStyleOption(&shown, index);
  // Room for the text: the cell less its icon and the margins the style draws.
  const int margins = 8 + (shown.features.testFlag(QStyleOptionViewItem::HasDecoration)
                               ? shown.decorationSize.width() + 4
                               : 0);
  const int needed = QFontMetrics(shown.font).horizontalAdvance(shown.text) + margins;
  if (!shown.text.isEmpty() && needed > option.rect.width()) {
    QToolTip::showText(event->globalPos(), shown.text, view, option.rect);
  } else {
    QToolTip::hideText();
  }
  return true;
}

}  // namespace quillet
