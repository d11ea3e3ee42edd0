#include "shell/frm_settings.h"

#include "shell/frm_main.h"

namespace quillet {

FrmSettings::FrmSettings(FrmMain* main) : QDialog(main) {
  setObjectName("frmSettings");
  setWindowTitle("Settings");
  frmSettings_Load(*main);
}

void FrmSettings::frmSettings_Load(const FrmMain& main) { stored_types_ = main.settings().types; }

}  // namespace quillet
