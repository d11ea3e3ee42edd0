// The stored settings as the window reads and writes them: what survives a restart, and what
// odd or hostile stored values give.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "shell/frm_main.h"
#include "ui_support.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

TEST(Settings, SurviveARestart) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  t.dialogs.answers = {Sample("sample-changed.fbk")};
  main.tbMain_ButtonClick(Command::kLoadFile2);
  main.move(40, 50);
  main.resize(700, 400);
  test::ListWidget(main)->setColumnWidth(3, 300);
  test::ListWidget(main)->setColumnWidth(4, 45);  // Modified widened: stored, not restored
  main.session().SetHideSystem(true);
  t.Restart();

  FrmMain& again = t.main();
  EXPECT_EQ(again.pos(), QPoint(40, 50));
  EXPECT_EQ(again.size(), QSize(700, 400));
  EXPECT_EQ(test::ListWidget(again)->columnWidth(3), 300);
  EXPECT_EQ(test::ListWidget(again)->columnWidth(4), 0);
  EXPECT_TRUE(again.session().filter().hide_system);
  EXPECT_EQ(again.settings().last_file2, Sample("sample-changed.fbk"));
  EXPECT_EQ(again.settings().last_file1, "");  // the command line does not change it

  QSettings stored(t.settings_file(), QSettings::IniFormat);
  EXPECT_EQ(stored.value("HideSystem").toInt(), -1);
  EXPECT_EQ(stored.value("TableData").toInt(), 0);
  EXPECT_EQ(stored.value("Codeunit").toInt(), -1);
  EXPECT_EQ(stored.value("MainZoomed").toInt(), 0);
  EXPECT_GT(stored.value("Col5").toInt(), 0);
}

TEST(Settings, OddStoredValuesGiveUsableDefaults) {
  TestProgram t;
  t.main().close();
  {
    QSettings stored(t.settings_file(), QSettings::IniFormat);
    stored.setValue("MainLeft", -20);
    stored.setValue("MainWidth", "wide");
    stored.setValue("Table", 1);  // only -1 means shown
    stored.setValue("TableData", -1);
    stored.setValue("Col2", 3000);
    stored.setValue("Col10", 5000);  // never restored
  }
  t.store = std::make_unique<SettingsStore>(t.settings_file());
  t.Start(QString());
  const MainSettings& s = t.main().settings();
  EXPECT_EQ(s.left, 500);
  EXPECT_EQ(s.width, 11000);
  EXPECT_FALSE(s.types[kTableType]);
  EXPECT_TRUE(s.types[kTableDataType]);
  EXPECT_EQ(s.column_widths[1], 3000);
  EXPECT_EQ(s.column_widths[9], 0);
  EXPECT_FALSE(test::Action(t.main(), TypeCommand(1))->isChecked());
}

TEST(Settings, AWindowOffEveryScreenComesBack) {
  TestProgram t;
  t.main().close();
  {
    QSettings stored(t.settings_file(), QSettings::IniFormat);
    stored.setValue("MainLeft", 20000000);
    stored.setValue("MainTop", 500);
  }
  t.store = std::make_unique<SettingsStore>(t.settings_file());
  t.Start(QString());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.intersects(t.main().geometry()));
}

TEST(Settings, HostileValuesStillGiveAUsableWindow) {
  TestProgram t;
  t.main().close();
  {
    QSettings stored(t.settings_file(), QSettings::IniFormat);
    stored.setValue("MainLeft", "12abc");
    stored.setValue("MainTop", 99999999999LL);  // beyond 32 bits
    stored.setValue("MainWidth", 2147483647);
    stored.setValue("MainHeight", 0);
    stored.setValue("MainZoomed", QStringList{"a", "b"});
    stored.setValue("HideSystem", "yes");
    stored.setValue("LastFile1", 42);
    for (int column = 1; column <= 10; ++column) {
      stored.setValue(QString("Col%1").arg(column), column % 2 ? 10000000 : -300);
    }
  }
  t.store = std::make_unique<SettingsStore>(t.settings_file());
  t.Start(Sample("sample.fob"));
  FrmMain& main = t.main();
  const QRect desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry();
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(main.isMaximized());
  EXPECT_LE(main.width(), desktop.width());
  EXPECT_GE(main.height(), main.minimumHeight());
  EXPECT_TRUE(desktop.intersects(main.geometry()));
  EXPECT_FALSE(main.session().filter().hide_system);
  EXPECT_EQ(main.settings().last_file1, "42");
  for (int column = 0; column < 10; ++column) {
    EXPECT_GE(test::ListWidget(main)->columnWidth(column), 0);
    EXPECT_LE(test::ListWidget(main)->columnWidth(column), desktop.width());
  }
  EXPECT_EQ(main.session().list().RowCount(), 53);  // and it works
  main.lvMain_ColumnClick(Column::kName);
}

}  // namespace
}  // namespace quillet
