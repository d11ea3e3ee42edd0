// The main window's files: loading them, the recent files, watching and reloading them, and the
// files the list is saved and printed to.
#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

#include "commands/listing.h"
#include "commands/load_file.h"
#include "desktop/text_codec.h"
#include "output/list_file_writer.h"
#include "shell/frm_main.h"
#include "shell/recent_files.h"
#include "view/list_bars.h"
#include "view/printout_painter.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr const char* kOpenTitle = "Select a file...";
constexpr const char* kOpenFilter =
    "Supported files (*.fob;*.fbk)|*.fob;*.fbk|Object files (*.fob)|*.fob|Backup files "
    "(*.fbk)|*.fbk|All files|*.*";
constexpr const char* kSaveTitle = "Save object list...";
// By the entry the user chooses: the formats, then every file.
constexpr const char* kSaveFilter =
    "Text files (*.txt)|*.txt|CSV files (*.csv)|*.csv|JSON files (*.json)|*.json|"
    "HTML reports (*.html)|*.html|All files (*.*)|*.*";
struct SaveType {
  ListFormat format;
  const char* extension;
};
constexpr std::array<SaveType, 4> kSaveTypes = {{{ListFormat::kText, "txt"},
                                                 {ListFormat::kCsv, "csv"},
                                                 {ListFormat::kJson, "json"},
                                                 {ListFormat::kHtml, "html"}}};
constexpr const char* kPrintDocumentName = "Quillet object list";

std::size_t Slot(int file) { return static_cast<std::size_t>(file); }

}  // namespace

QString FrmMain::SelectObjectFile(int file) {
  QString scratch;
  QString& last = file == 1 ? settings_.last_file1 : file == 2 ? settings_.last_file2 : scratch;
  const QString initial = file == kBaseFile ? settings_.recent_files[Slot(file)].value(0) : last;
  QString name = dialogs_.GetOpenFileName(this, kOpenTitle, kOpenFilter, initial);
  if (!name.isEmpty()) last = name;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return name;
}

void FrmMain::LoadAndShowFile(const QString& file_name, int file) {
  LoadAndShowFile(ToPath(file_name), file);
}

void FrmMain::LoadAndShowFile(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  // A file that is not there changed nothing; listing its slot again would only repeat rows.
  if (ReadFile(file_name, file, kinds).status != LoadStatus::kMissing) ShowFile(file);
}

LoadResult FrmMain::ReadFile(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  LoadResult result = LoadObjectFile(ws_, file_name, file, kinds);
  if (result.status != LoadStatus::kMissing) Loaded(file_name, file, result.stream);
  return result;
}

void FrmMain::ShowFile(int file) {
  if (file == kBaseFile) {
    // The base is not listed; what the list showed stays, but it is no longer a comparison.
    SetProgress(0);
    UpdateCompareButtons(ws_);
    SetPanelText(Panel::kCount, ListCountText(list_));
  } else {
    ShowFileObjects(ws_, file);
    compared_ = CompareMode::kNone;
  }
  UpdateBars();
}

void FrmMain::Loaded(const std::filesystem::path& file_name, int file, bool stream) {
  std::filesystem::path& loaded = loaded_[Slot(file)];
  if (!loaded.empty() && !streamed_[Slot(file)]) watcher_->removePath(FromPath(loaded));
  loaded = file_name;
  streamed_[Slot(file)] = stream;
  // What a pipe or a device gave is all there is: nothing to watch, reload or open again.
  if (stream) {
    UpdateTitle();
    return;
  }
  watcher_->addPath(FromPath(file_name));
  settings_.recent_files[Slot(file)] =
      WithRecentFile(settings_.recent_files[Slot(file)], FromPath(file_name));
  FillRecentMenu(file);
  buttons_[button::kReload]->setEnabled(true);
  UpdateTitle();
}

void FrmMain::UpdateTitle() {
  QStringList names;
  for (int file : {1, 2}) {
    const std::filesystem::path& loaded = loaded_[Slot(file)];
    names << (loaded.empty() ? QString("no file") : FromPath(loaded.filename()));
  }
  if (loaded_[2].empty()) names.removeLast();
  setWindowTitle(loaded_[1].empty() && loaded_[2].empty() ? QString("Quillet")
                                                          : "Quillet - " + names.join(" | "));
}

void FrmMain::Reload() {
  reload_bar_->hide();
  for (int file : {kBaseFile, 1, 2}) {
    if (!loaded_[Slot(file)].empty() && !streamed_[Slot(file)]) {
      LoadObjectFile(ws_, loaded_[Slot(file)], file);
    }
  }
  // What the list showed, again: a comparison with its criteria, or the listing; the filter
  // stays with the list.
  if (compared_ != CompareMode::kNone) {
    ShowComparison(compared_, criteria_);
  } else {
    RefreshList(ws_);
  }
  UpdateCompareButtons(ws_);
  UpdateBars();
}

void FrmMain::BuildRecentMenus() {
  const std::array<int, 3> commands = {button::kLoadBase, button::kLoadFile1, button::kLoadFile2};
  for (int file : {kBaseFile, 1, 2}) {
    // File #1 and file #2 offer theirs on their toolbar buttons; the base's go with Ctrl+B's
    // dialog only, as its initial name, which keeps the toolbar within the window.
    QAction* load = buttons_[commands[Slot(file)]];
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
  // A file that changed on disk is offered for reloading, never reloaded unasked.
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
    reload_bar_->show();
    // Saving by replacing the file takes it out of the watch: watch the new one.
    if (QFileInfo::exists(path) && !watcher_->files().contains(path)) watcher_->addPath(path);
  });
}

void FrmMain::FillRecentMenu(int file) {
  QMenu* menu = recent_menus_[Slot(file)];
  menu->clear();
  for (const RecentEntry& entry : RecentMenuEntries(settings_.recent_files[Slot(file)])) {
    QAction* action = menu->addAction(entry.file);
    action->setEnabled(entry.exists);
    connect(action, &QAction::triggered, this, [this, name = entry.file, file] {
      LoadAndShowFile(name, file);
      SetPanelText(Panel::kCount, ListCountText(list_));
      UpdateCompareButtons(ws_);
    });
  }
  if (menu->isEmpty()) menu->addAction("No recent files")->setEnabled(false);
}

FrmMain::SaveTarget FrmMain::AskSaveFileName() {
  const UserDialogs::SaveChoice choice =
      dialogs_.GetSaveFileName(this, kSaveTitle, kSaveFilter, settings_.last_file_saved);
  SaveTarget target{choice.name, ListFormat::kText};
  if (!target.name.isEmpty()) {
    const QString suffix = QFileInfo(target.name).suffix().toLower();
    if (choice.filter >= 0 && static_cast<std::size_t>(choice.filter) < kSaveTypes.size()) {
      // The format follows the type chosen; a name without an extension gets the type's.
      const SaveType& type = kSaveTypes[static_cast<std::size_t>(choice.filter)];
      target.format = type.format;
      if (suffix.isEmpty()) target.name += QString(".") + type.extension;
    } else {
      // Every file: the name's extension decides, the saved list's format otherwise.
      for (const SaveType& type : kSaveTypes) {
        if (suffix == type.extension || (suffix == "htm" && type.format == ListFormat::kHtml)) {
          target.format = type.format;
        }
      }
    }
    settings_.last_file_saved = target.name;
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return target;
}

void FrmMain::SaveObjectList(const SaveTarget& target, const std::vector<int>* rows) {
  if (target.name.isEmpty()) return;
  const int count = rows != nullptr ? static_cast<int>(rows->size()) : list_.RowCount();
  if (count == 0) {
    dialogs_.ShowMessage(this, "The list is empty");
    return;
  }
  const std::string error = WriteListFile(
      ToPath(target.name), list_, target.format, CurrentListContext(),
      [&](int written) { SetProgress(100.0 * written / count); }, rows);
  // The reason goes on a line of its own, below the message users know.
  if (!error.empty()) {
    dialogs_.ShowMessage(
        this,
        QString("Unable to save the file\n%1: %2").arg(target.name, QString::fromStdString(error)));
  }
  SetProgress(0);
}

ListContext FrmMain::CurrentListContext() const {
  ListContext context;
  context.view = list_.view();
  if (!loaded_[0].empty() && compared_ == CompareMode::kUpgrade) {
    context.files.emplace_back("Base", ToWindows1252(FromPath(loaded_[0])));
  }
  context.files.emplace_back("File #1", ToWindows1252(PanelText(Panel::kFile1)));
  context.files.emplace_back("File #2", ToWindows1252(PanelText(Panel::kFile2)));
  if (compared_ != CompareMode::kNone) {
    context.criteria = CriteriaText(criteria_, HasStatus(context.view));
  }
  if (HasStatus(context.view)) context.counts = StatusCountTexts(context.view, keyed_counts_);
  return context;
}

PrintHeader FrmMain::CurrentPrintHeader() const {
  return {ToWindows1252(PanelText(Panel::kFile1)), ToWindows1252(PanelText(Panel::kFile2)),
          PrintDateTime()};
}

void FrmMain::PrintObjectList() {
  QPrinter printer(QPrinter::HighResolution);
  if (!dialogs_.ChoosePrinter(this, printer)) return;
  printer.setDocName(kPrintDocumentName);
  // Every row is printed, whatever range the dialog offered.
  printer.setPrintRange(QPrinter::AllPages);
  PaintPrintout(printer, list_, CurrentPrintHeader());
}

void FrmMain::PreviewObjectList() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(kPrintDocumentName);
  const PrintHeader header = CurrentPrintHeader();
  dialogs_.ShowPrintPreview(this, printer,
                            [&](QPrinter* target) { PaintPrintout(*target, list_, header); });
}

}  // namespace quillet
