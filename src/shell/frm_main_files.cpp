// The main window's files: loading them, the recent files, watching and reloading them, and the
// files the list is saved to.
#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "desktop/text_codec.h"
#include "output/list_file_writer.h"
#include "output/output_targets.h"
#include "platform/same_file.h"
#include "shell/file_kind_texts.h"
#include "shell/frm_main.h"
#include "shell/recent_files.h"
#include "view/list_bars.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr const char* kOpenTitle = "Select a file...";
constexpr const char* kOpenBaseTitle = "Select the base file...";
constexpr const char* kSaveTitle = "Save object list...";

std::size_t Slot(int file) { return static_cast<std::size_t>(file); }

QString SlotName(int file) {
  return file == kBaseFile ? QString("the base file") : QString("file #%1").arg(file);
}

QString UnableToSave(const QString& name, const QString& why) {
  return QString("Unable to save the file\n%1: %2").arg(ShownInMessage(name), why);
}

}  // namespace

QString FrmMain::DialogStart(const QString& remembered) const {
  if (last_chosen_.isEmpty()) return remembered;
  const QString folder = QFileInfo(last_chosen_).absolutePath();
  if (!remembered.isEmpty() && QFileInfo(remembered).absolutePath() == folder) return remembered;
  return folder;
}

QString FrmMain::SelectObjectFile(int file) {
  QString scratch;
  QString& last = file == 1 ? settings_.last_file1 : file == 2 ? settings_.last_file2 : scratch;
  const QString initial = file == kBaseFile ? settings_.recent_files[Slot(file)].value(0) : last;
  QString name = dialogs_.GetOpenFileName(this, file == kBaseFile ? kOpenBaseTitle : kOpenTitle,
                                          OpenFileFilter(), DialogStart(initial));
  if (!name.isEmpty()) {
    last = name;
    last_chosen_ = name;
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return name;
}

void FrmMain::LoadAndShowFile(const QString& file_name, int file) {
  LoadAndShowFile(ToPath(file_name), file);
}

bool FrmMain::OpenNamedFile(const std::filesystem::path& file_name, int file, bool tell_missing) {
  naming_ = &file_name;
  const LoadResult result = ReadFile(file_name, file, InputKinds::kStreams);
  naming_ = nullptr;
  if (result.status == LoadStatus::kMissing) {
    if (tell_missing) {
      dialogs_.ShowMessage(this, "Unable to read the file\n" + ShownInMessage(FromPath(file_name)) +
                                     ": no such file");
    }
    return false;
  }
  ShowFile(file);
  return result.status != LoadStatus::kUnreadable;
}

void FrmMain::LoadAndShowFile(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  // A file that is not there changed nothing; listing its slot again would only repeat rows.
  if (ReadFile(file_name, file, kinds).status != LoadStatus::kMissing) ShowFile(file);
}

LoadResult FrmMain::ReadFile(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  LoadResult result = session_.Read(file_name, file, kinds);
  // What a pipe or a device gave is all there is: nothing to open again.
  if (result.status != LoadStatus::kMissing && !result.stream) {
    settings_.recent_files[Slot(file)] =
        WithRecentFile(settings_.recent_files[Slot(file)], FromPath(file_name));
    FillRecentMenu(file);
  }
  return result;
}

void FrmMain::ShowFile(int file) {
  session_.Show(file);
  // The base is not listed, so nothing moved the bar on from its reading.
  if (file == kBaseFile) PaintBar(0);
  Draw();
}

void FrmMain::Reload() {
  reload_bar_->hide();
  TellAcrossReads(session_.Reload());
  Draw();
}

void FrmMain::BuildRecentMenus() {
  const std::array<Command, 3> commands = {Command::kLoadBase, Command::kLoadFile1,
                                           Command::kLoadFile2};
  for (int file : {kBaseFile, 1, 2}) {
    // File #1 and file #2 offer theirs on their toolbar buttons; the base's go with Ctrl+B's
    // dialog only, as its initial name, which keeps the toolbar within the window.
    QAction* load = actions_by_command_[static_cast<std::size_t>(commands[Slot(file)])];
    auto* menu = new QMenu(this);
    menu->setObjectName(QString("recentFiles%1").arg(file));
    recent_menus_[Slot(file)] = menu;
    connect(menu, &QMenu::aboutToShow, this, [this, file] { FillRecentMenu(file); });
    auto* tool = qobject_cast<QToolButton*>(tbMain_->widgetForAction(load));
    if (tool != nullptr && file != kBaseFile) {
      tool->setMenu(menu);
      tool->setPopupMode(QToolButton::MenuButtonPopup);
    }
    FillRecentMenu(file);
  }
  // A file that changed on disk is offered for reloading, never reloaded unasked. The session
  // marks each slot that holds the file, by whatever name it was loaded.
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
    session_.FileChanged(ToPath(path));
    reload_bar_->setVisible(session_.ChangedOnDisk());
    // Saving by replacing a file takes it out of the watch: watch the new one.
    WatchLoadedFiles();
  });
}

void FrmMain::FillRecentMenu(int file) {
  QMenu* menu = recent_menus_[Slot(file)];
  menu->clear();
  for (const RecentEntry& entry : RecentMenuEntries(settings_.recent_files[Slot(file)])) {
    QAction* action = menu->addAction(entry.file);
    action->setEnabled(entry.exists);
    connect(action, &QAction::triggered, this,
            [this, name = entry.file, file] { LoadAndShowFile(name, file); });
  }
  if (menu->isEmpty()) menu->addAction("No recent files")->setEnabled(false);
}

FrmMain::SaveTarget FrmMain::AskSaveFileName() {
  // By the entry the user chooses: the formats, then every file.
  const std::vector<ListFormat> types = SavedFormats();
  const UserDialogs::SaveChoice choice =
      dialogs_.GetSaveFileName(this, kSaveTitle, QString::fromStdString(SaveDialogFilter()),
                               DialogStart(settings_.last_file_saved));
  SaveTarget target{choice.name, ListFormat::kText};
  if (!target.name.isEmpty()) last_chosen_ = target.name;
  if (!target.name.isEmpty()) {
    const QString suffix = QFileInfo(target.name).suffix();
    if (choice.filter >= 0 && static_cast<std::size_t>(choice.filter) < types.size()) {
      // The format follows the type chosen; a name without an extension gets the type's.
      target.format = types[static_cast<std::size_t>(choice.filter)];
      if (suffix.isEmpty()) {
        target.name += "." + QString::fromStdString(std::string(InfoOf(target.format).extension));
      }
    } else {
      // Every file: the name's extension decides, the saved list's format otherwise.
      target.format = FormatOfExtension(suffix.toStdString()).value_or(ListFormat::kText);
    }
    settings_.last_file_saved = target.name;
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return target;
}

void FrmMain::SaveObjectList(const SaveTarget& target, const std::vector<int>* rows) {
  if (target.name.isEmpty()) return;
  const ObjectList& list = session_.list();
  const int count = rows != nullptr ? static_cast<int>(rows->size()) : list.RowCount();
  if (count == 0) {
    dialogs_.ShowMessage(this, "The list is empty");
    return;
  }
  // A loaded file, by any of its names, is never replaced by its listing, as the command line
  // refuses an output that is one of its inputs; a device or a pipe is written into.
  const std::filesystem::path path = ToPath(target.name);
  for (int file = 0; file < session_.SlotCount(); ++file) {
    const std::filesystem::path& loaded = session_.Slot(file).name;
    const std::filesystem::path inputs[] = {loaded};
    if (!loaded.empty() && !CheckOutputTargets(path, std::nullopt, inputs)) {
      dialogs_.ShowMessage(this, UnableToSave(target.name, "it is loaded as " + SlotName(file) +
                                                               " and would be replaced"));
      return;
    }
  }
  std::error_code error;
  if (std::filesystem::exists(path, error) && !WrittenInto(path) &&
      !dialogs_.Ask(this, ShownInMessage(target.name) + " already exists.\nReplace it?")) {
    return;
  }
  const Status saved = WriteListFile(
      ToPath(target.name), list, target.format, CurrentListContext(),
      [&](int written) { PaintBar(100.0 * written / count); }, rows);
  // The reason goes on a line of its own, below the message users know.
  if (!saved) {
    dialogs_.ShowMessage(
        this, UnableToSave(target.name, ShownInMessage(QString::fromStdString(saved.error()))));
  }
  PaintBar(0);
}

// A slot's file as the window names it: as its panel shows it.
std::string FrmMain::FileText(int file) const {
  const std::filesystem::path& loaded = session_.Slot(file).name;
  return ToWindows1252(loaded.empty() ? QString(kNoFile) : FromPath(loaded));
}

ListContext FrmMain::CurrentListContext() const {
  ListContext context;
  context.view = session_.list().view();
  const CompareMode compared = session_.compared();
  if (!session_.Slot(kBaseFile).name.empty() && compared == CompareMode::kUpgrade) {
    context.files.emplace_back("Base", FileText(kBaseFile));
  }
  context.files.emplace_back("File #1", FileText(1));
  context.files.emplace_back("File #2", FileText(2));
  if (compared != CompareMode::kNone) {
    context.criteria = CriteriaText(session_.criteria(), HasStatus(context.view));
  }
  if (HasStatus(context.view)) {
    context.counts = StatusCountTexts(context.view, session_.keyed_counts());
  }
  return context;
}

}  // namespace quillet
