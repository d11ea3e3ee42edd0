#pragma once

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

#include "commands/across_save.h"
#include "commands/session.h"
#include "list/columns.h"
#include "objects/object_file_reader.h"
#include "output/list_formats.h"
#include "output/print_layout.h"
#include "shell/main_settings.h"
#include "shell/status_words.h"
#include "shell/toolbar_entries.h"

class QAction;
class QBoxLayout;
class QFileSystemWatcher;
class QMenu;
class QProgressBar;
class QToolBar;

namespace quillet {

class AcrossBackBar;
class AcrossPane;
class FilterBar;
class FrmSettings;
class FrmUseCompare;
class ListActions;
class ObjectListModel;
class ObjectListView;
class ReloadBar;
class SettingsStore;
class StatusPanel;
class ToolbarKeys;
class UserDialogs;
class ViewBar;

// The main window: the toolbar, the object list with its bars and the status bar, drawn from
// the session, which holds what it shows and runs what the user asks. The window words what
// the session's commands report (status texts, progress, messages) and owns what only a window
// has: dialogs, recent files, the watching of loaded files, saving and printing.
class FrmMain final : public QMainWindow, private StatusPainter, private MessageSink {
  Q_OBJECT

 public:
  // `file_icons` by file number: the base, file #1, file #2.
  FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
          std::array<QIcon, 3> file_icons);
  ~FrmMain() override;

  // Restores the stored settings, builds the toolbar, list and status bar, and shows the window.
  void frmmain_Load();
  void AttachDialogs(FrmSettings* settings, FrmUseCompare* use_compare);

  Session& session() { return session_; }
  const MainSettings& settings() const { return settings_; }

  // What a toolbar button or its key asks.
  void tbMain_ButtonClick(Command command);
  // Sorts by a column: ascending, then descending on a second click of the same column.
  void lvMain_ColumnClick(Column column);
  // Reads a file into slot `file` (0 the base, 1, 2) and lists it, as the load commands and
  // start-up do; the base is read, not listed.
  // Only the command line's names may be pipes or devices (`kinds`).
  void LoadAndShowFile(const std::filesystem::path& file_name, int file,
                       InputKinds kinds = InputKinds::kFiles);
  void LoadAndShowFile(const QString& file_name, int file);
  // The same for a file the command line names, which may be a pipe or a device: a file that
  // cannot be read is named in the message, one that is not there too where `tell_missing`.
  // Gives whether it was read.
  bool OpenNamedFile(const std::filesystem::path& file_name, int file, bool tell_missing);
  // The two halves of it: reading (with what the window keeps of a loaded file: the recent
  // files, the watch) and listing.
  LoadResult ReadFile(const std::filesystem::path& file_name, int file,
                      InputKinds kinds = InputKinds::kFiles);
  void ShowFile(int file);
  // Replaces the list with a comparison's result; what the criteria dialog's OK runs.
  void ShowComparison(CompareMode mode, const CompareCriteria& criteria);
  // Reads the loaded files again and shows what the list showed.
  void Reload();
  // Opens the filter bar (Ctrl+F).
  void OpenFilter();
  // Filters the list as the filter bar does: the rows the filter leaves are shown once they
  // are found, off the window's thread (session().FilterPending() until then).
  void SetFilterText(const QString& text);

  // Save: the file name from the save dialog (remembered for next time) and its format, or an
  // empty name.
  struct SaveTarget {
    QString name;
    ListFormat format = ListFormat::kText;
  };
  SaveTarget AskSaveFileName();
  // Writes the list as it is shown (or only `rows`, shown row numbers); nothing for an empty
  // name. A loaded file is never replaced, and another file that is there only when the user
  // says so.
  void SaveObjectList(const SaveTarget& target, const std::vector<int>* rows = nullptr);
  // Print: every row on the printer chosen in the print dialog.
  void PrintObjectList();
  void PreviewObjectList();
  // The keys that lead the focus: F10 to the toolbar.
  void FocusToolbar();

  // "Compare many files…": the files chosen in the open dialog, in the matrix.
  void CompareManyFiles();
  // The files in the matrix, compared on the criteria dialog's ticks; what the command line
  // and a drop of three or more files run.
  void CompareAcrossFiles(const std::vector<std::filesystem::path>& names,
                          InputKinds kinds = InputKinds::kFiles);
  // The matrix's files at `first` and `second` as file #1 and file #2, and their changes.
  void ShowChangesBetween(int first, int second);
  // Save, Print and Copy of the matrix: the rows as it shows them (or only `rows`, from 0).
  void SaveMatrix(const SaveTarget& target, const std::vector<int>* rows = nullptr);
  void CopyMatrixRows(const std::vector<int>& rows);
  void PrintMatrix();
  void PreviewMatrix();
  // What the matrix is saved and copied through; tests put a recorder in.
  void SetAcrossWriter(AcrossRowsWriter& writer) { across_writer_ = &writer; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dragged from the desktop: one .fob or .fbk at a time, offered as file #1, #2 or base.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The drops not yet answered, oldest first.
  Q_INVOKABLE void AnswerDrop();
  QList<QList<QUrl>> pending_drops_;

  // StatusPainter: the status bar's panels and progress bar.
  void PaintPanel(Panel panel, std::string_view text) override;
  void PaintBar(double percent) override;
  void PaintFile(int file, const std::filesystem::path& file_name) override;
  // MessageSink: a message box.
  void Tell(const Notice& notice) override;

  QAction* AddCommand(const ToolbarEntry& entry);
  void BuildToolbar();
  void BuildRecentMenus();
  void FillRecentMenu(int file);
  void BuildList();
  void BuildStatusBar();
  // The keys that belong to no command: the toolbar's focus, closing and quitting.
  void BuildKeys();
  // Where a file dialog starts: the folder of the file last chosen in any of them, with the
  // name `remembered` where it lies there.
  QString DialogStart(const QString& remembered) const;
  // The file panels' names, the title's and the watch's.
  void WatchLoadedFiles();
  void PlaceWindow();
  QString SelectObjectFile(int file);
  StatusPanel* PanelWidget(Panel panel) const;
  std::string FileText(int file) const;
  PrintHeader CurrentPrintHeader() const;
  // What is printed, laid out on the paper the print dialog gives.
  using PrintoutOn = std::function<std::unique_ptr<Printout>(const PrintPaper&)>;
  // The print dialog over `parent`, then the printing of `printout` with its progress; false
  // when the user cancelled the dialog.
  bool PrintFrom(QWidget* parent, const PrintoutOn& printout, const QString& name);
  // The preview of what printing with the dialog's first settings gives.
  void PreviewOf(const PrintoutOn& printout, const QString& name);
  std::unique_ptr<Printout> ListPrintoutOn(const PrintPaper& paper) const;
  ListContext CurrentListContext() const;
  void frmmain_Close();
  // The type buttons: the list again with the new selection, or the keyed comparison again.
  void ToggleType(int type);
  void NewList();
  // After a command: what the window shows of the session.
  void Draw();
  void DrawCommands();
  // The file panels, the title and the watch.
  void DrawFiles();
  void DrawBars();
  // The matrix in place of the list while the session shows it, and the way back to it.
  void BuildAcross(QBoxLayout& layout);
  void DrawAcross();
  // The rows the list or the matrix shows.
  ListCount ShownCount() const;
  // What the user must know of how the matrix's files were read, in one message.
  void TellAcrossReads(const std::vector<AcrossFileRead>& reads);
  // A filter was found: the list shows it.
  void ShowFoundFilter();
  // The counts of what the filter leaves, in the status bar and above a keyed view.
  void DrawFilterCounts();

  SettingsStore& store_;
  UserDialogs& dialogs_;
  std::array<QIcon, 3> file_icons_;
  StatusWords words_{*this};
  Session session_;
  MainSettings settings_;
  bool sorting_ = false;
  QString last_chosen_;                            // in a file dialog, for the next one
  const std::filesystem::path* naming_ = nullptr;  // the file being read, to name it
  ToolbarKeys* toolbar_keys_ = nullptr;

  QToolBar* tbMain_ = nullptr;
  ObjectListView* lvMain_ = nullptr;
  ObjectListModel* model_ = nullptr;
  ListActions* actions_ = nullptr;
  FilterBar* filter_bar_ = nullptr;
  ViewBar* view_bar_ = nullptr;
  ReloadBar* reload_bar_ = nullptr;
  QProgressBar* proMain_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  std::array<StatusPanel*, kPanelCount + 1> panels_{};  // by panel number
  std::array<QAction*, kCommandCount> actions_by_command_{};
  std::array<QMenu*, 3> recent_menus_{};  // by file number
  FrmSettings* frm_settings_ = nullptr;
  FrmUseCompare* frm_use_compare_ = nullptr;
  AcrossPane* across_pane_ = nullptr;
  AcrossBackBar* across_back_ = nullptr;
  AcrossRowsWriter* across_writer_ = &BuiltInAcrossWriter();
};

}  // namespace quillet
