// What the window shows must be what is so: saving never replaces a loaded file, a file that
// cannot be read is named, changes on disk are noticed per slot, marks describe the rows shown,
// and what is copied is what is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>

#include "gen/generator.h"
#include "shell/frm_main.h"
#include "ui_support.h"
#include "view/frm_use_compare.h"

namespace quillet {
namespace {

using test::Sample;
using test::Slurp;
using test::TestProgram;

void WriteObjects(const QString& path, int objects, std::uint32_t seed) {
  gen::Options options;
  options.objects = objects;
  options.seed = seed;
  gen::WriteFile(path.toStdString(), gen::EncodeFile(gen::GenerateObjects(options), options));
}

// A Table with its ID, name and version, dated alike.
gen::Object Table(int id, const char* name, const char* version = "V1") {
  gen::Object object;
  object.type = "Table";
  object.id = gen::Number10(id);
  object.name = name;
  object.version = version;
  object.date = "01.01.10";
  object.time = "10:00:00";
  object.size = gen::Number10(100);
  return object;
}

void WriteTables(const QString& path, const std::vector<gen::Object>& objects) {
  gen::WriteFile(path.toStdString(), gen::EncodeFile(objects, gen::Options{}));
}

QString Cell(FrmMain& main, int row, Column column) {
  const QAbstractItemModel* model = test::ListModel(main);
  return model->data(model->index(row, ColumnIndex(column))).toString().trimmed();
}

bool Tinted(FrmMain& main, int row, Column column) {
  const QAbstractItemModel* model = test::ListModel(main);
  return model->data(model->index(row, ColumnIndex(column)), Qt::BackgroundRole).isValid();
}

// Waits up to five seconds for the bar that offers a reload.
bool ReloadOffered(FrmMain& main) {
  QElapsedTimer waited;
  waited.start();
  while (!test::ChangedOnDisk(main).isVisibleTo(&main) && waited.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return test::ChangedOnDisk(main).isVisibleTo(&main);
}

TEST(SaveOver, ALoadedFileIsRefusedByAnyNameAnotherFileOnlyWhenTheUserSaysSo) {
  TestProgram t;
  FrmMain& main = t.main();
  for (const char* name : {"base.fob", "one.fob", "two.fbk"}) {
    ASSERT_TRUE(QFile::copy(Sample("sample.fob"), t.Path(name)));
  }
  std::filesystem::create_symlink(t.Path("two.fbk").toStdString(),
                                  t.Path("link.txt").toStdString());
  main.LoadAndShowFile(t.Path("base.fob"), kBaseFile);
  main.LoadAndShowFile(t.Path("one.fob"), 1);
  main.LoadAndShowFile(t.Path("two.fbk"), 2);
  const QByteArray original = Slurp(Sample("sample.fob"));
  struct Case {
    QString typed;
    QString loaded_as;
  };
  const Case refused[] = {
      {t.Path("base.fob"), "the base file"},
      {t.Path("one.fob"), "file #1"},
      {t.Path("./two.fbk"), "file #2"},
      {t.Path("link.txt"), "file #2"},  // through a link
  };
  for (const Case& c : refused) {
    t.dialogs.messages.clear();
    t.dialogs.save_answer = c.typed;
    t.dialogs.save_filter = 6;  // every file, as a user types over a name
    main.tbMain_ButtonClick(Command::kSave);
    EXPECT_EQ(t.dialogs.messages,
              QStringList{"Unable to save the file\n" + c.typed + ": it is loaded as " +
                          c.loaded_as + " and would be replaced"});
  }
  for (const char* name : {"base.fob", "one.fob", "two.fbk"}) {
    EXPECT_EQ(Slurp(t.Path(name)), original) << name;
  }
  EXPECT_TRUE(t.dialogs.questions.isEmpty());

  // Another file that is there: asked first, and kept on No.
  t.dialogs.messages.clear();
  ASSERT_TRUE(QFile::copy(Sample("sample.fob"), t.Path("other.txt")));
  t.dialogs.save_answer = t.Path("other.txt");
  t.dialogs.replies = {false};
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.questions,
            QStringList{t.Path("other.txt") + " already exists.\nReplace it?"});
  EXPECT_EQ(Slurp(t.Path("other.txt")), original);
  t.dialogs.replies = {true};
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_NE(Slurp(t.Path("other.txt")), original);
  // A new file, or a device that is written into, brings no question.
  t.dialogs.questions.clear();
  for (const QString& target : {t.Path("new.txt"), QString("/dev/null")}) {
    t.dialogs.save_answer = target;
    main.tbMain_ButtonClick(Command::kSave);
  }
  EXPECT_TRUE(t.dialogs.questions.isEmpty());
  EXPECT_FALSE(Slurp(t.Path("new.txt")).isEmpty());
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

// `quillet --changes a.fob missing.fbk`: a comparison with a side missing would show the
// failure as its result.
TEST(StartUp, AFileThatCannotBeReadIsNamedAndNothingIsCompared) {
  test::TempDir dir;
  const QString missing = test::QPath(dir, "missing.fbk"), folder = test::QPath(dir, "folder.fbk");
  QDir().mkpath(folder);
  struct Case {
    QStringList arguments;
    QString told;
  };
  const Case cases[] = {
      {{"--changes", Sample("sample.fob"), missing},
       "Unable to read the file\n" + missing + ": no such file"},
      {{missing, Sample("sample.fob")}, "Unable to read the file\n" + missing + ": no such file"},
      {{"--different", folder, Sample("sample.fob")},
       "Unable to read the file\n" + folder + ": it is a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    TestProgram t(c.arguments);
    EXPECT_EQ(t.dialogs.messages, QStringList{c.told});
    EXPECT_EQ(t.main().session().compared(), CompareMode::kNone);
    EXPECT_EQ(test::ListModel(t.main())->columnCount(), 10);
    // What could be read is listed as it is.
    EXPECT_EQ(t.main().session().list().RowCount(), 53);
  }
}

// The same file in two slots, once through a link: a change is told by one of its names, and
// replacing either slot must not hide that the other holds an old copy.
TEST(Reload, AChangeIsNoticedForEverySlotThatHoldsTheFile) {
  for (const int replaced : {kBaseFile, 1}) {
    SCOPED_TRACE(replaced);
    TestProgram t;
    WriteObjects(t.Path("one.fob"), 40, 1);
    WriteObjects(t.Path("two.fob"), 30, 2);
    std::filesystem::create_symlink(t.Path("one.fob").toStdString(),
                                    t.Path("link.fob").toStdString());
    FrmMain& main = t.main();
    main.LoadAndShowFile(t.Path("link.fob"), kBaseFile);
    main.LoadAndShowFile(t.Path("one.fob"), 1);
    WriteObjects(t.Path("one.fob"), 41, 3);
    ASSERT_TRUE(ReloadOffered(main));
    QApplication::processEvents(QEventLoop::AllEvents, 100);
    main.LoadAndShowFile(t.Path("two.fob"), replaced);
    const int kept = replaced == kBaseFile ? 1 : kBaseFile;
    EXPECT_TRUE(main.session().Slot(kept).changed_on_disk);
    EXPECT_TRUE(test::ChangedOnDisk(main).isVisibleTo(&main));
  }
}

// A load while the changes are shown leaves rows of the other file that no longer stand in a
// comparison: nothing of the comparison may stay on them.
TEST(Marks, ALoadDuringAComparisonLeavesNoOldMarks) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  for (const CompareMode mode : {CompareMode::kChanges, CompareMode::kEqual}) {
    main.ShowComparison(mode, {});
    main.LoadAndShowFile(Sample("sample.fob"), 1);
    const QAbstractItemModel* model = test::ListModel(main);
    ASSERT_EQ(model->columnCount(), 10);
    for (int row = 0; row < model->rowCount(); ++row) {
      for (int column = 0; column < model->columnCount(); ++column) {
        ASSERT_FALSE(Tinted(main, row, ColumnAt(column))) << row << " " << column;
      }
    }
    for (const ObjectRow& row : main.session().list().AllRows()) {
      ASSERT_EQ(row.changed, 0);
      ASSERT_EQ(row.group, 0u);
    }
  }
}

// A base and two sides made for each result: only the side that differs from the base is
// tinted, and a side that removed the object has a row that says so.
TEST(UpgradeView, OnlyTheChangedSideIsMarkedAndARemovedSideHasAPlaceholder) {
  TestProgram t;
  WriteTables(t.Path("base.fob"),
              {Table(18, "Customer"), Table(19, "Vendor"), Table(20, "Item"), Table(21, "Old")});
  WriteTables(t.Path("one.fob"),
              {Table(18, "Customer", "V2"), Table(20, "Item 1"), Table(22, "New")});
  WriteTables(t.Path("two.fob"), {Table(18, "Customer"), Table(19, "Vendor"), Table(20, "Item 2")});
  FrmMain& main = t.main();
  main.LoadAndShowFile(t.Path("base.fob"), kBaseFile);
  main.LoadAndShowFile(t.Path("one.fob"), 1);
  main.LoadAndShowFile(t.Path("two.fob"), 2);
  main.ShowComparison(CompareMode::kUpgrade, {});
  const QAbstractItemModel* model = test::ListModel(main);
  QStringList rows;
  for (int row = 0; row < model->rowCount(); ++row) {
    QString marks;
    for (const Column column : {Column::kName, Column::kVersion}) {
      marks += Tinted(main, row, column) ? "*" : "";
    }
    rows << QString::number(model->data(model->index(row, 0)).toString().size()) + " " +
                Cell(main, row, Column::kId) + " " + Cell(main, row, Column::kName) + marks + " " +
                Cell(main, row, Column::kStatus);
  }
  // The file column's tag: no blank for the base, one for file #1, two for file #2.
  EXPECT_EQ(rows, (QStringList{
                      "0 18 Customer Only #1 changed",
                      "1 18 Customer* Only #1 changed",  // its version differs
                      "2 18 Customer Only #1 changed",
                      "0 19 Vendor Only #1 changed",
                      "1 19 removed Only #1 changed",
                      "2 19 Vendor Only #1 changed",
                      "0 20 Item Conflict",
                      "1 20 Item 1* Conflict",
                      "2 20 Item 2* Conflict",
                      "0 21 Old Both changed alike",
                      "1 21 removed Both changed alike",
                      "2 21 removed Both changed alike",
                      "1 22 New Only #1 added",
                  }))
      << rows.join('\n').toStdString();
  // The placeholders are the window's only: the count, the saved list and a copy have none.
  EXPECT_EQ(main.session().list().RowCount(), 10);
  EXPECT_EQ(test::PanelText(main, Panel::kCount), "Count: 10");
  test::ListWidget(main)->selectAll();
  test::Actions(main).Copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text().count('\n'), 1 + 10);
  EXPECT_FALSE(QGuiApplication::clipboard()->text().contains("removed"));
  t.dialogs.save_answer = t.Path("upgrade.txt");
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(Slurp(t.Path("upgrade.txt")),
            test::CliOutput(
                {"compare", "--base=" + t.Path("base.fob"), t.Path("one.fob"), t.Path("two.fob")}));
}

TEST(Copy, LeavesOutTheHiddenColumnsAndFollowsTheirOrder) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  ObjectListView* view = test::ListWidget(main);
  view->setColumnWidth(ColumnIndex(Column::kVersion), 0);
  view->setColumnWidth(ColumnIndex(Column::kModified), 40);
  const auto copied_header = [&] {
    view->selectionModel()->select(test::ListModel(main)->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    test::Actions(main).Copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return QStringList{data->text().section('\n', 0, 0),
                       QString::fromUtf8(data->data("text/csv")).section("\r\n", 0, 0)};
  };
  EXPECT_EQ(copied_header(), (QStringList{"File\tType\tID\tName\tModified\tDate\tTime\tBLOB size",
                                          "File,Type,ID,Name,Modified,Date,Time,BLOB size"}));
  // In the changes the status stands after the file; the changed fields come last.
  main.ShowComparison(CompareMode::kChanges, {});
  EXPECT_EQ(copied_header().value(0),
            "File\tStatus\tType\tID\tName\tModified\tDate\tTime\tBLOB size\tChanged");
  // Saving keeps every column, as the command line writes them.
  t.dialogs.save_answer = t.Path("changes.tsv");
  t.dialogs.save_filter = 4;
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_TRUE(Slurp(t.Path("changes.tsv"))
                  .startsWith("File\tType\tID\tName\tModified\tVersion\tDate\tTime\tBLOB "
                              "size\tCompiled\tStatus\tChanged\n"));
}

}  // namespace
}  // namespace quillet
