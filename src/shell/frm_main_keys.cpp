// The main window's keys beyond its commands: the toolbar reached from the keyboard, closing
// the window and quitting.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QToolBar>

#include "shell/frm_main.h"
#include "view/object_list_view.h"
#include "view/toolbar_keys.h"

namespace quillet {

void FrmMain::BuildKeys() {
  // The load buttons' arrows offer the recent files; the keys offer the base's too.
  toolbar_keys_ = new ToolbarKeys(*tbMain_, [this](QAction* action) -> QMenu* {
    const QVariant command = action->data();
    if (!command.isValid()) return nullptr;
    const std::optional<int> slot = LoadSlotOf(static_cast<Command>(command.toInt()));
    return slot ? recent_menus_[static_cast<std::size_t>(*slot)] : nullptr;
  });
  const auto add = [this](const char* text, const QKeySequence& key, auto slot,
                          Qt::ShortcutContext context = Qt::WindowShortcut) {
    auto* action = new QAction(text, this);
    action->setShortcut(key);
    action->setShortcutContext(context);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
  };
  add("Toolbar", QKeySequence(Qt::Key_F10), [this] { FocusToolbar(); });
  add("Close window", QKeySequence("Ctrl+W"), [this] { close(); });
  // From any of the program's windows: the main window closes, and with it the program and the
  // dialogs it owns.
  add(
      "Quit", QKeySequence("Ctrl+Q"), [this] { close(); }, Qt::ApplicationShortcut);
}

void FrmMain::FocusToolbar() {
  QWidget* back = QApplication::focusWidget();
  toolbar_keys_->Enter(back != nullptr && back->window() == this ? back : lvMain_);
}

}  // namespace quillet
