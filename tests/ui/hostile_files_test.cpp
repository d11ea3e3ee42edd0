#include "hostile_files.h"

#include <gtest/gtest.h>

#include "shell/frm_main.h"
#include "ui_support.h"

namespace quillet {
namespace {

// Through the window: file #1 stays as it was, file #2 holds what the file allows, the user is
// told what they must know, and nothing hangs or crashes.
TEST(HostileFiles, TheWindowSurvivesThemAll) {
  test::TestProgram t(test::Sample("sample.fob"));
  FrmMain& main = t.main();
  test::TempDir dir;
  for (const test::HostileFile& file : test::MakeHostileFiles(dir.path())) {
    t.dialogs.messages.clear();
    main.LoadAndShowFile(QString::fromStdString(file.path), 2);
    EXPECT_EQ(main.session().table().Count(2), file.objects) << file.what;
    EXPECT_EQ(main.session().table().Count(1), 60) << file.what;
    EXPECT_EQ(test::PanelText(main, Panel::kFile2), QString::fromStdString(file.path)) << file.what;
    EXPECT_EQ(t.dialogs.messages.size(), file.message ? 1 : 0) << file.what;
    int first = 0;
    for (const ObjectRow& row : main.session().list().AllRows()) first += row.file == 1;
    EXPECT_EQ(first, 53) << file.what;
    EXPECT_EQ(test::PanelText(main, Panel::kCount),
              QString("Count: %1").arg(main.session().list().RowCount()));
  }
}

}  // namespace
}  // namespace quillet
