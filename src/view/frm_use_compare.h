#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "commands/compare.h"
#include "list/compare_criteria.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quillet {

// What the comparison of `mode` is called where the user chooses it.
const char* ComparisonName(CompareMode mode);

// The comparison-criteria dialog. It lives for the whole run and is only shown and hidden, so
// the ticks stay as the user left them until the program ends; they are never stored. The
// toolbar shows it with the comparison to run. The controls carry their names as object names
// (chkUseTypeID, fr6, cmdUseOK, ...).
class FrmUseCompare final : public QDialog {
  Q_OBJECT

 public:
  // `run` runs the comparison OK asks for.
  using Run = std::function<void(CompareMode mode, const CompareCriteria& criteria)>;
  FrmUseCompare(QWidget* parent, Run run);

  CompareMode Mode() const { return mode_; }
  // The comparison OK runs: the dialog is titled by it, and in the keyed views, which pair the
  // objects by type and ID, the Type and ID box is shown ticked and cannot be cleared.
  void SetMode(CompareMode mode);
  // The attributes ticked now.
  CompareCriteria Criteria() const;

  void cmdUseOK_Click();
  void cmdUseCancel_Click();

 protected:
  // The close box only hides the dialog, so it and its ticks survive.
  void closeEvent(QCloseEvent* event) override;

 private:
  void frmUseCompare_Load();

  Run run_;
  CompareMode mode_ = CompareMode::kNone;
  std::array<QCheckBox*, kCriteriaBoxes.size()> boxes_{};  // chkUseTypeID ... chkUseBSize
  bool own_type_id_ = true;  // the Type and ID tick the user gave, kept while a keyed view fixes it
  QGroupBox* fr6_ = nullptr;
  QLabel* lbl15_ = nullptr;
  QPushButton* cmdUseOK_ = nullptr;
  QPushButton* cmdUseCancel_ = nullptr;
};

}  // namespace quillet
