#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMap>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <memory>
#include <optional>

#include "desktop/file_associations.h"
#include "desktop/text_codec.h"
#include "shell/frm_main.h"
#include "shell/settings_store.h"
#include "shell/startup.h"
#include "support/temp_dir.h"
#include "view/list_actions.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/printout_painter.h"
#include "view/status_panel.h"
#include "view/user_dialogs.h"

namespace quillet::test {

// Answers the file dialogs from a queue and keeps every message.
class FakeDialogs final : public UserDialogs {
 public:
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  // Answered from `replies`, Yes when none is left.
  bool Ask(QWidget*, const QString& text) override {
    questions << text;
    if (replies.empty()) return true;
    const bool reply = replies.front();
    replies.pop_front();
    return reply;
  }
  QString GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                          const QString& initial_name) override {
    open_calls << QStringList{title, filter, initial_name};
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QStringList GetOpenFileNames(QWidget*, const QString& title, const QString& filter,
                               const QString& initial_name) override {
    open_calls << QStringList{title, filter, initial_name};
    if (many_answers.empty()) return {};
    QStringList answer = many_answers.front();
    many_answers.pop_front();
    return answer;
  }

  SaveChoice GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                             const QString& initial_name) override {
    save_calls << QStringList{title, filter, initial_name};
    return {save_answer, save_filter};
  }
  // The chosen printer writes a PDF, so the test can read the pages back.
  bool ChoosePrinter(QWidget*, QPrinter& printer) override {
    offered_papers << PaperOf(printer.pageLayout());
    if (print_to.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_to);
    printer.setPrintRange(QPrinter::PageRange);  // what a user may pick; all rows print anyway
    printer.setFromTo(2, 2);
    return true;
  }
  // The previewed pages go to a PDF, as the preview would draw them; then its Print button is
  // pressed when the test asks for it.
  void ShowPrintPreview(QWidget* parent, const Printout& printout,
                        const std::function<bool(QWidget*)>& print) override {
    previewed_pages << printout.PageCount();
    if (!print_to.isEmpty()) {
      QPdfWriter writer(print_to);
      writer.setPageLayout(PageLayoutOf(printout.paper()));
      if (!PaintPrintout(writer, printout, {})) messages << "the preview could not be drawn";
    }
    if (print_from_preview) print(parent);
  }
  // Counts every step; the user presses Cancel once page `cancel_at` is done (0: never).
  std::unique_ptr<WorkProgress> StartProgress(QWidget*, const QString& text) override {
    struct Steps final : WorkProgress {
      explicit Steps(FakeDialogs& dialogs) : dialogs_(dialogs) {}
      bool Advance(int done, int total) override {
        dialogs_.progress << QPair<int, int>(done, total);
        return dialogs_.cancel_at == 0 || done < dialogs_.cancel_at;
      }
      FakeDialogs& dialogs_;
    };
    progress_texts << text;
    return std::make_unique<Steps>(*this);
  }
  void OpenUrl(const QUrl& url) override { opened << url; }

  std::deque<QString> answers;
  std::deque<QStringList> many_answers;  // for the dialog that takes several files
  QString save_answer;
  int save_filter = 0;  // the file type chosen: the saved list's
  QString print_to;
  bool print_from_preview = false;
  QList<PrintPaper> offered_papers;  // the paper the print dialog was opened with, each time
  int cancel_at = 0;
  QList<int> previewed_pages;  // each preview's page count
  QStringList progress_texts;
  QList<QPair<int, int>> progress;  // (done, total) of every step
  QStringList messages;
  QStringList questions;
  std::deque<bool> replies;
  QList<QStringList> open_calls;
  QList<QStringList> save_calls;
  QList<QUrl> opened;
};

// File types in memory, extension to description, with every call kept.
class FakeAssociations final : public FileAssociations {
 public:
  QString FileTypeDescription(const QString& extension) const override {
    return descriptions.value(extension);
  }
  Status RegisterFileType(const QString& extension) override {
    calls << "register " + extension;
    if (refuse) return Fail(refusal);
    descriptions[extension] = kQuilletFileDescription;
    return Ok();
  }
  Status UnregisterFileType(const QString& extension) override {
    calls << "unregister " + extension;
    if (refuse_unregister) return Fail(refusal);
    if (descriptions.value(extension) == kQuilletFileDescription) descriptions.remove(extension);
    return Ok();
  }

  QMap<QString, QString> descriptions;
  QStringList calls;
  bool refuse = false;             // registering fails
  bool refuse_unregister = false;  // unregistering fails
  std::string refusal;             // why they fail
};

// The full name of `name` in a test's folder, as Qt text.
inline QString QPath(const TempDir& dir, const QString& name) {
  return QString::fromStdString((dir / name.toStdString()).string());
}

// A started program on a settings file of its own.
struct TestProgram {
  // The whole text as one argument, as a shell gives a quoted name.
  explicit TestProgram(const QString& arguments = QString()) { Start(arguments); }
  explicit TestProgram(const QStringList& arguments) { Start(arguments); }

  void Start(const QString& arguments) {
    Start(arguments.isEmpty() ? QStringList() : QStringList{arguments});
  }
  void Start(const QStringList& arguments) {
    std::vector<std::filesystem::path::string_type> native;
    for (const QString& argument : arguments) native.push_back(ToPath(argument).native());
    program = std::make_unique<Program>(*store, dialogs, associations);
    program->Start(native);
  }
  // Closes the window (writing the settings) and starts again on the same settings.
  void Restart(const QString& arguments = QString()) {
    program->main().close();
    store = std::make_unique<SettingsStore>(settings_file());
    Start(arguments);
  }
  FrmMain& main() { return program->main(); }
  QString settings_file() const { return Path("settings.ini"); }
  QString Path(const QString& name) const { return QPath(dir, name); }

  TempDir dir;
  std::unique_ptr<SettingsStore> store = std::make_unique<SettingsStore>(settings_file());
  FakeDialogs dialogs;
  FakeAssociations associations;  // never the user's own
  std::unique_ptr<Program> program;
};

// Sets an environment variable for one test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const QByteArray& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
    qputenv(name, value);
  }
  ~ScopedEnvironment() {
    if (old_) {
      qputenv(name_, *old_);
    } else {
      qunsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<QByteArray> old_;
};

// What the application told of exceptions that escaped an event handler, in order.
inline QStringList& UnexpectedErrors() {
  static QStringList errors;
  return errors;
}

// The window's parts, found as a user's tools find them: by what they are and their names.
// The action that runs `command`.
inline QAction* Action(FrmMain& main, Command command) {
  for (QAction* action : main.findChildren<QAction*>()) {
    const QVariant data = action->data();
    if (data.isValid() && data.toInt() == static_cast<int>(command)) return action;
  }
  return nullptr;
}
inline StatusPanel* PanelWidget(FrmMain& main, Panel panel) {
  return main.findChild<StatusPanel*>(QString("sbPanel%1").arg(static_cast<int>(panel)));
}
inline QString PanelText(FrmMain& main, Panel panel) { return PanelWidget(main, panel)->text(); }
inline bool PanelHasIcon(FrmMain& main, Panel panel) { return PanelWidget(main, panel)->HasIcon(); }
// The progress bar's percent.
inline double Progress(FrmMain& main) {
  return main.findChild<QProgressBar*>("proMain")->value() / 10.0;
}
inline ObjectListView* ListWidget(FrmMain& main) {
  return main.findChild<ObjectListView*>("lvMain");
}
inline ObjectListModel* ListModel(FrmMain& main) {
  return qobject_cast<ObjectListModel*>(ListWidget(main)->model());
}
inline ListActions& Actions(FrmMain& main) { return *main.findChild<ListActions*>(); }
inline FilterBar& Filter(FrmMain& main) { return *main.findChild<FilterBar*>("filterBar"); }
inline ViewBar& KeyedBar(FrmMain& main) { return *main.findChild<ViewBar*>("viewBar"); }
inline ReloadBar& ChangedOnDisk(FrmMain& main) { return *main.findChild<ReloadBar*>("reloadBar"); }
// The drop-down of a load command: the recent files of slot `file`.
inline QMenu* RecentMenu(FrmMain& main, int file) {
  return main.findChild<QMenu*>(QString("recentFiles%1").arg(file));
}

// The bundled samples.
inline QString Sample(const QString& name) { return QString(QUILLET_SAMPLES) + "/" + name; }

inline QByteArray Slurp(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What quillet-cli writes to standard output for `arguments`.
inline QByteArray CliOutput(const QStringList& arguments) {
  QProcess cli;
  cli.start(QUILLET_CLI, arguments);
  cli.waitForFinished(30000);
  return cli.readAllStandardOutput();
}

// Types `text` into `widget` key by key, as a user would.
inline void TypeInto(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
  }
}

// Runs the event loop until the list shows the filter typed last: it is found off the window's
// thread. Gives false when that takes more than a minute.
inline bool WaitForFilter(FrmMain& main) {
  QDeadlineTimer deadline(60000);
  while (main.session().FilterPending() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return !main.session().FilterPending();
}

inline void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

}  // namespace quillet::test
