#include "shell/status_panel.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillet {

StatusPanel::StatusPanel(int width, const QString& text, QWidget* parent)
    : QFrame(parent), icon_(new QLabel(this)), label_(new QLabel(this)) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Its full width when there is room; narrower, with a shortened text, in a narrow window.
  setMaximumWidth(width);
  setMinimumWidth(std::min(width, 40));
  preferred_width_ = width;
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(3);
  icon_->setFixedSize(16, 16);
  icon_->hide();
  layout->addWidget(icon_);
  layout->addWidget(label_, 1);
  SetText(text);
}

void StatusPanel::SetText(const QString& text) {
  text_ = text;
  UpdateShownText();
}

void StatusPanel::SetIcon(const QIcon& icon) {
  icon_->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
  icon_->setVisible(!icon.isNull());
  UpdateShownText();
}

QSize StatusPanel::sizeHint() const { return {preferred_width_, QFrame::sizeHint().height()}; }

bool StatusPanel::HasIcon() const { return !icon_->pixmap().isNull(); }

void StatusPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  UpdateShownText();
}

void StatusPanel::UpdateShownText() {
  const int room = std::max(0, label_->width());
  label_->setText(room > 0 ? label_->fontMetrics().elidedText(text_, Qt::ElideLeft, room) : text_);
}

}  // namespace quillet
