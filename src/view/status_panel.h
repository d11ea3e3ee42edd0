#pragma once

#include <QFrame>
#include <QIcon>

class QFontMetrics;
class QLabel;

namespace quillet {

// A file's name shortened to `room` pixels: the folder part first, in its middle, so the file's
// own name stays whole ("/home/an…/x/50k.fob"); where even that is too long, the text is
// shortened from its start, so the name's end and extension stay.
QString ShortenedPath(const QString& path, const QFontMetrics& metrics, int room);

// One panel of the status bar: an optional icon and a text. A panel that gives way (a file's
// name) shrinks first in a narrow window, its folder part shortened first; the others (what is
// going on, how far it came, the count) keep their text whole. The tool tip shows the whole
// text either way.
class StatusPanel final : public QFrame {
  Q_OBJECT

 public:
  StatusPanel(int width, const QString& text, bool gives_way, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void SetText(const QString& text);
  void SetIcon(const QIcon& icon);
  bool HasIcon() const;
  QSize sizeHint() const override;
  // What the panel shows of its text now.
  QString ShownText() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateShownText();
  void UpdateMinimumWidth();
  int TextRoom(const QString& text) const;

  QLabel* icon_;
  QLabel* label_;
  QString text_;
  int preferred_width_ = 0;
  bool gives_way_ = false;
};

}  // namespace quillet
