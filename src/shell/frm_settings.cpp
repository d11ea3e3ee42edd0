#include "shell/frm_settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/file_associations.h"
#include "shell/file_kind_texts.h"
#include "shell/frm_main.h"
#include "view/dialog_layout.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

struct TypeControl {
  const char* box;
  const char* picture;
  const char* icon;
};

// In type order. The picture names are the established ones, "imgFrom" included.
constexpr std::array<TypeControl, kTypeCount> kTypeControls = {{
    {"chkTableData", "imgTableData", ":/icons/type-tabledata.svg"},
    {"chkTable", "imgTable", ":/icons/type-table.svg"},
    {"chkForm", "imgFrom", ":/icons/type-form.svg"},
    {"chkReport", "imgReport", ":/icons/type-report.svg"},
    {"chkDataPort", "imgDataport", ":/icons/type-dataport.svg"},
    {"chkXMLport", "imgXMLport", ":/icons/type-xmlport.svg"},
    {"chkCodeunit", "imgCodeunit", ":/icons/type-codeunit.svg"},
    {"chkPage", "imgPage", ":/icons/type-page.svg"},
    {"chkMenuSuite", "imgMenuSuite", ":/icons/type-menusuite.svg"},
}};

QCheckBox* NewCheckBox(const QString& name, const QString& text, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "chkExtFob" for ".fob".
QString ExtensionBoxName(const FileKind& kind) {
  const QString extension = Text(kind.extension.substr(1)).toLower();
  return "chkExt" + extension.left(1).toUpper() + extension.mid(1);
}

}  // namespace

bool SetWindowOpacity(QWidget* window, int alpha) {
  if (window == nullptr || !window->isWindow()) return false;
  // Elsewhere (offscreen, Wayland) Qt would only print a warning on each call.
  const QString platform = QGuiApplication::platformName();
  if (platform != "xcb" && platform != "windows" && platform != "cocoa") return false;
  window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
  return true;
}

FrmSettings::FrmSettings(FrmMain* main, FileAssociations& associations, UserDialogs& dialogs)
    : QDialog(main), main_(*main), associations_(associations), dialogs_(dialogs) {
  setObjectName("frmSettings");
  setWindowTitle("Settings");
  setModal(false);
  BuildControls();
  frmSettings_Load();
}

void FrmSettings::BuildControls() {
  fr1_ = new QGroupBox("File types", this);
  fr1_->setObjectName("fr1");
  auto* fr1_layout = new QVBoxLayout(fr1_);
  for (std::size_t k = 0; k < kFileKinds.size(); ++k) {
    extension_boxes_[k] =
        NewCheckBox(ExtensionBoxName(kFileKinds[k]), OpenWithQuilletText(kFileKinds[k]), fr1_);
    fr1_layout->addWidget(extension_boxes_[k]);
  }

  fr4_ = new QGroupBox("List", this);
  fr4_->setObjectName("fr4");
  chkHideSystem_ = NewCheckBox("chkHideSystem", "Hide system objects", fr4_);
  auto* fr4_layout = new QVBoxLayout(fr4_);
  fr4_layout->addWidget(chkHideSystem_);

  fr5_ = new QGroupBox("Object types shown at start", this);
  fr5_->setObjectName("fr5");
  auto* grid = new QGridLayout(fr5_);
  grid->setHorizontalSpacing(6);
  for (int type = 0; type < kTypeCount; ++type) {
    const TypeControl& control = kTypeControls[type];
    auto* picture = new QLabel(fr5_);
    picture->setObjectName(control.picture);
    picture->setFixedSize(16, 16);
    const std::string_view name = kTypeNames[type];
    type_boxes_[type] = NewCheckBox(
        control.box, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), fr5_);
    const int row = type / 3, column = (type % 3) * 2;
    grid->addWidget(picture, row, column);
    grid->addWidget(type_boxes_[type], row, column + 1);
  }
  grid->setColumnStretch(5, 1);

  cmdExtOK_ = new QPushButton("OK", this);
  cmdExtOK_->setObjectName("cmdExtOK");
  cmdExtOK_->setDefault(true);
  cmdExtCancel_ = new QPushButton("Cancel", this);
  cmdExtCancel_->setObjectName("cmdExtCancel");
  connect(cmdExtOK_, &QPushButton::clicked, this, &FrmSettings::cmdExtOK_Click);
  connect(cmdExtCancel_, &QPushButton::clicked, this, &FrmSettings::cmdExtCancel_Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdExtOK_);
  buttons->addWidget(cmdExtCancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fr1_);
  layout->addWidget(fr4_);
  layout->addWidget(fr5_);
  layout->addLayout(buttons);
}

void FrmSettings::frmSettings_Load() {
  FitClientArea(*this, *fr5_, *fr5_, *cmdExtOK_);

  for (int type = 0; type < kTypeCount; ++type) {
    findChild<QLabel*>(kTypeControls[type].picture)
        ->setPixmap(QIcon(kTypeControls[type].icon).pixmap(16, 16));
  }
  for (std::size_t k = 0; k < kFileKinds.size(); ++k) {
    extension_boxes_[k]->setChecked(associations_.FileTypeDescription(
                                        Text(kFileKinds[k].extension)) == kQuilletFileDescription);
  }
  chkHideSystem_->setChecked(main_.session().filter().hide_system);
  for (int type = 0; type < kTypeCount; ++type) {
    type_boxes_[type]->setChecked(main_.settings().types[type]);
  }
}

std::array<bool, kTypeCount> FrmSettings::StoredTypes() const {
  std::array<bool, kTypeCount> types{};
  for (int type = 0; type < kTypeCount; ++type) types[type] = type_boxes_[type]->isChecked();
  return types;
}

// The reason follows the message users know, when there is one.
void FrmSettings::ApplyAssociation(const QCheckBox* box, const FileKind& kind) {
  const QString extension = Text(kind.extension);
  const bool wanted = box->isChecked();
  const Status applied = wanted ? associations_.RegisterFileType(extension)
                                : associations_.UnregisterFileType(extension);
  if (applied) return;
  QString message =
      QString(wanted ? "Unable to register %1 files" : "Unable to unregister %1 files")
          .arg(extension);
  if (!applied.error().empty()) message += ": " + QString::fromStdString(applied.error());
  dialogs_.ShowMessage(this, message);
}

void FrmSettings::cmdExtOK_Click() {
  for (std::size_t k = 0; k < kFileKinds.size(); ++k) {
    ApplyAssociation(extension_boxes_[k], kFileKinds[k]);
  }
  // The list stays as it is; the next listing hides or shows the system objects.
  main_.session().SetHideSystem(chkHideSystem_->isChecked());
  hide();
}

void FrmSettings::cmdExtCancel_Click() { hide(); }

// The close box only hides the dialog; nothing is undone. The dialog is never deleted on close,
// so the close itself can be accepted: a refused one would hold up quitting the program.
void FrmSettings::closeEvent(QCloseEvent* event) {
  hide();
  event->accept();
}

void FrmSettings::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      frmSettings_Activate();
    } else {
      frmSettings_Deactivate();
    }
  }
  QDialog::changeEvent(event);
}

void FrmSettings::frmSettings_Activate() {
  alpha_ = 255;
  SetWindowOpacity(this, alpha_);
}

void FrmSettings::frmSettings_Deactivate() {
  alpha_ = 128;
  SetWindowOpacity(this, alpha_);
}

}  // namespace quillet
