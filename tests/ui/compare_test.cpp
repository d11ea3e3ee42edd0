#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>

#include "shell/frm_main.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/frm_use_compare.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

QCheckBox* Box(const FrmUseCompare& dialog, const char* name) {
  return dialog.findChild<QCheckBox*>(name);
}

QPushButton* Button(const FrmUseCompare& dialog, const char* name) {
  return dialog.findChild<QPushButton*>(name);
}

struct Loaded : TestProgram {
  Loaded() : TestProgram(Sample("sample.fob")) {
    main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  }
  FrmUseCompare& dialog() { return program->use_compare_dialog(); }
  int rows() { return main().session().list().RowCount(); }
};

TEST(CompareDialog, OkRunsTheComparisonOfItsMode) {
  Loaded t;
  FrmUseCompare& dialog = t.dialog();
  EXPECT_FALSE(dialog.isVisible());
  t.main().tbMain_ButtonClick(Command::kCompareDifferent);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Mode(), CompareMode::kDifferent);
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount), QString("Count: %1").arg(t.rows()));

  Button(dialog, "cmdUseOK")->click();
  EXPECT_FALSE(dialog.isVisible());
  const int different = t.rows();
  // Saved, the result is the same bytes the command line writes for it.
  t.dialogs.save_answer = t.Path("different.txt");
  t.main().tbMain_ButtonClick(Command::kSave);
  QFile saved(t.Path("different.txt")),
      expected(QString(QUILLET_TEST_DATA) + "/sample-different.list");
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), expected.readAll());
  EXPECT_GT(different, 0);
  EXPECT_LT(different, 40);  // about 15 % of the objects changed
  EXPECT_EQ(test::PanelText(t.main(), Panel::kActivity), "Finished");
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount), QString("Count: %1").arg(different));
  // Pass 1 lists file #1's objects, pass 2 file #2's.
  const auto& list = t.main().session().list();
  EXPECT_EQ(list.Row(1).file, 1);
  EXPECT_EQ(list.Row(different).file, 2);

  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  EXPECT_EQ(dialog.Mode(), CompareMode::kEqual);
  Button(dialog, "cmdUseOK")->click();
  ASSERT_EQ(t.rows() % 2, 0);  // pairs: file #1's row, then its twin from file #2
  for (int row = 1; row <= t.rows(); row += 2) {
    ASSERT_EQ(list.Row(row).file, 1);
    ASSERT_EQ(list.Row(row + 1).file, 2);
    ASSERT_EQ(list.CellText(row, Column::kName), list.CellText(row + 1, Column::kName));
  }

  // Show all brings the plain list back.
  t.main().tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount), QString("Count: %1").arg(t.rows()));
  EXPECT_EQ(list.Row(1).file, 1);
}

TEST(CompareDialog, KeepsItsTicksWhenHiddenAndOnlyChangesModeWhileOpen) {
  Loaded t;
  FrmUseCompare& dialog = t.dialog();
  for (const char* name :
       {"chkUseTypeID", "chkUseName", "chkUseVersion", "chkUseDate", "chkUseTime", "chkUseBSize"}) {
    EXPECT_TRUE(Box(dialog, name)->isChecked()) << name;
  }
  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  Box(dialog, "chkUseVersion")->setChecked(false);
  const int before = t.rows();
  Button(dialog, "cmdUseCancel")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(t.rows(), before);  // Cancel compares nothing

  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  EXPECT_FALSE(Box(dialog, "chkUseVersion")->isChecked());
  dialog.close();  // the close box hides it; the dialog and its ticks survive
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(Box(dialog, "chkUseVersion")->isChecked());

  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  t.main().tbMain_ButtonClick(Command::kCompareDifferent);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Mode(), CompareMode::kDifferent);
  EXPECT_FALSE(dialog.Criteria().use_version);
  EXPECT_TRUE(dialog.Criteria().use_name);

  // The margin left of the frame is the margin right of it and below the buttons.
  const QGroupBox* fr6 = dialog.findChild<QGroupBox*>("fr6");
  const QPushButton* ok = Button(dialog, "cmdUseOK");
  const int margin = fr6->x();
  EXPECT_GT(margin, 0);
  EXPECT_EQ(dialog.width(), fr6->width() + 2 * margin);
  EXPECT_EQ(dialog.height(), ok->y() + ok->height() + margin);
}

TEST(CompareDialog, NoVersionCriterionFindsMoreEqualObjects) {
  Loaded t;
  FrmUseCompare& dialog = t.dialog();
  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  Button(dialog, "cmdUseOK")->click();
  const int strict = t.rows();
  t.main().tbMain_ButtonClick(Command::kCompareEqual);
  Box(dialog, "chkUseVersion")->setChecked(false);
  Button(dialog, "cmdUseOK")->click();
  EXPECT_GT(t.rows(), strict);
}

}  // namespace
}  // namespace quillet
