#include "list/frm_use_compare.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "list/file_comparison.h"

namespace quillet {
namespace {

constexpr int kMargin = 10;

}  // namespace

FrmUseCompare::FrmUseCompare(QWidget* parent, Workspace& ws) : QDialog(parent), ws_(ws) {
  setObjectName("frmUseCompare");
  setWindowTitle("Compare by");
  setModal(false);
  frmUseCompare_Load();
}

void FrmUseCompare::frmUseCompare_Load() {
  fr6 = new QGroupBox(this);
  fr6->setObjectName("fr6");
  lbl15 = new QLabel("Objects count as the same when these agree:", fr6);
  lbl15->setObjectName("lbl15");
  auto box = [this](const char* name, const char* caption) {
    auto* check = new QCheckBox(caption, fr6);
    check->setObjectName(name);
    check->setChecked(true);
    return check;
  };
  chkUseTypeID = box("chkUseTypeID", "&Type and ID");
  chkUseName = box("chkUseName", "&Name");
  chkUseVersion = box("chkUseVersion", "&Version");
  chkUseDate = box("chkUseDate", "&Date");
  chkUseTime = box("chkUseTime", "T&ime");
  chkUseBSize = box("chkUseBSize", "&BLOB size");
  auto* frame_layout = new QVBoxLayout(fr6);
  frame_layout->addWidget(lbl15);
  for (QCheckBox* check :
       {chkUseTypeID, chkUseName, chkUseVersion, chkUseDate, chkUseTime, chkUseBSize}) {
    frame_layout->addWidget(check);
  }

  cmdUseOK = new QPushButton("OK", this);
  cmdUseOK->setObjectName("cmdUseOK");
  cmdUseOK->setDefault(true);
  cmdUseCancel = new QPushButton("Cancel", this);
  cmdUseCancel->setObjectName("cmdUseCancel");
  connect(cmdUseOK, &QPushButton::clicked, this, &FrmUseCompare::cmdUseOK_Click);
  connect(cmdUseCancel, &QPushButton::clicked, this, &FrmUseCompare::cmdUseCancel_Click);

  // The frame's left offset is the margin on every side, and below the buttons.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(fr6);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdUseOK);
  buttons->addWidget(cmdUseCancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

CompareCriteria FrmUseCompare::Criteria() const {
  CompareCriteria criteria;
  criteria.use_type_id = chkUseTypeID->isChecked();
  criteria.use_name = chkUseName->isChecked();
  criteria.use_version = chkUseVersion->isChecked();
  criteria.use_date = chkUseDate->isChecked();
  criteria.use_time = chkUseTime->isChecked();
  criteria.use_bsize = chkUseBSize->isChecked();
  return criteria;
}

void FrmUseCompare::cmdUseOK_Click() {
  hide();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (mode_ == 1) {
    CompareEqual(ws_, Criteria());
  } else if (mode_ == 2) {
    CompareDifferent(ws_, Criteria());
  }
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
