#pragma once

#include <QStyledItemDelegate>

namespace quillet {

// Draws a cell that has a variant (AcrossMatrixModel::kVariantRole) as its letter, bold, on the
// letter's colour, and a file without the object as plain grey. A selected one keeps its colour
// inside a frame of the selection's: the colour is what the user reads. Other cells as usual.
class AcrossCellDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace quillet
