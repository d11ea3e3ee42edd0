#pragma once

#include <QString>

class QWidget;

namespace quillet {

// The modal things: the file dialogs and message boxes. The window asks through this, so widget
// tests can answer without a human.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A message box with its text, an OK button, no title and no icon.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // The chosen file's name, or an empty string when the user cancelled. The filter is in the
  // "Description|patterns|Description|patterns" form.
  virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& initial_name) = 0;
};

class QtUserDialogs final : public UserDialogs {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& initial_name) override;
};

// "Text files (*.txt)|*.txt|All files|*.*" as Qt's file dialogs want it:
// "Text files (*.txt);;All files (*)". Patterns separated by ';' become blank-separated, and
// "*.*" means every file, also those without a dot.
QString QtFileFilter(const QString& filter);

}  // namespace quillet
