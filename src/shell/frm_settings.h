#pragma once

#include <QDialog>
#include <array>

#include "objects/file_kinds.h"
#include "objects/object_types.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace quillet {

class FileAssociations;
class FrmMain;
class UserDialogs;

// Fully opaque at 255, invisible at 0. False where the platform cannot make a window
// translucent; the window then stays as it is.
bool SetWindowOpacity(QWidget* window, int alpha);

// The settings dialog. It lives for the whole run and is only shown and hidden. Its boxes keep
// what the user ticked, also after Cancel: the file associations and the hiding of system
// objects take effect on OK, the type boxes decide which types the next start shows. The
// controls carry their names as object names (chkExtFob, chkTableData, cmdExtOK, ...).
class FrmSettings final : public QDialog {
  Q_OBJECT

 public:
  FrmSettings(FrmMain* main, FileAssociations& associations, UserDialogs& dialogs);

  // The type selection to store for the next start.
  std::array<bool, kTypeCount> StoredTypes() const;

  void cmdExtOK_Click();
  void cmdExtCancel_Click();
  void frmSettings_Activate();
  void frmSettings_Deactivate();
  // What the dialog last asked SetWindowOpacity for.
  int Alpha() const { return alpha_; }

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void frmSettings_Load();
  void ApplyAssociation(const QCheckBox* box, const FileKind& kind);

  FrmMain& main_;
  FileAssociations& associations_;
  UserDialogs& dialogs_;
  QGroupBox* fr1_ = nullptr;
  QGroupBox* fr4_ = nullptr;
  QGroupBox* fr5_ = nullptr;
  std::array<QCheckBox*, kFileKinds.size()> extension_boxes_{};  // chkExtFob, chkExtFbk
  QCheckBox* chkHideSystem_ = nullptr;
  std::array<QCheckBox*, kTypeCount> type_boxes_{};  // chkTableData ... chkMenuSuite
  QPushButton* cmdExtOK_ = nullptr;
  QPushButton* cmdExtCancel_ = nullptr;
  int alpha_ = 255;
};

}  // namespace quillet
