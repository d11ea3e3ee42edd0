#pragma once

#include <QStyledItemDelegate>

namespace quillet {

// Cells hold full-width texts, filling blanks included, because saving and printing line up on
// them. On screen the blanks would only push text out of its column, so they are not drawn. A
// tinted cell (a field that changed) is drawn bold as well, so it stands out in grey too; a
// cell too narrow for its text shows it whole as a tool tip.
class TrimmedTextDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace quillet
