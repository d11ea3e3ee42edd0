#include "shell/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemWatcher>
#include <QMimeData>
#include <QProgressBar>
#include <QToolBar>

#include "desktop/text_codec.h"
#include "shell/command_line.h"
#include "shell/frm_drag_drop.h"
#include "shell/frm_settings.h"
#include "shell/settings_store.h"
#include "shell/twips.h"
#include "shell/window_placement.h"
#include "view/across_pane.h"
#include "view/frm_about.h"
#include "view/frm_use_compare.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kProgressSteps = 1000;  // the bar shows tenths of a percent

}  // namespace

FrmMain::FrmMain(ObjectTable& table, SettingsStore& store, UserDialogs& dialogs,
                 std::array<QIcon, 3> file_icons)
    : store_(store),
      dialogs_(dialogs),
      file_icons_(std::move(file_icons)),
      session_(table, words_, *this) {
  setObjectName("frmMain");
  setWindowTitle("Quillet");
  setWindowIcon(QIcon(":/icons/quillet.svg"));
  setMinimumSize(360, 200);
  watcher_ = new QFileSystemWatcher(this);
}

// The view and its model read the session's list, which as a member dies before the window's
// children do: they go first.
FrmMain::~FrmMain() {
  delete lvMain_;
  delete model_;
  // The matrix reads the session, which goes before the window's children do.
  delete across_pane_;
}

void FrmMain::frmmain_Load() {
  settings_ = MainSettings::Read(store_);
  RowFilter filter;
  filter.hide_system = settings_.hide_system;
  filter.types = settings_.types;
  session_.SetRowFilter(filter);
  PlaceWindow();
  BuildToolbar();
  BuildList();
  BuildStatusBar();
  DrawCommands();
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

QAction* FrmMain::AddCommand(const ToolbarEntry& entry) {
  const Command command = *entry.command;
  const QIcon icon = entry.picture > 0
                         ? QIcon(kToolbarPictures[static_cast<std::size_t>(entry.picture)])
                         : QIcon();
  auto* action = new QAction(icon, entry.tooltip, this);
  action->setToolTip(entry.tooltip);
  action->setShortcut(entry.shortcut != nullptr ? QKeySequence(entry.shortcut)
                                                : QKeySequence(QKeySequence::Find));
  action->setData(static_cast<int>(command));
  if (const std::optional<int> type = TypeOf(command)) {
    action->setCheckable(true);
    action->setChecked(session_.filter().types[static_cast<std::size_t>(*type)]);
  }
  connect(action, &QAction::triggered, this, [this, command] { tbMain_ButtonClick(command); });
  actions_by_command_[static_cast<std::size_t>(command)] = action;
  return action;
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
    if (!entry.command) {
      auto* gap = new QWidget(tbMain_);
      gap->setFixedWidth(4);
      tbMain_->addWidget(gap);
      continue;
    }
    tbMain_->addAction(AddCommand(entry));
  }
  for (const ToolbarEntry& entry : kKeyOnlyCommands) addAction(AddCommand(entry));
  BuildRecentMenus();
  // The progress bar sits one button width right of "Info".
  auto* space = new QWidget(tbMain_);
  space->setFixedWidth(tbMain_->iconSize().width());
  tbMain_->addWidget(space);
  proMain_ = new QProgressBar(tbMain_);
  proMain_->setObjectName("proMain");
  proMain_->setRange(0, kProgressSteps);
  proMain_->setValue(0);
  proMain_->setTextVisible(false);
  // Narrow enough that the toolbar, progress bar included, fits the window's first width.
  proMain_->setFixedSize(56, 12);
  tbMain_->addWidget(proMain_);
  BuildKeys();
}

void FrmMain::PaintBar(double percent) {
  proMain_->setValue(static_cast<int>(percent * kProgressSteps / 100));
  if (proMain_->isVisible()) proMain_->repaint();
}

void FrmMain::Tell(const Notice& notice) {
  if (naming_ != nullptr && notice.kind == Notice::Kind::kUnreadable) {
    // Of two files given at once, the message must say which could not be read.
    dialogs_.ShowMessage(this, "Unable to read the file\n" + ShownInMessage(FromPath(*naming_)) +
                                   ": " + ShownInMessage(FromWindows1252(notice.reason)));
    return;
  }
  dialogs_.ShowMessage(this, ShownInMessage(FromWindows1252(NoticeText(notice))));
}

void FrmMain::tbMain_ButtonClick(Command command) {
  switch (command) {
    case Command::kNew:
      NewList();
      break;
    case Command::kLoadFile1:
    case Command::kLoadFile2:
    case Command::kLoadBase: {
      const int file = *LoadSlotOf(command);
      const QString name = SelectObjectFile(file);
      if (!name.isEmpty() && !HasTextFileExtension(ToPath(name))) LoadAndShowFile(name, file);
      break;
    }
    case Command::kReload:
      Reload();
      break;
    case Command::kCompareEqual:
    case Command::kCompareDifferent:
    case Command::kShowChanges:
    case Command::kShowUpgrade:
      PaintPanel(Panel::kCount, kBareCount);
      if (frm_use_compare_ != nullptr) {
        frm_use_compare_->SetMode(CompareModeOf(command));
        frm_use_compare_->show();
      }
      break;
    case Command::kShowAll:
      PaintPanel(Panel::kCount, kBareCount);
      session_.ShowAll();
      break;
    case Command::kCompareAcross:
      CompareManyFiles();
      break;
    case Command::kSave:
      if (session_.AcrossShown()) {
        SaveMatrix(AskSaveFileName());
      } else {
        SaveObjectList(AskSaveFileName());
      }
      break;
    case Command::kPrint:
      if (session_.AcrossShown()) {
        PrintMatrix();
      } else {
        PrintObjectList();
      }
      break;
    case Command::kPrintPreview:
      if (session_.AcrossShown()) {
        PreviewMatrix();
      } else {
        PreviewObjectList();
      }
      break;
    case Command::kFilter:
      OpenFilter();
      break;
    case Command::kSettings:
      if (frm_settings_ != nullptr) frm_settings_->show();
      break;
    case Command::kInfo:
      ShowAboutBox(this, dialogs_);
      break;
    case Command::kTypeTableData:
    case Command::kTypeTable:
    case Command::kTypeForm:
    case Command::kTypeReport:
    case Command::kTypeDataport:
    case Command::kTypeXMLport:
    case Command::kTypeCodeunit:
    case Command::kTypePage:
    case Command::kTypeMenuSuite:
      ToggleType(*TypeOf(command));
      break;
  }
  Draw();
}

void FrmMain::NewList() {
  session_.New();
  reload_bar_->hide();
  if (frm_use_compare_ != nullptr) frm_use_compare_->hide();
}

void FrmMain::ToggleType(int type) {
  const bool shown = session_.ToggleType(type);
  actions_by_command_[static_cast<std::size_t>(TypeCommand(type))]->setChecked(shown);
  // Let the button repaint before the list is rebuilt; no user input meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  session_.Relist();
}

void FrmMain::Draw() {
  PaintPanel(Panel::kCount, CountText(ShownCount()));
  DrawCommands();
  DrawFiles();
  DrawBars();
  DrawAcross();
}

void FrmMain::DrawCommands() {
  for (std::size_t c = 0; c < actions_by_command_.size(); ++c) {
    if (actions_by_command_[c] != nullptr) {
      actions_by_command_[c]->setEnabled(session_.Enabled(static_cast<Command>(c)));
    }
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
  settings_.hide_system = session_.filter().hide_system;
  // The settings dialog's type boxes are what the next start shows.
  if (frm_settings_ != nullptr) settings_.types = frm_settings_->StoredTypes();
  for (int column = 0; column < kColumnCount; ++column) {
    settings_.column_widths[column] = PixelsToTwips(lvMain_->columnWidth(column), dpi);
  }
  if (const Status stored = settings_.Write(store_); !stored) {
    dialogs_.ShowMessage(this, "Unable to save the settings: " +
                                   ShownInMessage(QString::fromStdString(stored.error())));
  }
}

}  // namespace quillet
