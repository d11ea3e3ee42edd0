// Handing the result on: copying, the context menus, saving in every format, recent files, the
// title, reloading, two files from the command line, readable cells and panels.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QToolTip>

#include "gen/generator.h"
#include "shell/frm_main.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/list_actions.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/status_panel.h"

namespace quillet {
namespace {

using test::Sample;
using test::Slurp;
using test::TestProgram;

void Select(FrmMain& main, std::initializer_list<int> rows) {
  QItemSelectionModel* selection = test::ListWidget(main)->selectionModel();
  selection->clearSelection();
  for (const int row : rows) {
    selection->select(test::ListModel(main)->index(row, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
}

QString Cell(FrmMain& main, int row, Column column) {
  const QAbstractItemModel* model = test::ListModel(main);
  return model->data(model->index(row, ColumnIndex(column))).toString().trimmed();
}

TEST(Copy, TheSelectedRowsInTheirShownOrderWithAHeader) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.lvMain_ColumnClick(Column::kName);
  Select(main, {4, 1});  // selected out of order: copied in the order shown
  test::Actions(main).Copy();
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  const QStringList lines = copied->text().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  // The columns shown: Modified and Compiled start hidden.
  EXPECT_EQ(lines[0], "File\tType\tID\tName\tVersion\tDate\tTime\tBLOB size");
  const QStringList first = lines[1].split('\t');
  ASSERT_EQ(first.size(), 8);
  EXPECT_EQ(first[0], "1");
  EXPECT_EQ(first[3], Cell(main, 1, Column::kName));  // blanks removed
  EXPECT_EQ(first[2], Cell(main, 1, Column::kId));
  EXPECT_EQ(lines[2].split('\t')[3], Cell(main, 4, Column::kName));
  const QByteArray csv = copied->data("text/csv");
  EXPECT_TRUE(csv.startsWith("File,Type,ID,Name,Version,Date,Time,BLOB size\r\n"));
  EXPECT_EQ(csv.count("\r\n"), 3);
}

TEST(Copy, IdsAsFilterInRangesPerType) {
  TestProgram t;
  gen::Options options;
  gen::Object object;
  object.date = "01.01.10";
  object.time = "10:00:00";
  std::vector<gen::Object> objects;
  for (const auto& [type, id] : std::vector<std::pair<const char*, int>>{{"Codeunit", 80},
                                                                         {"Table", 5051},
                                                                         {"Table", 18},
                                                                         {"Table", 5050},
                                                                         {"Table", 5052},
                                                                         {"Codeunit", 81},
                                                                         {"Table", 18},
                                                                         {"Page", 7}}) {
    object.type = type;
    object.id = gen::Number10(id);
    objects.push_back(object);
  }
  gen::WriteFile(t.Path("ids.fob").toStdString(), gen::EncodeFile(objects, options));
  t.main().LoadAndShowFile(t.Path("ids.fob"), 1);
  Select(t.main(), {0, 1, 2, 3, 4, 5, 6});  // all but the page
  test::Actions(t.main()).CopyIdsAsFilter();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Table: 18|5050..5052\r\nCodeunit: 80|81\r\n");
}

// Copy IDs as filter, pasted into the filter bar, selects exactly the objects of those types
// and IDs: the lines read back as the filter.
TEST(Copy, IdsPastedIntoTheFilterBarSelectExactlyThoseObjects) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  const QAbstractItemModel* model = test::ListModel(main);
  const auto key = [&](int row) {
    return model->data(model->index(row, 1)).toString().trimmed() + ":" +
           model->data(model->index(row, 2)).toString().trimmed();
  };
  const std::initializer_list<int> chosen = {0, 2, 3, 9, 17, 30, 31, 44};
  QSet<QString> keys;
  for (const int row : chosen) keys << key(row);
  int expected = 0;
  for (int row = 0; row < model->rowCount(); ++row) expected += keys.contains(key(row)) ? 1 : 0;
  Select(main, chosen);
  test::Actions(main).CopyIdsAsFilter();
  ASSERT_GT(QGuiApplication::clipboard()->text().count("\r\n"), 1);  // several types

  main.OpenFilter();
  auto* field = test::Filter(main).findChild<QLineEdit*>("filterField");
  ASSERT_NE(field, nullptr);
  field->paste();
  ASSERT_TRUE(test::WaitForFilter(main));
  EXPECT_EQ(test::Filter(main).findChild<QLabel*>("filterError")->text(), "");
  EXPECT_EQ(model->rowCount(), expected);
  for (int row = 0; row < model->rowCount(); ++row) EXPECT_TRUE(keys.contains(key(row))) << row;
}

TEST(ContextMenus, OnRowsAndOnTheColumnHeaders) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  Select(main, {0});
  QMenu* rows = test::Actions(main).RowMenu();
  QStringList texts;
  for (const QAction* action : rows->actions()) {
    if (!action->isSeparator()) texts << action->text();
  }
  EXPECT_EQ(texts,
            (QStringList{"Copy", "Copy IDs as filter", "Save selection as...", "Select all"}));
  rows->close();

  // Modified starts hidden; the header's menu shows it, and fits a column to its contents.
  const int modified = ColumnIndex(Column::kModified);
  EXPECT_EQ(test::ListWidget(main)->columnWidth(modified), 0);
  QMenu* header = test::Actions(main).HeaderMenu(ColumnIndex(Column::kName));
  QAction* show_modified = nullptr;
  for (QAction* action : header->actions()) {
    if (action->text() == "Modified") show_modified = action;
  }
  ASSERT_NE(show_modified, nullptr);
  EXPECT_FALSE(show_modified->isChecked());
  show_modified->trigger();
  EXPECT_GT(test::ListWidget(main)->columnWidth(modified), 0);
  header->close();
}

// The list is a table shown as a list: Home and End go to the ends of the list, not of the row,
// every row is one line high, and the titles are in the rows' font.
TEST(ListKeys, HomeAndEndGoToTheEndsOfTheList) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  ObjectListView* view = test::ListWidget(main);
  const int last = test::ListModel(main)->rowCount() - 1;
  ASSERT_GT(last, 3);
  view->setCurrentIndex(test::ListModel(main)->index(3, ColumnIndex(Column::kName)));
  const auto press = [view](int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(view, &event);
  };
  press(Qt::Key_End, Qt::NoModifier);
  EXPECT_EQ(view->currentIndex().row(), last);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  press(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), last + 1);

  EXPECT_EQ(view->rowHeight(0), view->rowHeight(last));
  EXPECT_GE(view->rowHeight(0), view->iconSize().height());
  EXPECT_GE(view->rowHeight(0), QFontMetrics(view->font()).height());
  EXPECT_EQ(view->header()->font(), view->font());
}

TEST(SaveTypes, EachTypeIsTheCommandLinesFormat) {
  TestProgram t(Sample("sample.fob"));
  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  t.main().ShowComparison(CompareMode::kChanges, {});
  const QStringList cli = {"compare", "--changes", Sample("sample.fob"),
                           Sample("sample-changed.fbk")};
  struct Case {
    int type;
    const char* typed;
    const char* saved;
    const char* format;
  };
  for (const Case& c : {Case{0, "a", "a.txt", "text"}, Case{1, "b", "b.csv", "csv"},
                        Case{2, "c", "c.json", "json"}, Case{3, "d", "d.html", "html"},
                        Case{6, "e.csv", "e.csv", "csv"}, Case{4, "f", "f.tsv", "tsv"},
                        Case{5, "g", "g.xlsx", "xlsx"}, Case{6, "h.TSV", "h.TSV", "tsv"}}) {
    t.dialogs.save_answer = t.Path(c.typed);
    t.dialogs.save_filter = c.type;
    t.main().tbMain_ButtonClick(Command::kSave);
    const QByteArray saved = Slurp(t.Path(c.saved));
    const QByteArray printed = test::CliOutput(cli + QStringList{"--format", c.format, "-o", "-"});
    if (QByteArray(c.format) == "xlsx") {
      // A workbook carries the time it was made: the same size, and a zip archive.
      EXPECT_TRUE(saved.startsWith("PK\x03\x04")) << c.saved;
      EXPECT_EQ(saved.size(), printed.size()) << c.saved;
    } else {
      EXPECT_EQ(saved, printed) << c.saved;
    }
  }
  // Save selection as: the selected rows only, in the type chosen.
  Select(t.main(), {0, 1});
  t.dialogs.save_answer = t.Path("two");
  t.dialogs.save_filter = 0;
  const std::vector<int> rows = {1, 2};
  t.main().SaveObjectList(t.main().AskSaveFileName(), &rows);
  EXPECT_EQ(Slurp(t.Path("two.txt")).count('\n'), 2);
}

TEST(RecentFiles, NewestFirstAndGoneFilesDisabled) {
  TestProgram t;
  for (const char* name : {"a.fob", "b.fob", "c.fob"}) {
    QFile::copy(Sample("sample.fob"), t.Path(name));
    t.main().LoadAndShowFile(t.Path(name), 1);
  }
  QFile::remove(t.Path("b.fob"));
  t.main().LoadAndShowFile(t.Path("a.fob"), 1);  // again: to the front
  t.Restart();
  QMenu* menu = test::RecentMenu(t.main(), 1);
  emit menu->aboutToShow();
  QStringList entries;
  for (const QAction* action : menu->actions()) {
    entries << QFileInfo(action->text()).fileName() + (action->isEnabled() ? "" : " (gone)");
  }
  EXPECT_EQ(entries, (QStringList{"a.fob", "c.fob", "b.fob (gone)"}));
  menu->actions().first()->trigger();
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), t.Path("a.fob"));
  EXPECT_EQ(test::RecentMenu(t.main(), 2)->actions().value(0)->text(), "No recent files");
}

TEST(Title, NamesTheLoadedFiles) {
  TestProgram t;
  EXPECT_EQ(t.main().windowTitle(), "Quillet");
  t.main().LoadAndShowFile(Sample("sample.fob"), 1);
  EXPECT_EQ(t.main().windowTitle(), "Quillet - sample.fob");
  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  EXPECT_EQ(t.main().windowTitle(), "Quillet - sample.fob | sample-changed.fbk");
  t.main().tbMain_ButtonClick(Command::kNew);
  EXPECT_EQ(t.main().windowTitle(), "Quillet");
}

void WriteObjects(const QString& path, int objects, std::uint32_t seed) {
  gen::Options options;
  options.objects = objects;
  options.seed = seed;
  gen::WriteFile(path.toStdString(), gen::EncodeFile(gen::GenerateObjects(options), options));
}

TEST(Reload, OffersItWhenAFileChangesAndShowsTheSameView) {
  TestProgram t;
  WriteObjects(t.Path("one.fob"), 40, 1);
  WriteObjects(t.Path("two.fob"), 30, 2);
  FrmMain& main = t.main();
  main.LoadAndShowFile(t.Path("one.fob"), 1);
  main.LoadAndShowFile(t.Path("two.fob"), 2);
  main.ShowComparison(CompareMode::kChanges, {});
  EXPECT_FALSE(test::ChangedOnDisk(main).isVisibleTo(&main));

  WriteObjects(t.Path("two.fob"), 40, 1);  // file #1 again: no changes left
  QElapsedTimer waited;
  waited.start();
  while (!test::ChangedOnDisk(main).isVisibleTo(&main) && waited.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  ASSERT_TRUE(test::ChangedOnDisk(main).isVisibleTo(&main));
  EXPECT_EQ(main.session().table().Count(2), 30);  // nothing read without the user
  EXPECT_GT(test::ListModel(main)->rowCount(), 0);

  main.Reload();
  EXPECT_FALSE(test::ChangedOnDisk(main).isVisibleTo(&main));
  EXPECT_EQ(main.session().table().Count(2), 40);
  EXPECT_EQ(test::ListModel(main)->columnCount(), 11);  // the changes again, now of equal files
  EXPECT_EQ(test::ListModel(main)->rowCount(), 0);
}

TEST(StartUp, TwoFilesOnTheCommandLineAreComparedAtOnce) {
  const QString one = Sample("sample.fob"), two = Sample("sample-changed.fbk");
  {
    TestProgram t(QStringList{"--changes", one, two});
    EXPECT_EQ(test::PanelText(t.main(), Panel::kFile2), two);
    EXPECT_EQ(test::ListModel(t.main())->columnCount(), 11);
  }
  {
    TestProgram t(QStringList{one, two});  // a file manager's compare: the changes
    EXPECT_EQ(test::ListModel(t.main())->columnCount(), 11);
    EXPECT_EQ(t.main().session().compared(), CompareMode::kChanges);
  }
  {
    TestProgram t(QStringList{"--different", one, two});
    EXPECT_EQ(test::PanelText(t.main(), Panel::kActivity), "Finished");
    EXPECT_LT(t.main().session().list().RowCount(), 40);
  }
  {
    TestProgram t(QStringList{"--bogus", one, two});  // an option it does not know is said
    EXPECT_EQ(t.main().session().list().RowCount(), 0);
    EXPECT_EQ(t.dialogs.messages,
              QStringList{"Unknown option: --bogus\nUsage: quillet [FILE] or quillet "
                          "[--changes|--different|--equal] FILE1 FILE2"});
  }
}

TEST(Readable, CutCellsAndPanelsShowTheirWholeText) {
  TestProgram t;
  const QString deep = t.Path("a folder with a long name/another folder/the objects of 2026.fob");
  QDir().mkpath(QFileInfo(deep).absolutePath());
  ASSERT_TRUE(QFile::copy(Sample("sample.fob"), deep));
  FrmMain& main = t.main();
  main.LoadAndShowFile(deep, 1);
  // The panels that say what goes on keep their text whole; the file's name gives way.
  test::PanelWidget(main, Panel::kCount)->SetText("Count: 250000 of 500000");
  EXPECT_EQ(test::PanelWidget(main, Panel::kCount)->ShownText(), "Count: 250000 of 500000");
  EXPECT_EQ(test::PanelWidget(main, Panel::kCount)->toolTip(), "Count: 250000 of 500000");
  QApplication::processEvents();  // at the window's first size
  const QString shown = test::PanelWidget(main, Panel::kFile1)->ShownText();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();  // shortened in the middle
  EXPECT_TRUE(shown.endsWith("2026.fob")) << shown.toStdString();
  EXPECT_EQ(test::PanelWidget(main, Panel::kFile1)->toolTip(), deep);

  // A name too long for its column shows whole as a tool tip.
  ObjectListView* view = test::ListWidget(main);
  view->setColumnWidth(ColumnIndex(Column::kName), 20);
  const QRect cell = view->visualRect(test::ListModel(main)->index(0, ColumnIndex(Column::kName)));
  QHelpEvent help(QEvent::ToolTip, cell.center(), view->viewport()->mapToGlobal(cell.center()));
  QApplication::sendEvent(view->viewport(), &help);
  EXPECT_EQ(QToolTip::text(), Cell(main, 0, Column::kName));
}

}  // namespace
}  // namespace quillet
