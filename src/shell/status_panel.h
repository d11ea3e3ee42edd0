#pragma once

#include <QFrame>
#include <QIcon>

class QLabel;

namespace quillet {

// One panel of the status bar: an optional icon and a text of fixed width. A text too long for
// the panel is shortened at its start (the file name matters more than the folders); the tool
// tip keeps it whole.
class StatusPanel final : public QFrame {
  Q_OBJECT

 public:
  StatusPanel(int width, const QString& text, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void SetText(const QString& text);
  void SetIcon(const QIcon& icon);
  bool HasIcon() const;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateShownText();

  QLabel* icon_;
  QLabel* label_;
  QString text_;
  int preferred_width_ = 0;
};

}  // namespace quillet
