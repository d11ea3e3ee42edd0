#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

class QPrinter;
class QUrl;
class QWidget;

namespace quillet {

// The modal things: the file dialogs and message boxes. The window asks through this, so widget
// tests can answer without a human.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A message box with its text, an OK button, no title and no icon.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // A question with Yes and No, No the default: true for Yes.
  virtual bool Ask(QWidget* parent, const QString& text) = 0;
  // The chosen file's name, or an empty string when the user cancelled. The filter is in the
  // "Description|patterns|Description|patterns" form.
  virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& initial_name) = 0;
  // The same for saving: the first filter entry selected, no question before replacing a file
  // (the window asks its own), nothing appended to the name. Also gives which entry of the filter
  // the user chose, from 0.
  struct SaveChoice {
    QString name;  // empty when the user cancelled
    int filter = 0;
  };
  virtual SaveChoice GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& initial_name) = 0;
  // The print dialog: false when the user cancelled. The chosen printer is set up in `printer`.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
  // A preview of the pages `paint` draws on the printer it is given.
  virtual void ShowPrintPreview(QWidget* parent, QPrinter& printer,
                                const std::function<void(QPrinter*)>& paint) = 0;
  // Hands a web or mail link to the user's browser or mail program; nothing is reported when
  // there is none.
  virtual void OpenUrl(const QUrl& url) = 0;
};

class QtUserDialogs final : public UserDialogs {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  bool Ask(QWidget* parent, const QString& text) override;
  QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                          const QString& initial_name) override;
  SaveChoice GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                             const QString& initial_name) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
  void ShowPrintPreview(QWidget* parent, QPrinter& printer,
                        const std::function<void(QPrinter*)>& paint) override;
  void OpenUrl(const QUrl& url) override;
};

// A name or value put into a message, with its control characters escaped (a line end as \n, an
// escape as \x1b), so it cannot split the message or change how it shows.
QString ShownInMessage(const QString& text);

// The clipboard: text in several forms at once, by MIME type ("text/plain", "text/csv").
void SetClipboard(const QList<QPair<QString, QByteArray>>& forms);

// "Text files (*.txt)|*.txt|All files|*.*" as Qt's file dialogs want it:
// "Text files (*.txt);;All files (*)". Patterns separated by ';' become blank-separated, and
// "*.*" means every file, also those without a dot.
QString QtFileFilter(const QString& filter);

}  // namespace quillet
