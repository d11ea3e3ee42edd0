#pragma once

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <optional>

#include "commands/compare.h"
#include "commands/workspace.h"
#include "list/columns.h"
#include "objects/object_file_reader.h"
#include "output/list_formats.h"
#include "output/print_layout.h"
#include "shell/main_settings.h"
#include "shell/toolbar_entries.h"

class QAction;
class QFileSystemWatcher;
class QMenu;
class QProgressBar;
class QToolBar;

namespace quillet {

class FilterBar;
class FrmSettings;
class FrmUseCompare;
class ListActions;
class ObjectListModel;
class ObjectListView;
class ReloadBar;
class SettingsStore;
class StatusPanel;
class UserDialogs;
class ViewBar;

// The main window: the toolbar and its commands, the object list with its bars and the status
// bar. It is where the core reports (status panels, progress, messages) and what the user
// drives.
class FrmMain final : public QMainWindow, public StatusSink, public MessageSink {
  Q_OBJECT

 public:
  // `file_icons` by file number: the base, file #1, file #2.
  FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
          std::array<QIcon, 3> file_icons);
  ~FrmMain() override;

  // Restores the stored settings, builds the toolbar, list and status bar, and shows the window.
  void frmmain_Load();
  void AttachDialogs(FrmSettings* settings, FrmUseCompare* use_compare);

  // The command of toolbar entry `number` (see toolbar_entries.h).
  void tbMain_ButtonClick(int number);
  // Sorts by a column: ascending, then descending on a second click of the same column.
  void lvMain_ColumnClick(Column column);
  // Reads a file into slot `file` (0 the base, 1, 2) and lists it, as the load commands and
  // start-up do; the base is read, not listed.
  // Only the command line's names may be pipes or devices (`kinds`).
  void LoadAndShowFile(const std::filesystem::path& file_name, int file,
                       InputKinds kinds = InputKinds::kFiles);
  void LoadAndShowFile(const QString& file_name, int file);
  // The two halves of it: reading (with what the window keeps of a loaded file: its name for
  // reloading, the recent files, the title) and listing.
  LoadResult ReadFile(const std::filesystem::path& file_name, int file,
                      InputKinds kinds = InputKinds::kFiles);
  void ShowFile(int file);
  // Replaces the list with a comparison's result; what the criteria dialog's OK runs.
  void ShowComparison(CompareMode mode, const CompareCriteria& criteria);
  // Reads the loaded files again and shows what the list showed.
  void Reload();
  // Opens the filter bar (Ctrl+F).
  void OpenFilter();
  // Filters the list as the filter bar does: the rows the filter leaves are shown.
  void SetFilterText(const QString& text);

  // Save: the file name from the save dialog (remembered for next time) and its format, or an
  // empty name.
  struct SaveTarget {
    QString name;
    ListFormat format = ListFormat::kText;
  };
  SaveTarget AskSaveFileName();
  // Writes the list as it is shown (or only `rows`, shown row numbers); nothing for an empty
  // name.
  void SaveObjectList(const SaveTarget& target, const std::vector<int>* rows = nullptr);
  // Print: every row on the printer chosen in the print dialog.
  void PrintObjectList();
  void PreviewObjectList();

  Workspace& workspace() { return ws_; }
  const MainSettings& settings() const { return settings_; }
  QAction* Button(int number) const { return buttons_.at(static_cast<std::size_t>(number)); }
  QString PanelText(Panel panel) const;
  bool PanelHasIcon(Panel panel) const;
  StatusPanel* PanelWidget(Panel panel) const {
    return panels_.at(static_cast<std::size_t>(panel));
  }
  double Progress() const { return progress_; }
  ObjectListView* ListView() const { return lvMain_; }
  ObjectListModel* ListModel() const { return model_; }
  ListActions& Actions() const { return *actions_; }
  FilterBar& Filter() const { return *filter_bar_; }
  ViewBar& KeyedBar() const { return *view_bar_; }
  ReloadBar& ChangedOnDisk() const { return *reload_bar_; }
  // The drop-down of a load command: the recent files of slot `file`.
  QMenu* RecentMenu(int file) const { return recent_menus_.at(static_cast<std::size_t>(file)); }

  // StatusSink
  void SetPanelText(Panel panel, std::string_view text) override;
  void ShowFilePanel(int file, const std::filesystem::path& file_name) override;
  void SetProgress(double value) override;
  void SetCompareCommandsEnabled(bool compare, bool show_all, bool upgrade) override;
  // MessageSink
  void ShowMessage(std::string_view text) override;

  // The stored-settings dialog's type boxes, written at close; the start selection until the
  // settings dialog has its own boxes.
  std::array<bool, kTypeCount> StoredTypes() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dragged from the desktop: one .fob or .fbk at a time, offered as file #1, #2 or base.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The drops not yet answered, oldest first.
  Q_INVOKABLE void AnswerDrop();
  QList<QList<QUrl>> pending_drops_;

  void BuildToolbar();
  void BuildRecentMenus();
  void FillRecentMenu(int file);
  void BuildList();
  void BuildStatusBar();
  void PlaceWindow();
  QString SelectObjectFile(int file);
  void SetPanel(Panel panel, const QString& text);
  PrintHeader CurrentPrintHeader() const;
  ListContext CurrentListContext() const;
  void frmmain_Close();
  // The type buttons: the list again with the new selection, or the keyed comparison again.
  void ToggleType(int number);
  void NewList();
  // After a load: the file remembered for reloading and watching, the title, the recent files.
  void Loaded(const std::filesystem::path& file_name, int file, bool stream);
  void UpdateTitle();
  void UpdateBars();
  void KeyedChoiceChanged(unsigned listed);

  ObjectTable& table_;
  ObjectList list_{table_};
  RowFilter filter_;
  SettingsStore& store_;
  UserDialogs& dialogs_;
  Workspace ws_;
  std::array<QIcon, 3> file_icons_;
  MainSettings settings_;
  std::optional<Column> last_sort_column_;
  bool sorting_ = false;
  double progress_ = 0;

  // The comparison the list shows, so that a reload and the type buttons can show it again;
  // kNone while it lists the files' objects, or nothing.
  CompareMode compared_ = CompareMode::kNone;
  CompareCriteria criteria_;  // of the comparison shown
  KeyedChoice keyed_choice_;  // the statuses the keyed comparisons list
  std::vector<long long> keyed_counts_;
  std::array<std::filesystem::path, 3> loaded_;  // by file number; empty: nothing loaded
  std::array<bool, 3> streamed_{};               // read from a pipe or device: not again
  QFileSystemWatcher* watcher_ = nullptr;

  QToolBar* tbMain_ = nullptr;
  ObjectListView* lvMain_ = nullptr;
  ObjectListModel* model_ = nullptr;
  ListActions* actions_ = nullptr;
  FilterBar* filter_bar_ = nullptr;
  ViewBar* view_bar_ = nullptr;
  ReloadBar* reload_bar_ = nullptr;
  QProgressBar* proMain_ = nullptr;
  std::array<StatusPanel*, kPanelCount + 1> panels_{};   // by panel number
  std::array<QAction*, kToolbarEntries + 1> buttons_{};  // by number; separators stay null
  std::array<QMenu*, 3> recent_menus_{};                 // by file number
  FrmSettings* frm_settings_ = nullptr;
  FrmUseCompare* frm_use_compare_ = nullptr;
};

}  // namespace quillet
