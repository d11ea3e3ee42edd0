#pragma once

#include <QDialog>

#include "list/compare_criteria.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quillet {

struct Workspace;

// The comparison-criteria dialog. It lives for the whole run and is only shown and hidden, so
// the ticks stay as the user left them until the program ends; they are never stored. The
// toolbar shows it with the comparison to run (its tag): 1 equal, 2 different.
class FrmUseCompare final : public QDialog {
  Q_OBJECT

 public:
  FrmUseCompare(QWidget* parent, Workspace& ws);

  int Mode() const { return mode_; }
  void SetMode(int mode) { mode_ = mode; }
  // The attributes ticked now.
  CompareCriteria Criteria() const;

  void cmdUseOK_Click();
  void cmdUseCancel_Click();

  QCheckBox* chkUseTypeID = nullptr;
  QCheckBox* chkUseName = nullptr;
  QCheckBox* chkUseVersion = nullptr;
  QCheckBox* chkUseDate = nullptr;
  QCheckBox* chkUseTime = nullptr;
  QCheckBox* chkUseBSize = nullptr;
  QGroupBox* fr6 = nullptr;
  QLabel* lbl15 = nullptr;
  QPushButton* cmdUseOK = nullptr;
  QPushButton* cmdUseCancel = nullptr;

 protected:
  // The close box only hides the dialog, so it and its ticks survive.
  void closeEvent(QCloseEvent* event) override;

 private:
  void frmUseCompare_Load();

  Workspace& ws_;
  int mode_ = 0;
};

}  // namespace quillet
