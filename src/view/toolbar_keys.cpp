#include "view/toolbar_keys.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace quillet {

ToolbarKeys::ToolbarKeys(QToolBar& bar, std::function<QMenu*(QAction*)> menu_of)
    : QObject(&bar), bar_(bar), menu_of_(std::move(menu_of)) {
  for (QToolButton* button : bar_.findChildren<QToolButton*>()) button->installEventFilter(this);
}

std::vector<QToolButton*> ToolbarKeys::Buttons() const {
  std::vector<QToolButton*> buttons;
  for (QAction* action : bar_.actions()) {
    auto* button = qobject_cast<QToolButton*>(bar_.widgetForAction(action));
    if (button != nullptr && button->isEnabled() && button->isVisibleTo(&bar_)) {
      buttons.push_back(button);
    }
  }
  // In a narrow window the buttons that do not fit wait behind the toolbar's extension button.
  auto* more = bar_.findChild<QToolButton*>("qt_toolbar_ext_button");
  if (more != nullptr && more->isVisibleTo(&bar_)) buttons.push_back(more);
  return buttons;
}

QToolButton* ToolbarKeys::Current() const {
  for (QToolButton* button : Buttons()) {
    if (button->hasFocus()) return button;
  }
  return nullptr;
}

void ToolbarKeys::Enter(QWidget* back) {
  back_ = back;
  const std::vector<QToolButton*> buttons = Buttons();
  if (!buttons.empty()) Focus(buttons.front());
}

void ToolbarKeys::Focus(QToolButton* button) {
  // The focus frame shows, as after Tab.
  button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  button->setFocus(Qt::TabFocusReason);
}

bool ToolbarKeys::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (button == nullptr || event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const std::vector<QToolButton*> buttons = Buttons();
  const auto at = std::find(buttons.begin(), buttons.end(), button);
  if (at == buttons.end()) return QObject::eventFilter(watched, event);
  switch (key->key()) {
    case Qt::Key_Left:
      if (at != buttons.begin()) Focus(*(at - 1));
      return true;
    case Qt::Key_Right:
      if (at + 1 != buttons.end()) Focus(*(at + 1));
      return true;
    case Qt::Key_Home:
      Focus(buttons.front());
      return true;
    case Qt::Key_End:
      Focus(buttons.back());
      return true;
    case Qt::Key_Down: {
      QMenu* menu =
          button->defaultAction() != nullptr ? menu_of_(button->defaultAction()) : nullptr;
      if (menu == nullptr) menu = button->menu();
      if (menu != nullptr) menu->popup(button->mapToGlobal(button->rect().bottomLeft()));
      return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      button->click();
      return true;
    case Qt::Key_Escape:
      if (back_ != nullptr) back_->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace quillet
