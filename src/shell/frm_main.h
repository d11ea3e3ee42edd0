#pragma once

#include <QIcon>
#include <QMainWindow>
#include <array>
#include <optional>

#include "commands/workspace.h"
#include "list/columns.h"
#include "output/print_layout.h"
#include "shell/main_settings.h"
#include "shell/toolbar_entries.h"

class QAction;
class QProgressBar;
class QToolBar;
class QTreeView;

namespace quillet {

class FrmSettings;
class FrmUseCompare;
class ObjectListModel;
class SettingsStore;
class StatusPanel;
class UserDialogs;

// The main window: the toolbar and its commands, the object list and the status bar. It is
// where the core reports (status panels, progress, messages) and what the user drives.
class FrmMain final : public QMainWindow, public StatusSink, public MessageSink {
  Q_OBJECT

 public:
  FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
          std::array<QIcon, 2> file_icons);
  ~FrmMain() override;

  // Restores the stored settings, builds the toolbar, list and status bar, and shows the window.
  void frmmain_Load();
  void AttachDialogs(FrmSettings* settings, FrmUseCompare* use_compare);

  // The command of toolbar entry `number` (1..28).
  void tbMain_ButtonClick(int number);
  // Sorts by a column: ascending, then descending on a second click of the same column.
  void lvMain_ColumnClick(Column column);
  // Reads a file into slot `file` and lists it, as the load commands and start-up do.
  void LoadAndShowFile(const std::filesystem::path& file_name, int file);
  void LoadAndShowFile(const QString& file_name, int file);

  // Save: the file name from the save dialog (remembered for next time), or empty.
  QString AskSaveFileName();
  // Writes the list as it is shown; nothing for an empty name.
  void SaveObjectList(const QString& file_name);
  // Print: every row on the printer chosen in the print dialog.
  void PrintObjectList();
  void PreviewObjectList();

  Workspace& workspace() { return ws_; }
  const MainSettings& settings() const { return settings_; }
  QAction* Button(int number) const { return buttons_.at(number); }
  QString PanelText(Panel panel) const;
  bool PanelHasIcon(Panel panel) const;
  double Progress() const { return progress_; }
  QTreeView* ListView() const { return lvMain_; }
  ObjectListModel* ListModel() const { return model_; }

  // StatusSink
  void SetPanelText(Panel panel, std::string_view text) override;
  void ShowFilePanel(int file, const std::filesystem::path& file_name) override;
  void SetProgress(double value) override;
  void SetCompareCommandsEnabled(bool compare, bool show_all) override;
  // MessageSink
  void ShowMessage(std::string_view text) override;

  // The stored-settings dialog's type boxes, written at close; the start selection until the
  // settings dialog has its own boxes.
  std::array<bool, kTypeCount> StoredTypes() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dragged from the desktop: one .fob or .fbk at a time, offered as file #1 or #2.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildToolbar();
  void BuildList();
  void BuildStatusBar();
  void PlaceWindow();
  QString SelectObjectFile(int file);
  void SetPanel(Panel panel, const QString& text);
  StatusPanel* PanelWidget(Panel panel) const { return panels_.at(static_cast<int>(panel)); }
  PrintHeader CurrentPrintHeader() const;
  void frmmain_Close();

  ObjectTable& table_;
  ObjectList list_{table_};
  RowFilter filter_;
  SettingsStore& store_;
  UserDialogs& dialogs_;
  Workspace ws_;
  std::array<QIcon, 2> file_icons_;
  MainSettings settings_;
  std::optional<Column> last_sort_column_;
  bool sorting_ = false;
  double progress_ = 0;

  QToolBar* tbMain_ = nullptr;
  QTreeView* lvMain_ = nullptr;
  ObjectListModel* model_ = nullptr;
  QProgressBar* proMain_ = nullptr;
  std::array<StatusPanel*, kPanelCount + 1> panels_{};   // by panel number
  std::array<QAction*, kToolbarEntries + 1> buttons_{};  // by number; separators stay null
  FrmSettings* frm_settings_ = nullptr;
  FrmUseCompare* frm_use_compare_ = nullptr;
};

}  // namespace quillet
