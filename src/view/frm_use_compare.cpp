#include "view/frm_use_compare.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "view/dialog_layout.h"

namespace quillet {

FrmUseCompare::FrmUseCompare(QWidget* parent, Run run) : QDialog(parent), run_(std::move(run)) {
  setObjectName("frmUseCompare");
  setWindowTitle("Compare by");
  setModal(false);
  frmUseCompare_Load();
}

void FrmUseCompare::frmUseCompare_Load() {
  fr6_ = new QGroupBox(this);
  fr6_->setObjectName("fr6");
  lbl15_ = new QLabel("Objects count as the same when these agree:", fr6_);
  lbl15_->setObjectName("lbl15");
  auto box = [this](const char* name, const char* caption) {
    auto* check = new QCheckBox(caption, fr6_);
    check->setObjectName(name);
    check->setChecked(true);
    return check;
  };
  chkUseTypeID_ = box("chkUseTypeID", "&Type and ID");
  chkUseName_ = box("chkUseName", "&Name");
  chkUseVersion_ = box("chkUseVersion", "&Version");
  chkUseDate_ = box("chkUseDate", "&Date");
  chkUseTime_ = box("chkUseTime", "T&ime");
  chkUseBSize_ = box("chkUseBSize", "&BLOB size");
  auto* frame_layout = new QVBoxLayout(fr6_);
  frame_layout->addWidget(lbl15_);
  for (QCheckBox* check :
       {chkUseTypeID_, chkUseName_, chkUseVersion_, chkUseDate_, chkUseTime_, chkUseBSize_}) {
    frame_layout->addWidget(check);
  }

  cmdUseOK_ = new QPushButton("OK", this);
  cmdUseOK_->setObjectName("cmdUseOK");
  cmdUseOK_->setDefault(true);
  cmdUseCancel_ = new QPushButton("Cancel", this);
  cmdUseCancel_->setObjectName("cmdUseCancel");
  connect(cmdUseOK_, &QPushButton::clicked, this, &FrmUseCompare::cmdUseOK_Click);
  connect(cmdUseCancel_, &QPushButton::clicked, this, &FrmUseCompare::cmdUseCancel_Click);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fr6_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdUseOK_);
  buttons->addWidget(cmdUseCancel_);
  layout->addLayout(buttons);
  FitClientArea(*this, *fr6_, *fr6_, *cmdUseOK_);
}

CompareCriteria FrmUseCompare::Criteria() const {
  CompareCriteria criteria;
  criteria.use_type_id = chkUseTypeID_->isChecked();
  criteria.use_name = chkUseName_->isChecked();
  criteria.use_version = chkUseVersion_->isChecked();
  criteria.use_date = chkUseDate_->isChecked();
  criteria.use_time = chkUseTime_->isChecked();
  criteria.use_bsize = chkUseBSize_->isChecked();
  return criteria;
}

void FrmUseCompare::cmdUseOK_Click() {
  hide();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (mode_ != CompareMode::kNone) run_(mode_, Criteria());
}

void FrmUseCompare::cmdUseCancel_Click() {
  hide();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FrmUseCompare::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace quillet
