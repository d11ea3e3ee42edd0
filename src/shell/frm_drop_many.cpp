#include "shell/frm_drop_many.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/text_codec.h"
#include "shell/frm_main.h"
#include "view/dialog_layout.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kNamesShown = 8;  // more are counted, not listed

}  // namespace

FrmDropMany::FrmDropMany(FrmMain& main, QStringList file_names)
    : QDialog(&main), main_(main), file_names_(std::move(file_names)) {
  setObjectName("frmDropMany");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle("Compare many files");
  lbl1_ = new QLabel(this);
  lbl1_->setObjectName("lbl1");
  cmdCompareMany_ = new QPushButton("Compare", this);
  cmdCompareMany_->setObjectName("cmdCompareMany");
  cmdCompareMany_->setDefault(true);
  cmdCompareCancel_ = new QPushButton("Cancel", this);
  cmdCompareCancel_->setObjectName("cmdCompareCancel");
  connect(cmdCompareMany_, &QPushButton::clicked, this, &FrmDropMany::cmdCompareMany_Click);
  connect(cmdCompareCancel_, &QPushButton::clicked, this, &FrmDropMany::cmdCompareCancel_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdCompareMany_);
  buttons->addWidget(cmdCompareCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbl1_);
  layout->addLayout(buttons);

  // The names, each shortened in the middle to the dialog's width; the whole ones in the tip.
  const int width = 4 * cmdCompareMany_->sizeHint().width();
  QStringList shown;
  for (const QString& name : file_names_.mid(0, kNamesShown)) {
    shown << lbl1_->fontMetrics().elidedText(ShownInMessage(name), Qt::ElideMiddle, width);
  }
  if (file_names_.size() > kNamesShown) {
    shown << QString("and %1 more").arg(file_names_.size() - kNamesShown);
  }
  lbl1_->setText(QString("Compare these %1 files with each other:\n%2")
                     .arg(file_names_.size())
                     .arg(shown.join('\n')));
  lbl1_->setToolTip(file_names_.join('\n'));
  lbl1_->setFixedWidth(width);
  FitClientArea(*this, *lbl1_, *cmdCompareCancel_, *cmdCompareCancel_);
}

void FrmDropMany::cmdCompareMany_Click() {
  // The dialog is gone once closed: keep what the comparison needs.
  FrmMain& main = main_;
  std::vector<std::filesystem::path> names;
  for (const QString& name : file_names_) names.push_back(ToPath(name));
  close();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  main.CompareAcrossFiles(names);
}

void FrmDropMany::cmdCompareCancel_Click() {
  close();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace quillet
