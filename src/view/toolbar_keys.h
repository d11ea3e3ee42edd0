#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace quillet {

// The toolbar without a mouse. Enter() puts the focus on its first button that can be pressed;
// Left and Right (Home, End) go from button to button, Space, Return and Enter press it, Down
// (or Alt+Down) opens its menu where it has one (the recent files), and Esc goes back to where
// the focus came from.
class ToolbarKeys final : public QObject {
  Q_OBJECT

 public:
  // `menu_of` gives a button's menu, or none.
  ToolbarKeys(QToolBar& bar, std::function<QMenu*(QAction*)> menu_of);

  void Enter(QWidget* back);
  // The button with the focus, or none.
  QToolButton* Current() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The buttons that can be pressed now, left to right.
  std::vector<QToolButton*> Buttons() const;
  void Focus(QToolButton* button);

  QToolBar& bar_;
  std::function<QMenu*(QAction*)> menu_of_;
  QPointer<QWidget> back_;
};

}  // namespace quillet
