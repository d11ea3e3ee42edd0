#include "view/status_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

namespace quillet {
namespace {

constexpr int kMargins = 2 + 2 + 4;  // the layout's left and right, and the frame
constexpr int kIconRoom = 16 + 3;
constexpr int kLongestNameRoom = 160;

}  // namespace

StatusPanel::StatusPanel(int width, const QString& text, bool gives_way, QWidget* parent)
    : QFrame(parent),
      icon_(new QLabel(this)),
      label_(new QLabel(this)),
      preferred_width_(width),
      gives_way_(gives_way) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Its full width when there is room; narrower, with a shortened text, in a narrow window.
  if (gives_way_) setMaximumWidth(width);
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
  UpdateMinimumWidth();
  UpdateShownText();
}

void StatusPanel::SetIcon(const QIcon& icon) {
  icon_->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
  icon_->setVisible(!icon.isNull());
  UpdateMinimumWidth();
  UpdateShownText();
}

void StatusPanel::UpdateMinimumWidth() {
  if (!gives_way_) {
    // Never narrower than its text: what is going on and the count stay readable in full. Its
    // usual width is room to spare, which a narrow window gives to the file names.
    setMinimumWidth(TextRoom(text_));
    return;
  }
  // Room for the file's own name after a shortened folder, so two files stay apart; a very long
  // name is shortened too rather than push the other panels off the window.
  const qsizetype cut = std::max(text_.lastIndexOf('/'), text_.lastIndexOf('\\')) + 1;
  const QString shortest = (cut > 0 ? QString(QChar(0x2026)) : QString()) + text_.mid(cut);
  setMinimumWidth(std::min({preferred_width_, kLongestNameRoom, TextRoom(shortest)}));
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

QString ShortenedPath(const QString& path, const QFontMetrics& metrics, int room) {
  if (metrics.horizontalAdvance(path) <= room) return path;
  // The file's own name tells two files apart: the folder gives way first, shortened in the
  // middle, so its start stays too.
  const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1;
  const QString folder = path.left(cut), name = path.mid(cut);
  const int name_room = metrics.horizontalAdvance(name);
  const QString ellipsis(QChar(0x2026));
  if (cut > 0 && name_room + metrics.horizontalAdvance(ellipsis) <= room) {
    return metrics.elidedText(folder, Qt::ElideMiddle, room - name_room) + name;
  }
  // Too narrow even for that: the end stays, which holds the extension.
  return metrics.elidedText(path, Qt::ElideLeft, room);
}

void StatusPanel::UpdateShownText() {
  const int room = std::max(0, label_->width());
  if (!gives_way_ || room <= 0) {
    label_->setText(text_);
    return;
  }
  label_->setText(ShortenedPath(text_, label_->fontMetrics(), room));
}

}  // namespace quillet
