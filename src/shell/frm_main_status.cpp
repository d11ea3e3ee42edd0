// The main window's status bar and title: the panels the session's reports are worded into,
// and the loaded files as the window names them.
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStatusBar>

#include "desktop/text_codec.h"
#include "shell/frm_main.h"
#include "view/status_panel.h"

namespace quillet {
namespace {

// Pixels, by panel number.
constexpr std::array<int, kPanelCount + 1> kPanelWidths = {0, 270, 270, 90, 100, 100, 200};
// Left to right: the base (while one is loaded), then the five panels in their order.
constexpr std::array<Panel, kPanelCount> kPanelOrder = {
    Panel::kBase, Panel::kFile1, Panel::kFile2, Panel::kActivity, Panel::kProgress, Panel::kCount};

}  // namespace

void FrmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbMain");
  bar->setSizeGripEnabled(true);
  for (const Panel panel : kPanelOrder) {
    const int number = static_cast<int>(panel);
    const bool file_panel = panel == Panel::kFile1 || panel == Panel::kFile2;
    const bool gives_way = file_panel || panel == Panel::kBase;
    auto* widget = new StatusPanel(kPanelWidths[number], file_panel ? kNoFile : "", gives_way, bar);
    widget->setObjectName(QString("sbPanel%1").arg(number));
    panels_[number] = widget;
    // The names give way first: they stretch and shrink, the others keep their text.
    bar->addWidget(widget, gives_way ? 1 : 0);
  }
  PanelWidget(Panel::kBase)->hide();
}

StatusPanel* FrmMain::PanelWidget(Panel panel) const {
  return panels_.at(static_cast<std::size_t>(panel));
}

// Long work runs inside one handler, so a panel paints itself at once to look alive; the core
// reports at most about a hundred times per operation.
void FrmMain::PaintPanel(Panel panel, std::string_view text) {
  StatusPanel* target = PanelWidget(panel);
  target->SetText(FromWindows1252(text));
  if (target->isVisible()) target->repaint();
}

void FrmMain::PaintFile(int file, const std::filesystem::path& file_name) {
  StatusPanel* target = PanelWidget(FilePanel(file));
  target->SetText(FromPath(file_name));
  if (target->isVisible()) target->repaint();
  target->SetIcon(file_icons_[static_cast<std::size_t>(file)]);
  target->show();
}

void FrmMain::DrawFiles() {
  QStringList names;
  for (int file = 0; file < session_.SlotCount(); ++file) {
    const std::filesystem::path& loaded = session_.Slot(file).name;
    StatusPanel* panel = PanelWidget(FilePanel(file));
    panel->SetText(loaded.empty() ? QString(kNoFile) : FromPath(loaded));
    panel->SetIcon(loaded.empty() ? QIcon() : file_icons_[static_cast<std::size_t>(file)]);
    if (file != kBaseFile)
      names << (loaded.empty() ? QString(kNoFile) : FromPath(loaded.filename()));
  }
  // The base's panel shows only while a base is loaded.
  const std::filesystem::path& base = session_.Slot(kBaseFile).name;
  PanelWidget(Panel::kBase)->setVisible(!base.empty());

  const bool first = !session_.Slot(1).name.empty(), second = !session_.Slot(2).name.empty();
  if (!second) names.removeLast();
  QString title = "Quillet";
  if (first || second || !base.empty()) title += " - " + names.join(" | ");
  if (!base.empty()) title += " (base: " + FromPath(base.filename()) + ")";
  setWindowTitle(title);
  WatchLoadedFiles();
}

void FrmMain::WatchLoadedFiles() {
  // Each loaded name is watched; a change by any name marks every slot that holds the file.
  QStringList wanted;
  for (const std::filesystem::path& name : session_.LoadedFiles()) wanted << FromPath(name);
  for (const QString& watched : watcher_->files()) {
    if (!wanted.contains(watched)) watcher_->removePath(watched);
  }
  for (const QString& name : wanted) {
    if (!watcher_->files().contains(name) && QFileInfo::exists(name)) watcher_->addPath(name);
  }
}

}  // namespace quillet
