#pragma once

#include <QDialog>

namespace quillet {

// The comparison-criteria dialog. It lives for the whole run; the toolbar shows it with the
// comparison to run: 1 equal, 2 different.
class FrmUseCompare final : public QDialog {
  Q_OBJECT

 public:
  explicit FrmUseCompare(QWidget* parent);

  int Mode() const { return mode_; }
  void SetMode(int mode) { mode_ = mode; }

 private:
  int mode_ = 0;
};

}  // namespace quillet
