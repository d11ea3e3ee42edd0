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

const char* ComparisonName(CompareMode mode) {
  switch (mode) {
    case CompareMode::kEqual:
      return "Equal objects";
    case CompareMode::kDifferent:
      return "Different objects";
    case CompareMode::kChanges:
      return "Show changes";
    case CompareMode::kUpgrade:
      return "Upgrade analysis";
    case CompareMode::kNone:
      break;
  }
  return "Compare by";
}

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
  auto* frame_layout = new QVBoxLayout(fr6_);
  frame_layout->addWidget(lbl15_);
  const auto latin1 = [](std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  };
  for (std::size_t i = 0; i < kCriteriaBoxes.size(); ++i) {
    auto* check = new QCheckBox(latin1(kCriteriaBoxes[i].caption), fr6_);
    check->setObjectName(latin1(kCriteriaBoxes[i].box));
    check->setChecked(true);
    frame_layout->addWidget(check);
    boxes_[i] = check;
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
  for (std::size_t i = 0; i < kCriteriaBoxes.size(); ++i) {
    criteria.*kCriteriaBoxes[i].ticked = boxes_[i]->isChecked();
  }
  return criteria;
}

void FrmUseCompare::SetMode(CompareMode mode) {
  QCheckBox* type_id = nullptr;
  for (std::size_t i = 0; i < kCriteriaBoxes.size(); ++i) {
    if (kCriteriaBoxes[i].ticked == &CompareCriteria::use_type_id) type_id = boxes_[i];
  }
  const bool keyed = HasStatus(ViewOf(mode));
  if (keyed && type_id->isEnabled()) {
    own_type_id_ = type_id->isChecked();
    type_id->setChecked(true);
  } else if (!keyed && !type_id->isEnabled()) {
    type_id->setChecked(own_type_id_);
  }
  type_id->setEnabled(!keyed);
  mode_ = mode;
  setWindowTitle(ComparisonName(mode));
  fr6_->setTitle(ComparisonName(mode));
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
