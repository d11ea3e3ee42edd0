#include "list/frm_use_compare.h"

namespace quillet {

FrmUseCompare::FrmUseCompare(QWidget* parent) : QDialog(parent) {
  setObjectName("frmUseCompare");
  setWindowTitle("Compare");
  setModal(false);
}

}  // namespace quillet
