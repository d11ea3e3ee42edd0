#pragma once

#include <QDialog>
#include <array>

#include "objects/object_types.h"

namespace quillet {

class FrmMain;

// The settings dialog. It lives for the whole run and is only shown and hidden. Its type boxes
// decide which types the next start shows.
class FrmSettings final : public QDialog {
  Q_OBJECT

 public:
  explicit FrmSettings(FrmMain* main);

  // The type selection to store for the next start.
  std::array<bool, kTypeCount> StoredTypes() const { return stored_types_; }

 private:
  void frmSettings_Load(const FrmMain& main);

  std::array<bool, kTypeCount> stored_types_{};
};

}  // namespace quillet
