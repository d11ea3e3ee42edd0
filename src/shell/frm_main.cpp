#include "shell/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "commands/listing.h"
#include "desktop/text_codec.h"
#include "shell/command_line.h"
#include "shell/frm_drag_drop.h"
#include "shell/frm_settings.h"
#include "shell/settings_store.h"
#include "shell/twips.h"
#include "shell/window_placement.h"
#include "view/frm_about.h"
#include "view/frm_use_compare.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/status_panel.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr const char* kNoFile = "no file";
// Pixels, by panel number.
constexpr std::array<int, kPanelCount + 1> kPanelWidths = {0, 270, 270, 90, 100, 100, 200};
// Left to right: the base (while one is loaded), then the five panels in their order.
constexpr std::array<Panel, kPanelCount> kPanelOrder = {
    Panel::kBase, Panel::kFile1, Panel::kFile2, Panel::kActivity, Panel::kProgress, Panel::kCount};
constexpr int kProgressSteps = 1000;  // the bar shows tenths of a percent

}  // namespace

FrmMain::FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
                 std::array<QIcon, 3> file_icons)
    : table_(table),
      store_(store),
      dialogs_(dialogs),
      ws_{table_, list_, filter_, *this, *this},
      file_icons_(std::move(file_icons)) {
  setObjectName("frmMain");
  setWindowTitle("Quillet");
  setWindowIcon(QIcon(":/icons/quillet.svg"));
  setMinimumSize(360, 200);
  watcher_ = new QFileSystemWatcher(this);
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
  for (const ToolbarEntry& entry : kToolbar) {
    const int number = entry.number;
    if (entry.separator) {
      auto* gap = new QWidget(tbMain_);
      gap->setFixedWidth(4);
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
  auto* reload =
      new QAction(QIcon(kToolbarPictures[kReloadEntry.picture]), kReloadEntry.tooltip, this);
  reload->setShortcut(QKeySequence(kReloadEntry.shortcut));
  connect(reload, &QAction::triggered, this, [this] { tbMain_ButtonClick(button::kReload); });
  addAction(reload);
  buttons_[button::kReload] = reload;
  BuildRecentMenus();
  auto* preview = new QAction("Print preview", this);
  preview->setShortcut(QKeySequence("Ctrl+Shift+P"));
  connect(preview, &QAction::triggered, this, &FrmMain::PreviewObjectList);
  addAction(preview);
  auto* find = new QAction("Filter", this);
  find->setShortcut(QKeySequence::Find);
  connect(find, &QAction::triggered, this, &FrmMain::OpenFilter);
  addAction(find);
  for (int number : {button::kCompareEqual, button::kCompareDifferent, button::kShowChanges,
                     button::kShowUpgrade, button::kShowAll, button::kReload}) {
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
  proMain_->setFixedSize(80, 12);
  tbMain_->addWidget(proMain_);
}

void FrmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbMain");
  bar->setSizeGripEnabled(true);
  for (const Panel panel : kPanelOrder) {
    const int number = static_cast<int>(panel);
    const bool file_panel = panel == Panel::kFile1 || panel == Panel::kFile2;
    const bool gives_way = file_panel || panel == Panel::kBase;
    panels_[number] =
        new StatusPanel(kPanelWidths[number], file_panel ? kNoFile : "", gives_way, bar);
    // The names give way first: they stretch and shrink, the others keep their text.
    bar->addWidget(panels_[number], gives_way ? 1 : 0);
  }
  PanelWidget(Panel::kBase)->hide();
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
  PanelWidget(FilePanel(file))->SetIcon(file_icons_[static_cast<std::size_t>(file)]);
  PanelWidget(FilePanel(file))->show();
}

void FrmMain::SetProgress(double value) {
  progress_ = value;
  proMain_->setValue(static_cast<int>(value * kProgressSteps / 100));
  if (proMain_->isVisible()) proMain_->repaint();
}

void FrmMain::SetCompareCommandsEnabled(bool compare, bool show_all, bool upgrade) {
  for (int number : {button::kCompareEqual, button::kCompareDifferent, button::kShowChanges}) {
    buttons_[number]->setEnabled(compare);
  }
  buttons_[button::kShowUpgrade]->setEnabled(upgrade);
  buttons_[button::kShowAll]->setEnabled(show_all);
}

void FrmMain::ShowMessage(std::string_view text) {
  dialogs_.ShowMessage(this, ShownInMessage(FromWindows1252(text)));
}

std::array<bool, kTypeCount> FrmMain::StoredTypes() const { return settings_.types; }

void FrmMain::tbMain_ButtonClick(int number) {
  switch (number) {
    case button::kNew:
      NewList();
      break;
    case button::kLoadFile1:
    case button::kLoadFile2:
    case button::kLoadBase: {
      const int file = number == button::kLoadFile1 ? 1 : number == button::kLoadFile2 ? 2 : 0;
      const QString name = SelectObjectFile(file);
      if (!name.isEmpty() && !HasTextFileExtension(ToPath(name))) LoadAndShowFile(name, file);
      break;
    }
    case button::kReload:
      Reload();
      break;
    case button::kCompareEqual:
    case button::kCompareDifferent:
    case button::kShowChanges:
    case button::kShowUpgrade:
      SetPanel(Panel::kCount, "Count: ");
      if (frm_use_compare_ != nullptr) {
        frm_use_compare_->SetMode(number == button::kCompareEqual       ? CompareMode::kEqual
                                  : number == button::kCompareDifferent ? CompareMode::kDifferent
                                  : number == button::kShowChanges      ? CompareMode::kChanges
                                                                        : CompareMode::kUpgrade);
        frm_use_compare_->show();
      }
      break;
    case button::kShowAll:
      SetPanel(Panel::kCount, "Count: ");
      RefreshList(ws_);
      compared_ = CompareMode::kNone;
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
        ToggleType(number);
      } else {
        dialogs_.ShowMessage(this, QString("Not implemented yet %1").arg(number));
      }
      break;
  }
  SetPanelText(Panel::kCount, ListCountText(list_));
  UpdateCompareButtons(ws_);
  UpdateBars();
}

void FrmMain::NewList() {
  list_.RemoveAll();
  for (int file : {kBaseFile, 1, 2}) {
    SetPanel(FilePanel(file), kNoFile);
    PanelWidget(FilePanel(file))->SetIcon(QIcon());
    table_.SetCount(file, 0);
    if (!loaded_[static_cast<std::size_t>(file)].empty()) {
      watcher_->removePath(FromPath(loaded_[static_cast<std::size_t>(file)]));
    }
    loaded_[static_cast<std::size_t>(file)].clear();
  }
  PanelWidget(Panel::kBase)->hide();
  compared_ = CompareMode::kNone;
  reload_bar_->hide();
  UpdateTitle();
  if (frm_use_compare_ != nullptr) frm_use_compare_->hide();
}

void FrmMain::ToggleType(int number) {
  bool& shown = filter_.types[static_cast<std::size_t>(number - button::kFirstType)];
  shown = !shown;
  buttons_[number]->setChecked(shown);
  // Let the button repaint before the list is rebuilt; no user input meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // In a keyed comparison's view the types narrow the comparison; elsewhere the list is
  // rebuilt from both files.
  if (HasStatus(list_.view())) {
    ShowComparison(compared_, criteria_);
  } else {
    RefreshList(ws_);
    compared_ = CompareMode::kNone;
  }
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (AcceptsDrag(event->mimeData())) event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent* event) {
  pending_drops_.push_back(event->mimeData()->urls());
  event->acceptProposedAction();
  // Answered after the drop has returned, so a message box here does not hold up the program
  // the file came from.
  QMetaObject::invokeMethod(this, "AnswerDrop", Qt::QueuedConnection);
}

void FrmMain::AnswerDrop() {
  if (!pending_drops_.isEmpty()) HandleDroppedUrls(*this, dialogs_, pending_drops_.takeFirst());
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
