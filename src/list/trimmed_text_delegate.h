#pragma once

#include <QStyledItemDelegate>

namespace quillet {

// Cells hold full-width texts, filling blanks included, because saving and printing line up on
// them. On screen the blanks would only push text out of its column, so they are not drawn.
class TrimmedTextDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace quillet
