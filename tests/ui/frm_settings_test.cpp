#include "shell/frm_settings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>

#include "shell/frm_main.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/object_list_model.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

constexpr std::array<const char*, kTypeCount> kTypeBoxes = {
    "chkTableData", "chkTable",    "chkForm", "chkReport",   "chkDataPort",
    "chkXMLport",   "chkCodeunit", "chkPage", "chkMenuSuite"};

FrmSettings& Dialog(TestProgram& t) { return t.program->settings_dialog(); }

QCheckBox* Box(TestProgram& t, const char* name) {
  QCheckBox* box = Dialog(t).findChild<QCheckBox*>(name);
  EXPECT_NE(box, nullptr) << name;
  return box;
}

void Click(TestProgram& t, const char* button) {
  Dialog(t).findChild<QPushButton*>(button)->click();
}

int Rows(FrmMain& main) { return main.session().list().RowCount(); }

bool ListsSystemObjects(FrmMain& main) {
  const QAbstractItemModel* model = test::ListModel(main);
  for (int row = 0; row < model->rowCount(); ++row) {
    if (model->data(model->index(row, 2)).toString().trimmed().size() == 10) return true;
  }
  return false;
}

TEST(FrmSettings, StartsFromTheStartState) {
  TestProgram t;
  FrmSettings& dialog = Dialog(t);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());
  for (const char* frame : {"fr1", "fr4", "fr5"}) {
    EXPECT_NE(dialog.findChild<QGroupBox*>(frame), nullptr) << frame;
  }
  for (const char* picture : {"imgTableData", "imgTable", "imgFrom", "imgReport", "imgDataport",
                              "imgXMLport", "imgCodeunit", "imgPage", "imgMenuSuite"}) {
    const QLabel* label = dialog.findChild<QLabel*>(picture);
    ASSERT_NE(label, nullptr) << picture;
    EXPECT_FALSE(label->pixmap().isNull()) << picture;
  }
  // The client area: fr5's left margin on both sides of it and below OK.
  const QGroupBox* fr5 = dialog.findChild<QGroupBox*>("fr5");
  const QPushButton* ok = dialog.findChild<QPushButton*>("cmdExtOK");
  const int margin = fr5->x();
  EXPECT_GT(margin, 0);
  EXPECT_EQ(dialog.width(), fr5->width() + 2 * margin);
  EXPECT_EQ(dialog.height(), ok->y() + ok->height() + margin);

  EXPECT_FALSE(Box(t, "chkExtFob")->isChecked());
  EXPECT_FALSE(Box(t, "chkExtFbk")->isChecked());
  EXPECT_FALSE(Box(t, "chkHideSystem")->isChecked());
  for (int type = 0; type < kTypeCount; ++type) {
    EXPECT_EQ(Box(t, kTypeBoxes[type])->isChecked(), type != kTableDataType) << kTypeBoxes[type];
  }

  // What the next start finds: .fbk is Quillet's, .fob another program's, system objects
  // hidden, and the type boxes as ticked (not as the toolbar left them).
  t.associations.descriptions = {{".fob", "Other file"}, {".fbk", "Quillet file"}};
  t.main().session().SetHideSystem(true);
  Box(t, "chkTable")->setChecked(false);
  Box(t, "chkTableData")->setChecked(true);
  t.main().tbMain_ButtonClick(TypeCommand(2));  // Form off on the toolbar only
  t.Restart();
  EXPECT_FALSE(Box(t, "chkExtFob")->isChecked());
  EXPECT_TRUE(Box(t, "chkExtFbk")->isChecked());
  EXPECT_TRUE(Box(t, "chkHideSystem")->isChecked());
  EXPECT_FALSE(Box(t, "chkTable")->isChecked());
  EXPECT_TRUE(Box(t, "chkTableData")->isChecked());
  EXPECT_TRUE(Box(t, "chkForm")->isChecked());
  EXPECT_FALSE(test::Action(t.main(), TypeCommand(1))->isChecked());
  EXPECT_TRUE(test::Action(t.main(), TypeCommand(0))->isChecked());
  QSettings stored(t.settings_file(), QSettings::IniFormat);
  EXPECT_EQ(stored.value("Table").toInt(), 0);
  EXPECT_EQ(stored.value("TableData").toInt(), -1);
  EXPECT_EQ(stored.value("Form").toInt(), -1);
}

TEST(FrmSettings, OkHidesSystemObjectsFromTheNextListingOn) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  ASSERT_TRUE(ListsSystemObjects(main));
  const int rows = Rows(main);
  Dialog(t).show();
  Box(t, "chkHideSystem")->setChecked(true);
  Box(t, "chkExtFbk")->setChecked(true);
  Click(t, "cmdExtOK");
  EXPECT_FALSE(Dialog(t).isVisible());
  EXPECT_TRUE(main.session().filter().hide_system);
  EXPECT_EQ(Rows(main), rows);  // not rebuilt now
  EXPECT_EQ(t.associations.calls, QStringList({"unregister .fob", "register .fbk"}));
  EXPECT_EQ(t.associations.FileTypeDescription(".fbk"), "Quillet file");

  main.tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(Rows(main), rows - 2);
  EXPECT_FALSE(ListsSystemObjects(main));
  t.Restart();
  EXPECT_TRUE(Box(t, "chkExtFbk")->isChecked());
}

TEST(FrmSettings, CancelAndTheCloseBoxOnlyHide) {
  TestProgram t(Sample("sample.fob"));
  FrmSettings& dialog = Dialog(t);
  QPointer<FrmSettings> alive = &dialog;
  dialog.show();
  Box(t, "chkHideSystem")->setChecked(true);
  Box(t, "chkTable")->setChecked(false);
  Box(t, "chkExtFob")->setChecked(true);
  Click(t, "cmdExtCancel");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(t.main().session().filter().hide_system);
  EXPECT_TRUE(t.associations.calls.isEmpty());

  t.main().tbMain_ButtonClick(Command::kSettings);
  EXPECT_TRUE(dialog.isVisible());
  dialog.close();  // the close box
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(alive);
  EXPECT_FALSE(dialog.isVisible());
  t.main().tbMain_ButtonClick(Command::kSettings);
  EXPECT_TRUE(Box(t, "chkHideSystem")->isChecked());
  EXPECT_FALSE(Box(t, "chkTable")->isChecked());
  EXPECT_TRUE(t.associations.calls.isEmpty());

  // The type boxes count at exit even after Cancel.
  t.Restart(Sample("sample.fob"));
  EXPECT_FALSE(t.main().session().filter().hide_system);
  for (int row = 0; row < Rows(t.main()); ++row) {
    ASSERT_NE(test::ListModel(t.main())->data(test::ListModel(t.main())->index(row, 1)).toString(),
              "Table    ");
  }
}

TEST(FrmSettings, AFailedRegistrationIsReported) {
  TestProgram t;
  t.associations.refuse = true;
  Box(t, "chkExtFob")->setChecked(true);
  Click(t, "cmdExtOK");
  EXPECT_EQ(t.dialogs.messages, QStringList({"Unable to register .fob files"}));
}

TEST(FrmSettings, TheFileTypeBoxesNameTheirKinds) {
  TestProgram t;
  EXPECT_EQ(Box(t, "chkExtFob")->text(), "Open object files (.fob) with Quillet");
  EXPECT_EQ(Box(t, "chkExtFbk")->text(), "Open backup files (.fbk) with Quillet");
  EXPECT_EQ(Dialog(t).findChild<QGroupBox*>("fr1")->findChildren<QCheckBox*>().size(), 2);
}

TEST(FrmSettings, AFailedRegistrationSaysWhy) {
  TestProgram t;
  t.associations.refusal = "cannot write /home/u/.config/mimeapps.list: permission denied";
  t.associations.refuse = true;
  Box(t, "chkExtFob")->setChecked(true);
  Click(t, "cmdExtOK");
  EXPECT_EQ(t.dialogs.messages, QStringList({"Unable to register .fob files: cannot write "
                                             "/home/u/.config/mimeapps.list: permission denied"}));

  // Unregistering says so too, for the box it was asked for.
  t.dialogs.messages.clear();
  t.associations.refuse = false;
  t.associations.refuse_unregister = true;
  t.associations.refusal = "cannot read /home/u/.config/mimeapps.list: permission denied";
  Box(t, "chkExtFbk")->setChecked(true);
  Box(t, "chkExtFob")->setChecked(false);
  Click(t, "cmdExtOK");
  EXPECT_EQ(t.dialogs.messages, QStringList({"Unable to unregister .fob files: cannot read "
                                             "/home/u/.config/mimeapps.list: permission denied"}));
  EXPECT_EQ(t.associations.FileTypeDescription(".fbk"), "Quillet file");
}

TEST(FrmSettings, HalfTransparentWhileAnotherWindowIsActive) {
  TestProgram t;
  FrmSettings& dialog = Dialog(t);
  t.main().tbMain_ButtonClick(Command::kSettings);
  dialog.activateWindow();
  QCoreApplication::processEvents();
  ASSERT_TRUE(dialog.isActiveWindow());
  EXPECT_EQ(dialog.Alpha(), 255);
  t.main().activateWindow();
  QCoreApplication::processEvents();
  ASSERT_FALSE(dialog.isActiveWindow());
  EXPECT_EQ(dialog.Alpha(), 128);
  dialog.activateWindow();
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.Alpha(), 255);

  // Where the platform cannot, the window simply stays opaque.
  EXPECT_FALSE(SetWindowOpacity(nullptr, 128));
  EXPECT_FALSE(SetWindowOpacity(Box(t, "chkTable"), 128));  // not a window
  if (QGuiApplication::platformName() == "offscreen") {
    EXPECT_FALSE(SetWindowOpacity(&dialog, 128));
    EXPECT_EQ(dialog.windowOpacity(), 1.0);
  }
}

}  // namespace
}  // namespace quillet
