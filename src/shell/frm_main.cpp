#include "shell/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

#include "commands/listing.h"
#include "commands/load_file.h"
#include "list/frm_use_compare.h"
#include "list/object_list_model.h"
#include "list/trimmed_text_delegate.h"
#include "output/list_file_writer.h"
#include "output/printout_painter.h"
#include "runtime/settings_store.h"
#include "runtime/text_codec.h"
#include "runtime/user_dialogs.h"
#include "shell/command_line.h"
#include "shell/frm_about.h"
#include "shell/frm_drag_drop.h"
#include "shell/frm_settings.h"
#include "shell/status_panel.h"
#include "shell/twips.h"
#include "shell/window_placement.h"

namespace quillet {
namespace {

constexpr const char* kNoFile = "no file";
constexpr const char* kOpenTitle = "Select a file...";
constexpr const char* kOpenFilter =
    "Supported files (*.fob;*.fbk)|*.fob;*.fbk|Object files (*.fob)|*.fob|Backup files "
    "(*.fbk)|*.fbk|All files|*.*";
constexpr const char* kSaveTitle = "Save object list...";
constexpr const char* kSaveFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
constexpr const char* kPrintDocumentName = "Quillet object list";
// Pixels, by panel number.
constexpr std::array<int, kPanelCount + 1> kPanelWidths = {0, 270, 270, 90, 100, 100};
constexpr int kProgressSteps = 1000;  // the bar shows tenths of a percent

}  // namespace

FrmMain::FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
                 std::array<QIcon, 2> file_icons)
    : table_(table),
      store_(store),
      dialogs_(dialogs),
      ws_{table_, list_, filter_, *this, *this},
      file_icons_(std::move(file_icons)) {
  setObjectName("frmMain");
  setWindowTitle("Quillet");
  setWindowIcon(QIcon(":/icons/quillet.svg"));
  setMinimumSize(360, 200);
}

// The view and its model read list_, which as a member dies before the window's children do:
// they go first.
FrmMain::~FrmMain() {
  delete lvMain_;
  delete model_;
}

void FrmMain::frmmain_Load() {
  settings_ = MainSettings::Read(store_);
  filter_.hide_system = settings_.hide_system;
  filter_.types = settings_.types;
  PlaceWindow();
  BuildToolbar();
  BuildList();
  BuildStatusBar();
  if (settings_.zoomed) {
    showMaximized();
  } else {
    show();
  }
}

void FrmMain::AttachDialogs(FrmSettings* settings, FrmUseCompare* use_compare) {
  frm_settings_ = settings;
  frm_use_compare_ = use_compare;
}

void FrmMain::PlaceWindow() {
  const double dpi = LogicalDpi();
  const QRect placed = VisiblePlacement(
      QRect(TwipsToPixels(settings_.left, dpi), TwipsToPixels(settings_.top, dpi),
            TwipsToPixels(settings_.width, dpi), TwipsToPixels(settings_.height, dpi)));
  move(placed.topLeft());
  resize(placed.size());
}

void FrmMain::BuildToolbar() {
  tbMain_ = addToolBar("Commands");
  tbMain_->setObjectName("tbMain");
  tbMain_->setMovable(false);
  tbMain_->setFloatable(false);
  tbMain_->setIconSize(QSize(16, 16));
  tbMain_->toggleViewAction()->setEnabled(false);
  tbMain_->setContextMenuPolicy(Qt::PreventContextMenu);
  for (int number = 1; number <= kToolbarEntries; ++number) {
    const ToolbarEntry& entry = kToolbar[number - 1];
    if (entry.separator) {
      auto* gap = new QWidget(tbMain_);
      gap->setFixedWidth(8);
      tbMain_->addWidget(gap);
      continue;
    }
    auto* action = new QAction(QIcon(kToolbarPictures[entry.picture]), entry.tooltip, this);
    action->setToolTip(entry.tooltip);
    action->setShortcut(QKeySequence(entry.shortcut));
    action->setData(number);
    const bool type_button = number >= button::kFirstType && number <= button::kLastType;
    if (type_button) {
      action->setCheckable(true);
      action->setChecked(filter_.types[number - button::kFirstType]);
    }
    connect(action, &QAction::triggered, this, [this, number] { tbMain_ButtonClick(number); });
    tbMain_->addAction(action);
    buttons_[number] = action;
  }
  auto* preview = new QAction("Print preview", this);
  preview->setShortcut(QKeySequence("Ctrl+Shift+P"));
  connect(preview, &QAction::triggered, this, &FrmMain::PreviewObjectList);
  addAction(preview);
  for (int number : {button::kCompareEqual, button::kCompareDifferent, button::kShowAll}) {
    buttons_[number]->setEnabled(false);
  }
  // The progress bar sits one button width right of "Info".
  auto* space = new QWidget(tbMain_);
  space->setFixedWidth(tbMain_->iconSize().width());
  tbMain_->addWidget(space);
  proMain_ = new QProgressBar(tbMain_);
  proMain_->setObjectName("proMain");
  proMain_->setRange(0, kProgressSteps);
  proMain_->setValue(0);
  proMain_->setTextVisible(false);
  proMain_->setFixedSize(100, 12);
  tbMain_->addWidget(proMain_);
}

void FrmMain::BuildList() {
  model_ = new ObjectListModel(list_, file_icons_, this);
  lvMain_ = new QTreeView(this);
  lvMain_->setObjectName("lvMain");
  lvMain_->setModel(model_);
  lvMain_->setRootIsDecorated(false);
  lvMain_->setUniformRowHeights(true);
  lvMain_->setItemsExpandable(false);
  lvMain_->setAllColumnsShowFocus(true);
  lvMain_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvMain_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvMain_->setIconSize(QSize(16, 16));
  // The default column widths were made for a small sans-serif font; in Arial's metrics at
  // 7.5 points a ten-digit number and a date fit them.
  QFont list_font = lvMain_->font();
  list_font.setFamilies({"Arial", "Liberation Sans"});
  list_font.setPointSizeF(7.5);
  lvMain_->setFont(list_font);
  lvMain_->setItemDelegate(new TrimmedTextDelegate(lvMain_));
  QHeaderView* header = lvMain_->header();
  header->setMinimumSectionSize(0);  // Modified and Compiled start at width 0
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int section) { lvMain_ColumnClick(ColumnAt(section)); });
  // A rebuilt list is in listing order again, whatever the last sort was.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (!sorting_) lvMain_->header()->setSortIndicatorShown(false);
  });
  const double dpi = LogicalDpi();
  const int widest = DesktopSize().width();
  for (int column = 0; column < kColumnCount; ++column) {
    const int width = TwipsToPixels(settings_.column_widths[column], dpi);
    lvMain_->setColumnWidth(column, std::clamp(width, 0, widest));
  }
  setCentralWidget(lvMain_);
}

void FrmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbMain");
  bar->setSizeGripEnabled(true);
  for (int panel = 1; panel <= kPanelCount; ++panel) {
    const bool file_panel = panel <= static_cast<int>(Panel::kFile2);
    panels_[panel] = new StatusPanel(kPanelWidths[panel], file_panel ? kNoFile : "", bar);
    bar->addWidget(panels_[panel]);
  }
}

QString FrmMain::PanelText(Panel panel) const { return PanelWidget(panel)->text(); }

bool FrmMain::PanelHasIcon(Panel panel) const { return PanelWidget(panel)->HasIcon(); }

// Long work runs inside one handler, so a panel paints itself at once to look alive; the core
// calls this at most about a hundred times per operation.
void FrmMain::SetPanel(Panel panel, const QString& text) {
  StatusPanel* target = PanelWidget(panel);
  target->SetText(text);
  if (target->isVisible()) target->repaint();
}

void FrmMain::SetPanelText(Panel panel, std::string_view text) {
  SetPanel(panel, FromWindows1252(text));
}

void FrmMain::ShowFilePanel(int file, const std::filesystem::path& file_name) {
  const QString name = FromPath(file_name);
  SetPanel(FilePanel(file), name);
  PanelWidget(FilePanel(file))->setToolTip(name);
  PanelWidget(FilePanel(file))->SetIcon(file_icons_[file - 1]);
}

void FrmMain::SetProgress(double value) {
  progress_ = value;
  proMain_->setValue(static_cast<int>(value * kProgressSteps / 100));
  if (proMain_->isVisible()) proMain_->repaint();
}

void FrmMain::SetCompareCommandsEnabled(bool compare, bool show_all) {
  buttons_[button::kCompareEqual]->setEnabled(compare);
  buttons_[button::kCompareDifferent]->setEnabled(compare);
  buttons_[button::kShowAll]->setEnabled(show_all);
}

void FrmMain::ShowMessage(std::string_view text) {
  dialogs_.ShowMessage(this, FromWindows1252(text));
}

std::array<bool, kTypeCount> FrmMain::StoredTypes() const { return settings_.types; }

void FrmMain::tbMain_ButtonClick(int number) {
  switch (number) {
    case button::kNew:
      list_.RemoveAll();
      for (int file : {1, 2}) {
        SetPanel(FilePanel(file), kNoFile);
        PanelWidget(FilePanel(file))->setToolTip(QString());
        PanelWidget(FilePanel(file))->SetIcon(QIcon());
      }
      table_.SetCount(1, 0);
      table_.SetCount(2, 0);
      if (frm_use_compare_ != nullptr) frm_use_compare_->hide();
      break;
    case button::kLoadFile1:
    case button::kLoadFile2: {
      const int file = number == button::kLoadFile1 ? 1 : 2;
      const QString name = SelectObjectFile(file);
      if (!name.isEmpty() && !HasTextFileExtension(ToPath(name))) LoadAndShowFile(name, file);
      break;
    }
    case button::kCompareEqual:
    case button::kCompareDifferent:
      SetPanel(Panel::kCount, "Count: ");
      if (frm_use_compare_ != nullptr) {
        frm_use_compare_->SetMode(number == button::kCompareEqual ? CompareMode::kEqual
                                                                  : CompareMode::kDifferent);
        frm_use_compare_->show();
      }
      break;
    case button::kShowAll:
      SetPanel(Panel::kCount, "Count: ");
      RefreshList(ws_);
      break;
    case button::kSave:
      SaveObjectList(AskSaveFileName());
      break;
    case button::kPrint:
      PrintObjectList();
      break;
    case button::kSettings:
      if (frm_settings_ != nullptr) frm_settings_->show();
      break;
    case button::kInfo:
      ShowAboutBox(this, dialogs_);
      break;
    default:
      if (number >= button::kFirstType && number <= button::kLastType) {
        bool& shown = filter_.types[number - button::kFirstType];
        shown = !shown;
        buttons_[number]->setChecked(shown);
        // Let the button repaint before the list is rebuilt; no user input meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        RefreshList(ws_);
      } else {
        dialogs_.ShowMessage(this, QString("Not implemented yet %1").arg(number));
      }
      break;
  }
  SetPanelText(Panel::kCount, ListCountText(list_));
  UpdateCompareButtons(ws_);
}

QString FrmMain::SelectObjectFile(int file) {
  QString& last = file == 1 ? settings_.last_file1 : settings_.last_file2;
  const QString name = dialogs_.GetOpenFileName(this, kOpenTitle, kOpenFilter, last);
  if (!name.isEmpty()) last = name;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return name;
}

void FrmMain::LoadAndShowFile(const QString& file_name, int file) {
  LoadAndShowFile(ToPath(file_name), file);
}

void FrmMain::LoadAndShowFile(const std::filesystem::path& file_name, int file) {
  const LoadResult result = LoadObjectFile(ws_, file_name, file);
  // A file that is not there changed nothing; listing its slot again would only repeat rows.
  if (result.status == LoadStatus::kMissing) return;
  ShowFileObjects(ws_, file);
}

QString FrmMain::AskSaveFileName() {
  const QString name =
      dialogs_.GetSaveFileName(this, kSaveTitle, kSaveFilter, settings_.last_file_saved);
  if (!name.isEmpty()) settings_.last_file_saved = name;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return name;
}

void FrmMain::SaveObjectList(const QString& file_name) {
  if (file_name.isEmpty()) return;
  const int rows = list_.RowCount();
  if (rows == 0) {
    dialogs_.ShowMessage(this, "The list is empty");
    return;
  }
  const std::string error =
      WriteListFile(ToPath(file_name), list_, ListFormat::kText, {},
                    [&](int written) { SetProgress(100.0 * written / rows); });
  // The reason goes on a line of its own, below the message users know.
  if (!error.empty()) {
    dialogs_.ShowMessage(
        this,
        QString("Unable to save the file\n%1: %2").arg(file_name, QString::fromStdString(error)));
  }
  SetProgress(0);
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

void FrmMain::lvMain_ColumnClick(Column column) {
  const bool ascending = column != last_sort_column_;
  last_sort_column_ = ascending ? std::optional(column) : std::nullopt;
  const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
  sorting_ = true;
  model_->sort(ColumnIndex(column), order);
  sorting_ = false;
  QHeaderView* header = lvMain_->header();
  header->setSortIndicator(ColumnIndex(column), order);
  header->setSortIndicatorShown(true);
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (AcceptsDrag(event->mimeData())) event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  // Answered after the drop has returned, so a message box here does not hold up the program
  // the file came from.
  QMetaObject::invokeMethod(
      this, [this, urls] { HandleDroppedUrls(*this, dialogs_, urls); }, Qt::QueuedConnection);
}

void FrmMain::closeEvent(QCloseEvent* event) {
  frmmain_Close();
  if (frm_settings_ != nullptr) frm_settings_->hide();
  if (frm_use_compare_ != nullptr) frm_use_compare_->hide();
  event->accept();
}

void FrmMain::frmmain_Close() {
  const double dpi = LogicalDpi();
  const QRect normal =
      NormalPlacement(isMaximized(), frameGeometry(), geometry(), normalGeometry());
  settings_.left = PixelsToTwips(normal.x(), dpi);
  settings_.top = PixelsToTwips(normal.y(), dpi);
  settings_.width = PixelsToTwips(normal.width(), dpi);
  settings_.height = PixelsToTwips(normal.height(), dpi);
  settings_.zoomed = isMaximized();
  settings_.hide_system = filter_.hide_system;
  settings_.types = frm_settings_ != nullptr ? frm_settings_->StoredTypes() : StoredTypes();
  for (int column = 0; column < kColumnCount; ++column) {
    settings_.column_widths[column] = PixelsToTwips(lvMain_->columnWidth(column), dpi);
  }
  settings_.Write(store_);
}

}  // namespace quillet
