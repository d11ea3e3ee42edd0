#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace quillet {

class FrmMain;

// Offers to compare three or more dropped files across, in the matrix. Modeless, like the
// dialog for one dropped file: each drop gets its own, which keeps its files and deletes itself
// when closed.
class FrmDropMany final : public QDialog {
  Q_OBJECT

 public:
  FrmDropMany(FrmMain& main, QStringList file_names);

  const QStringList& FileNames() const { return file_names_; }

  void cmdCompareMany_Click();
  void cmdCompareCancel_Click();

 private:
  FrmMain& main_;
  QStringList file_names_;
  QLabel* lbl1_ = nullptr;
  QPushButton* cmdCompareMany_ = nullptr;
  QPushButton* cmdCompareCancel_ = nullptr;
};

}  // namespace quillet
