#include "shell/frm_main.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QScreen>
#include <QToolBar>
#include <QWidgetAction>
#include <csignal>
#include <cstdlib>
#include <map>

#include "shell/toolbar_entries.h"
#include "shell/twips.h"
#include "shell/window_placement.h"
#include "ui_support.h"
#include "view/frm_use_compare.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

int Rows(FrmMain& main) { return main.session().list().RowCount(); }

bool Enabled(FrmMain& main, Command command) { return test::Action(main, command)->isEnabled(); }

TEST(FrmMain, FirstStartShowsAnEmptyWindow) {
  TestProgram t;
  FrmMain& main = t.main();
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), "no file");
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), "no file");
  EXPECT_FALSE(test::PanelHasIcon(main, Panel::kFile1));
  for (Command command : {Command::kCompareEqual, Command::kCompareDifferent, Command::kShowAll}) {
    EXPECT_FALSE(Enabled(main, command)) << static_cast<int>(command);
  }
  // Tooltips and pressed type buttons, as users know them.
  const std::map<int, QString> tooltips = {
      {2, "New"},
      {4, "Load file #1"},
      {5, "Load file #2"},
      {7, "TableData"},
      {8, "Table"},
      {9, "Form"},
      {10, "Report"},
      {11, "Dataport"},
      {12, "XMLport"},
      {13, "Codeunit"},
      {14, "Page"},
      {15, "MenuSuite"},
      {17, "Show objects that are equal in both files"},
      {18, "Show objects that are different in both files"},
      {20, "Show all objects of selected types"},
      {22, "Save"},
      {23, "Print"},
      {25, "Settings"},
      {27, "Info"},
  };
  // The entries numbered from the left; the commands added since stand beside their kin.
  const QStringList later = {"Load base file", "Show changes", "Show upgrade analysis",
                             "Compare many files\u2026"};
  int number = 0;
  for (QAction* action : main.findChild<QToolBar*>("tbMain")->actions()) {
    if (later.contains(action->toolTip())) continue;
    if (++number > 28) break;
    const auto tooltip = tooltips.find(number);
    if (tooltip == tooltips.end()) {
      EXPECT_NE(qobject_cast<QWidgetAction*>(action), nullptr) << number;  // a separator
      continue;
    }
    EXPECT_EQ(action->toolTip(), tooltip->second);
    EXPECT_FALSE(action->icon().pixmap(24, 24).isNull()) << number;
    EXPECT_EQ(action->isChecked(), number >= 8 && number <= 15) << number;
  }
  EXPECT_GT(number, 28);
  // Column widths from twips; Modified and Compiled hidden.
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
  const ObjectListView* list = test::ListWidget(main);
  EXPECT_EQ(list->columnWidth(0), TwipsToPixels(500, dpi));
  EXPECT_EQ(list->columnWidth(3), TwipsToPixels(2200, dpi));
  EXPECT_EQ(list->columnWidth(4), 0);
  EXPECT_EQ(list->columnWidth(9), 0);
  const QStringList headers = {"File",    "Type", "ID",   "Name",      "Modified",
                               "Version", "Date", "Time", "BLOB size", "Compiled"};
  for (int column = 0; column < 10; ++column) {
    EXPECT_EQ(test::ListModel(main)->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              headers[column]);
    const bool right = test::ListModel(main)
                           ->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
                           .value<Qt::Alignment>()
                           .testFlag(Qt::AlignRight);
    EXPECT_EQ(right, column == 2 || column == 6 || column == 7 || column == 8) << column;
  }
}

TEST(FrmMain, LoadsFilesThroughTheOpenDialog) {
  TestProgram t;
  FrmMain& main = t.main();
  t.dialogs.answers = {Sample("sample.fob")};
  main.tbMain_ButtonClick(Command::kLoadFile1);
  ASSERT_EQ(t.dialogs.open_calls.size(), 1);
  EXPECT_EQ(t.dialogs.open_calls[0][0], "Select a file...");
  EXPECT_EQ(t.dialogs.open_calls[0][1],
            "Supported files (*.fob;*.fbk)|*.fob;*.fbk|Object files (*.fob)|*.fob|Backup files "
            "(*.fbk)|*.fbk|All files|*.*");
  EXPECT_EQ(t.dialogs.open_calls[0][2], "");

  const int rows = Rows(main);
  EXPECT_EQ(rows, 53);  // the sample's objects but TableData
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), Sample("sample.fob"));
  EXPECT_TRUE(test::PanelHasIcon(main, Panel::kFile1));
  EXPECT_EQ(test::PanelText(main, Panel::kActivity), "Finished");
  EXPECT_EQ(test::PanelText(main, Panel::kProgress), "File 1: 60");
  EXPECT_EQ(test::PanelText(main, Panel::kCount), QString("Count: %1").arg(rows));
  EXPECT_EQ(test::Progress(main), 0);
  EXPECT_TRUE(Enabled(main, Command::kShowAll));
  EXPECT_FALSE(Enabled(main, Command::kCompareEqual));

  t.dialogs.answers = {Sample("sample-changed.fbk")};
  main.tbMain_ButtonClick(Command::kLoadFile2);
  EXPECT_TRUE(Enabled(main, Command::kCompareEqual));
  EXPECT_TRUE(Enabled(main, Command::kCompareDifferent));
  const QAbstractItemModel* model = test::ListModel(main);
  const QModelIndex first = model->index(0, 0), last = model->index(Rows(main) - 1, 0);
  EXPECT_EQ(model->data(first).toString(), " ");
  EXPECT_EQ(model->data(last).toString(), "  ");
  EXPECT_FALSE(model->data(first, Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(model->data(model->index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_FALSE(model->flags(first) & Qt::ItemIsEditable);

  // The dialog remembers each file's last name; cancelling and text files change nothing.
  t.dialogs.answers = {""};
  main.tbMain_ButtonClick(Command::kLoadFile1);
  EXPECT_EQ(t.dialogs.open_calls.last()[2], Sample("sample.fob"));
  const int both = Rows(main);
  QFile notes(t.Path("notes.TXT"));
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.close();
  t.dialogs.answers = {t.Path("notes.TXT")};
  main.tbMain_ButtonClick(Command::kLoadFile2);
  EXPECT_EQ(Rows(main), both);
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), Sample("sample-changed.fbk"));
}

TEST(FrmMain, NewEmptiesEverything) {
  TestProgram t("\"" + Sample("sample.fob") + "\"");
  FrmMain& main = t.main();
  main.LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  t.program->use_compare_dialog().show();
  main.tbMain_ButtonClick(Command::kNew);
  EXPECT_EQ(Rows(main), 0);
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), "no file");
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), "no file");
  EXPECT_FALSE(test::PanelHasIcon(main, Panel::kFile2));
  EXPECT_EQ(test::PanelText(main, Panel::kCount), "Count: 0");
  EXPECT_EQ(main.session().table().Count(1), 0);
  EXPECT_FALSE(Enabled(main, Command::kShowAll));
  EXPECT_FALSE(t.program->use_compare_dialog().isVisible());
}

TEST(FrmMain, TypeButtonsRebuildTheList) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  const int all = Rows(main);
  main.tbMain_ButtonClick(TypeCommand(1));  // Table off
  EXPECT_FALSE(test::Action(main, TypeCommand(1))->isChecked());
  EXPECT_LT(Rows(main), all);
  for (int row = 0; row < Rows(main); ++row) {
    ASSERT_NE(test::ListModel(main)->data(test::ListModel(main)->index(row, 1)).toString(),
              "Table    ");
  }
  main.tbMain_ButtonClick(TypeCommand(1));
  EXPECT_TRUE(test::Action(main, TypeCommand(1))->isChecked());
  EXPECT_EQ(Rows(main), all);
  EXPECT_EQ(test::PanelText(main, Panel::kCount), QString("Count: %1").arg(all));
  main.tbMain_ButtonClick(TypeCommand(0));  // TableData on
  EXPECT_EQ(Rows(main), 60);
}

TEST(FrmMain, ColumnClicksAlternateTheSortOrder) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  const QAbstractItemModel* model = test::ListModel(main);
  auto names = [&] {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
      texts << model->data(model->index(row, 3)).toString().toLower();
    }
    return texts;
  };
  auto sorted = [](QStringList texts, bool ascending) {
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const QString& a, const QString& b) { return ascending ? a < b : b < a; });
    return texts;
  };
  main.lvMain_ColumnClick(Column::kName);
  EXPECT_EQ(names(), sorted(names(), true));
  main.lvMain_ColumnClick(Column::kName);
  EXPECT_EQ(names(), sorted(names(), false));
  main.lvMain_ColumnClick(Column::kName);
  EXPECT_EQ(names(), sorted(names(), true));
  // A rebuild keeps the last sort column: the next click on it sorts descending.
  main.tbMain_ButtonClick(Command::kShowAll);
  main.lvMain_ColumnClick(Column::kName);
  EXPECT_EQ(names(), sorted(names(), false));
  // Clicking the header does the same as the command.
  test::ListWidget(main)->header()->sectionClicked(3);
  EXPECT_EQ(names(), sorted(names(), true));
}

TEST(FrmMain, EveryCommandHasItsKey) {
  TestProgram t;
  QStringList keys;
  for (const QAction* action : t.main().findChildren<QAction*>()) {
    if (action->shortcut().isEmpty()) continue;
    keys << action->shortcut().toString();
  }
  for (int command = 0; command < kCommandCount; ++command) {
    const QAction* button = test::Action(t.main(), static_cast<Command>(command));
    ASSERT_NE(button, nullptr) << command;
    EXPECT_FALSE(button->shortcut().isEmpty()) << button->toolTip().toStdString();
  }
  EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
  EXPECT_EQ(test::Action(t.main(), TypeCommand(0))->shortcut(), QKeySequence("Ctrl+1"));
  EXPECT_EQ(test::Action(t.main(), Command::kSave)->shortcut(), QKeySequence::Save);
  EXPECT_EQ(test::Action(t.main(), Command::kSave)->toolTip(),
            "Save");  // the tooltips stay as they are
}

TEST(FrmMain, AMaximisedWindowStoresItsNormalFramePosition) {
  // A frame with a 30-pixel title bar and 4-pixel borders.
  const QRect frame(100, 200, 808, 634), inner(104, 230, 800, 600);
  EXPECT_EQ(NormalPlacement(false, frame, inner, inner), QRect(100, 200, 800, 600));
  // Maximised, the window's normal inner geometry is that of before; what is stored must be
  // what a normal close stores, or the window creeps down a title bar at every start.
  const QRect maximised_frame(0, 0, 1920, 1080), maximised_inner(4, 30, 1912, 1046);
  EXPECT_EQ(NormalPlacement(true, maximised_frame, maximised_inner, inner),
            QRect(100, 200, 800, 600));
}

// Every command is one of a closed set: a gap on the toolbar has nothing to run.
TEST(FrmMain, CancelledCommandsSayNothing) {
  TestProgram t;
  // Cancelled dialogs say nothing; Info opens the About box, anew each time.
  for (Command command : {Command::kSave, Command::kPrint, Command::kInfo, Command::kInfo}) {
    t.main().tbMain_ButtonClick(command);
  }
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(t.main().findChildren<QDialog*>("frmAbout").size(), 2);
}

TEST(FrmMain, AFileDroppedOnTheWindowIsOffered) {
  TestProgram t;
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Sample("sample.fob"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&t.main(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&t.main(), &drop);
  QCoreApplication::processEvents();
  EXPECT_EQ(t.main().findChildren<QDialog*>("frmDragDrop").size(), 1);
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST(StartUp, TheCommandLineNamesOneFile) {
  test::TempDir dir;
  const QString spaced = test::QPath(dir, "with blanks.FBK");
  ASSERT_TRUE(QFile::copy(Sample("sample.fob"), spaced));
  struct Case {
    QString arguments;
    int rows;
    bool message;
  };
  const Case cases[] = {
      {"\"" + spaced + "\"", 53, false},   // quotes around a name with blanks
      {"   " + spaced + "  ", 53, false},  // blanks around it
      {"\"" + spaced + "x", 53, false},    // no closing quote: the last character goes
      {Sample("sample.fob") + " " + Sample("sample.fob"), 0, false},  // one name, not found
      {test::QPath(dir, "notes.txt"), 0, true},
      {"\"", 0, true},
      {"", 0, false},
  };
  for (const Case& c : cases) {
    TestProgram t(c.arguments);
    EXPECT_EQ(Rows(t.main()), c.rows) << c.arguments.toStdString();
    EXPECT_EQ(t.dialogs.messages.size(), c.message ? 1 : 0) << c.arguments.toStdString();
    if (c.message) {
      EXPECT_EQ(t.dialogs.messages.value(0), "Invalid file type. Supported file types: .fbk, .fob");
    }
  }
}

// File names are bytes on Linux; one in Latin-1 from an old disk is no UTF-8, and still opens.
TEST(StartUp, ANameInAnyEncodingOpens) {
  TestProgram t;
  const std::filesystem::path latin1 = t.dir /
                                       "Pr\xFC"
                                       "fung \xE4.fob";
  std::filesystem::copy_file(Sample("sample.fob").toStdString(), latin1);
  OpenCommandLineFiles(t.main(), t.dialogs, {"\"" + latin1.native() + "\""});
  EXPECT_EQ(Rows(t.main()), 53);
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

// The whole argument text is a file name: Qt must not take options of its own out of it.
TEST(StartUp, QtOptionsOnTheCommandLineAreNotQts) {
  test::TempDir dir;
  const std::string command = "cd " + dir.path().string() +
                              " && XDG_CONFIG_HOME=. QT_QPA_PLATFORM=offscreen timeout -s KILL 3 " +
                              QUILLET_WINDOW + " -platform nosuchplatform.fob";
  const int status = std::system(command.c_str());
  // Still running when killed: it did not abort for want of the platform "nosuchplatform".
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGKILL);
}

}  // namespace
}  // namespace quillet
