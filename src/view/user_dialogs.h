#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "output/print_layout.h"

class QPrinter;
class QUrl;
class QWidget;

namespace quillet {

// Long work the user watches and may stop.
class WorkProgress {
 public:
  virtual ~WorkProgress() = default;
  // `done` of `total` steps are done. Lets the window repaint meanwhile; false once the user
  // asked to stop.
  [[nodiscard]] virtual bool Advance(int done, int total) = 0;
};

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
  // The same taking several files: their names in the order the dialog gives them, or none when
  // the user cancelled.
  virtual QStringList GetOpenFileNames(QWidget* parent, const QString& title, const QString& filter,
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
  // A preview of the printout's pages. Its Print button calls `print` with the preview as the
  // parent, which gives true when the user went past the print dialog; the preview then closes.
  virtual void ShowPrintPreview(QWidget* parent, const Printout& printout,
                                const std::function<bool(QWidget*)>& print) = 0;
  // Progress with a Cancel button for work that may take long, shown once it has taken a
  // moment; `text` words a step from its number and the total ("%1 of %2"). It goes away when
  // the progress is destroyed.
  virtual std::unique_ptr<WorkProgress> StartProgress(QWidget* parent, const QString& text) = 0;
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
  QStringList GetOpenFileNames(QWidget* parent, const QString& title, const QString& filter,
                               const QString& initial_name) override;
  SaveChoice GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                             const QString& initial_name) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
  void ShowPrintPreview(QWidget* parent, const Printout& printout,
                        const std::function<bool(QWidget*)>& print) override;
  std::unique_ptr<WorkProgress> StartProgress(QWidget* parent, const QString& text) override;
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
