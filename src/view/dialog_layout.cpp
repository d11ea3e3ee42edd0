#include "view/dialog_layout.h"

#include <QDialog>
#include <QLayout>

namespace quillet {
namespace {

constexpr int kDialogMargin = 11;

}  // namespace

void FitClientArea(QDialog& dialog, const QWidget& first, const QWidget& rightmost,
                   const QWidget& lowest) {
  QLayout* layout = dialog.layout();
  layout->setContentsMargins(kDialogMargin, kDialogMargin, kDialogMargin, kDialogMargin);
  dialog.adjustSize();
  layout->invalidate();
  layout->activate();
  const int margin = first.x();
  dialog.setFixedSize(rightmost.geometry().right() + 1 + margin,
                      lowest.geometry().bottom() + 1 + margin);
}

}  // namespace quillet
