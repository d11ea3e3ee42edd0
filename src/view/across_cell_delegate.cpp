#include "view/across_cell_delegate.h"

#include <QPainter>

#include "view/across_matrix_model.h"

namespace quillet {

void AcrossCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QVariant variant = index.data(AcrossMatrixModel::kVariantRole);
  if (!variant.isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  painter->save();
  const QRect cell = option.rect;
  painter->fillRect(cell, index.data(Qt::BackgroundRole).value<QBrush>());
  if (variant.toInt() >= 0) {
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
    painter->drawText(cell, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
  }
  if (option.state & QStyle::State_Selected) {
    QPen frame(option.palette.color(QPalette::Highlight));
    frame.setWidth(2);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(1, 1, -1, -1));
  }
  painter->restore();
}

}  // namespace quillet
