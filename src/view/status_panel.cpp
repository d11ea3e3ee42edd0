#include "view/status_panel.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillet {
namespace {

constexpr int kMargins = 2 + 2 + 4;  // the layout's left and right, and the frame
constexpr int kIconRoom = 16 + 3;

}  // namespace

StatusPanel::StatusPanel(int width, const QString& text, bool gives_way, QWidget* parent)
    : QFrame(parent),
      icon_(new QLabel(this)),
      label_(new QLabel(this)),
      preferred_width_(width),
      gives_way_(gives_way) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  if (gives_way_) {
    // Its full width when there is room; narrower, with a shortened text, in a narrow window.
    setMaximumWidth(width);
    setMinimumWidth(std::min(width, 40));
  }
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(3);
  icon_->setFixedSize(16, 16);
  icon_->hide();
  layout->addWidget(icon_);
  layout->addWidget(label_, 1);
  SetText(text);
}

int StatusPanel::TextRoom(const QString& text) const {
  return label_->fontMetrics().horizontalAdvance(text) + kMargins +
         (icon_->isVisibleTo(this) ? kIconRoom : 0);
}

void StatusPanel::SetText(const QString& text) {
  text_ = text;
  setToolTip(text_);
  if (!gives_way_) {
    // Never narrower than its text: what is going on and the count stay readable in full.
    setMinimumWidth(std::max(preferred_width_, TextRoom(text_)));
  }
  UpdateShownText();
}

void StatusPanel::SetIcon(const QIcon& icon) {
  icon_->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
  icon_->setVisible(!icon.isNull());
  UpdateShownText();
}

QSize StatusPanel::sizeHint() const {
  const int width = gives_way_ ? preferred_width_ : std::max(preferred_width_, TextRoom(text_));
  return {width, QFrame::sizeHint().height()};
}

bool StatusPanel::HasIcon() const { return !icon_->pixmap().isNull(); }

QString StatusPanel::ShownText() const { return label_->text(); }

void StatusPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  UpdateShownText();
}

void StatusPanel::UpdateShownText() {
  const int room = std::max(0, label_->width());
  if (!gives_way_ || room <= 0) {
    label_->setText(text_);
    return;
  }
  // A file's name keeps its start and its end, the parts that tell files apart.
  label_->setText(label_->fontMetrics().elidedText(text_, Qt::ElideMiddle, room));
}

}  // namespace quillet
