#include "shell/frm_drag_drop.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/text_codec.h"
#include "shell/command_line.h"
#include "shell/frm_drop_many.h"
#include "shell/frm_main.h"
#include "view/dialog_layout.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kCascadeStep = 24;  // pixels
// Dropped together, this many files or more are offered for comparing across.
constexpr int kManyFiles = 3;

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

FrmDragDrop::FrmDragDrop(FrmMain& main, QString file_name)
    : QDialog(&main), main_(main), file_name_(std::move(file_name)) {
  setObjectName("frmDragDrop");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle("Load file");
  lbl1_ = new QLabel(this);
  lbl1_->setObjectName("lbl1");
  cmdLoadAs1_ = NewButton("cmdLoadAs1", "File #1", this);
  cmdLoadAs2_ = NewButton("cmdLoadAs2", "File #2", this);
  cmdLoadAsBase_ = NewButton("cmdLoadAsBase", "Base", this);
  cmdLoadAsBase_->setToolTip("The base of an upgrade analysis");
  cmdLoadCancel_ = NewButton("cmdLoadCancel", "Cancel", this);
  connect(cmdLoadAs1_, &QPushButton::clicked, this, &FrmDragDrop::cmdLoadAs1_Click);
  connect(cmdLoadAs2_, &QPushButton::clicked, this, &FrmDragDrop::cmdLoadAs2_Click);
  connect(cmdLoadAsBase_, &QPushButton::clicked, this, [this] { LoadAs(kBaseFile); });
  connect(cmdLoadCancel_, &QPushButton::clicked, this, &FrmDragDrop::cmdLoadCancel_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdLoadAs1_);
  buttons->addWidget(cmdLoadAs2_);
  buttons->addWidget(cmdLoadAsBase_);
  buttons->addWidget(cmdLoadCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbl1_);
  layout->addLayout(buttons);
  frmdragdrop_Load();
}

void FrmDragDrop::frmdragdrop_Load() {
  // The buttons decide the width; the name is shortened in the middle to fit it.
  const int width = cmdLoadAs1_->sizeHint().width() + cmdLoadAs2_->sizeHint().width() +
                    cmdLoadAsBase_->sizeHint().width() + cmdLoadCancel_->sizeHint().width() +
                    3 * layout()->spacing();
  const QString shown =
      lbl1_->fontMetrics().elidedText(ShownInMessage(file_name_), Qt::ElideMiddle, width);
  lbl1_->setText(QString("Load this file as:\n%1").arg(shown));
  lbl1_->setToolTip(file_name_);
  lbl1_->setFixedWidth(width);
  // The client area: the first button's left margin again right of and below Cancel.
  FitClientArea(*this, *cmdLoadAs1_, *cmdLoadCancel_, *cmdLoadCancel_);
}

void FrmDragDrop::cmdLoadAs1_Click() { LoadAs(1); }

void FrmDragDrop::cmdLoadAs2_Click() { LoadAs(2); }

void FrmDragDrop::cmdLoadCancel_Click() {
  close();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FrmDragDrop::LoadAs(int file) {
  // The dialog is gone once closed: keep what the listing needs.
  FrmMain& main = main_;
  const LoadResult result = main.ReadFile(ToPath(file_name_), file);
  close();
  // Let the dialog disappear before the list is built.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // A file that vanished since the drop changed nothing; listing its slot would repeat rows.
  if (result.status == LoadStatus::kMissing) return;
  main.ShowFile(file);
}

namespace {

// Three or more object files dropped together: the dialog that offers to compare them.
void OfferManyFiles(FrmMain& main, UserDialogs& dialogs, const QList<QUrl>& urls) {
  QStringList names;
  for (const QUrl& url : urls) names << url.toLocalFile();
  if (!std::all_of(names.begin(), names.end(),
                   [](const QString& name) { return HasObjectFileExtension(ToPath(name)); })) {
    dialogs.ShowMessage(&main, kInvalidFileTypeMessage);
    return;
  }
  auto* dialog = new FrmDropMany(main, names);
  dialog->show();
  dialog->activateWindow();
}

}  // namespace

bool AcceptsDrag(const QMimeData* mime_data) {
  if (mime_data == nullptr || !mime_data->hasUrls()) return false;
  const QList<QUrl> urls = mime_data->urls();
  return !urls.isEmpty() &&
         std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

FrmDragDrop* HandleDroppedUrls(FrmMain& main, UserDialogs& dialogs, const QList<QUrl>& urls) {
  if (urls.isEmpty()) return nullptr;
  if (urls.size() >= kManyFiles) {
    OfferManyFiles(main, dialogs, urls);
    return nullptr;
  }
  if (urls.size() > 1) {
    dialogs.ShowMessage(&main, "Multiple files not supported");
    return nullptr;
  }
  const QString name = urls.first().toLocalFile();
  if (!HasObjectFileExtension(ToPath(name))) {
    dialogs.ShowMessage(&main, kInvalidFileTypeMessage);
    return nullptr;
  }
  // Each new dialog stands a step below and right of those still open, so none hides another.
  int open = 0;
  for (const FrmDragDrop* other : main.findChildren<FrmDragDrop*>()) open += other->isVisible();
  auto* dialog = new FrmDragDrop(main, name);
  dialog->show();
  if (open > 0) dialog->move(dialog->pos() + QPoint(kCascadeStep, kCascadeStep) * open);
  dialog->activateWindow();
  return dialog;
}

}  // namespace quillet
