// The window as users expect it: every part reachable from the keyboard, names that can be told
// apart in a narrow window, a filter that stays usable while it is typed, counts that follow
// it, and dialogs that say what they do.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "shell/frm_main.h"
#include "ui_support.h"
#include "view/frm_use_compare.h"
#include "view/number_text.h"
#include "view/status_panel.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
}

// The menu that opened over `owner`, if any; it is closed and gone after.
QStringList OpenedMenu(QWidget* owner) {
  QStringList texts;
  for (QMenu* menu : owner->findChildren<QMenu*>()) {
    if (!menu->isVisible()) continue;
    for (const QAction* action : menu->actions()) {
      if (!action->isSeparator()) texts << action->text();
    }
    menu->close();
  }
  QCoreApplication::processEvents();
  return texts;
}

QAction* KeyAction(FrmMain& main, const QKeySequence& key) {
  for (QAction* action : main.findChildren<QAction*>()) {
    if (action->shortcut() == key) return action;
  }
  return nullptr;
}

TEST(Keys, TheRowMenuOpensFromTheKeyboard) {
  TestProgram t(Sample("sample.fob"));
  ObjectListView* view = test::ListWidget(t.main());
  view->setCurrentIndex(test::ListModel(t.main())->index(2, 0));
  const QStringList row_menu = {"Copy", "Copy IDs as filter", "Save selection as...", "Select all"};
  Press(view, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(OpenedMenu(view), row_menu);
  Press(view, Qt::Key_Menu);
  EXPECT_EQ(OpenedMenu(view), row_menu);
  // The Menu key as the platform gives it: a context menu asked for from the keyboard.
  const QPoint at = view->visualRect(view->currentIndex()).center();
  QContextMenuEvent asked(QContextMenuEvent::Keyboard, at, view->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(view, &asked);
  EXPECT_EQ(OpenedMenu(view), row_menu);
}

// Where Tab goes from `from`: the next widget in the chain that takes the focus by Tab.
QWidget* NextByTab(QWidget* from) {
  for (QWidget* next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->isVisibleTo(from->window()) &&
        next->isEnabled()) {
      return next;
    }
  }
  return nullptr;
}

TEST(Keys, TheColumnTitlesSortAndOpenTheirMenuFromTheKeyboard) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  ObjectListView* view = test::ListWidget(main);
  auto* header = qobject_cast<ListHeader*>(view->header());
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->focusPolicy(), Qt::TabFocus);
  EXPECT_EQ(NextByTab(view), header);  // Tab leads there from the list
  QFocusEvent focus_in(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(header, &focus_in);
  EXPECT_EQ(header->FocusSection(), ColumnIndex(Column::kFile));
  for (int i = 0; i < 3; ++i) Press(header, Qt::Key_Right);
  EXPECT_EQ(header->FocusSection(), ColumnIndex(Column::kName));
  Press(header, Qt::Key_Right);  // Modified is hidden: passed over
  EXPECT_EQ(header->FocusSection(), ColumnIndex(Column::kVersion));
  Press(header, Qt::Key_Left);
  Press(header, Qt::Key_Space);  // sorts as a click does: ascending, then descending
  EXPECT_EQ(main.session().sort_column(), Column::kName);
  Press(header, Qt::Key_Return);
  EXPECT_EQ(main.session().sort_column(), std::nullopt);
  Press(header, Qt::Key_F10, Qt::ShiftModifier);
  const QStringList menu = OpenedMenu(view);
  EXPECT_TRUE(menu.contains("Modified")) << menu.join(',').toStdString();
  EXPECT_TRUE(menu.contains("Fit column to contents"));
}

TEST(Keys, F10LeadsToTheToolbarAndDownOpensTheRecentFiles) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.resize(1200, 600);  // every button in view
  QApplication::processEvents();
  QAction* toolbar = KeyAction(main, QKeySequence(Qt::Key_F10));
  ASSERT_NE(toolbar, nullptr);
  toolbar->trigger();
  const auto focused = [&] { return qobject_cast<QToolButton*>(main.focusWidget()); };
  ASSERT_NE(focused(), nullptr);
  EXPECT_EQ(focused()->defaultAction()->toolTip(), "New");
  Press(focused(), Qt::Key_Right);
  EXPECT_EQ(focused()->defaultAction()->toolTip(), "Load file #1");
  Press(focused(), Qt::Key_Down);
  QMenu* recent = test::RecentMenu(main, 1);
  EXPECT_TRUE(recent->isVisible());
  EXPECT_EQ(recent->actions().value(0)->text(), Sample("sample.fob"));
  recent->close();
  // Past the disabled comparisons to the next button that can be pressed.
  for (int i = 0; i < 12; ++i) Press(focused(), Qt::Key_Right);
  EXPECT_EQ(focused()->defaultAction()->toolTip(), "Compare many files\u2026");
  Press(focused(), Qt::Key_Right);
  EXPECT_EQ(focused()->defaultAction()->toolTip(), "Show all objects of selected types");
  Press(focused(), Qt::Key_Escape);
  EXPECT_EQ(main.focusWidget(), test::ListWidget(main));
}

TEST(Keys, CtrlWClosesTheWindowAndCtrlQQuits) {
  for (const char* key : {"Ctrl+W", "Ctrl+Q"}) {
    TestProgram t(Sample("sample.fob"));
    QAction* action = KeyAction(t.main(), QKeySequence(key));
    ASSERT_NE(action, nullptr) << key;
    action->trigger();
    EXPECT_FALSE(t.main().isVisible()) << key;
  }
  TestProgram t;
  EXPECT_EQ(KeyAction(t.main(), QKeySequence("Ctrl+Q"))->shortcutContext(),
            Qt::ApplicationShortcut);  // from the program's dialogs too
}

// Two files whose names differ only at the end, deep in a long folder.
TEST(StatusBar, NamesStayApartAndEveryPanelStaysOnScreenAt640Pixels) {
  TestProgram t;
  const QString folder = t.Path("a folder with a rather long name/and another one below it");
  QDir().mkpath(folder);
  for (const char* name : {"/objects 50k.fob", "/objects 50k.fbk"}) {
    ASSERT_TRUE(QFile::copy(Sample("sample.fob"), folder + name));
  }
  FrmMain& main = t.main();
  main.LoadAndShowFile(folder + "/objects 50k.fob", kBaseFile);
  main.LoadAndShowFile(folder + "/objects 50k.fob", 1);
  main.LoadAndShowFile(folder + "/objects 50k.fbk", 2);
  main.resize(640, 480);
  QApplication::processEvents();
  QStatusBar* bar = main.statusBar();
  for (const Panel panel : {Panel::kBase, Panel::kFile1, Panel::kFile2, Panel::kActivity,
                            Panel::kProgress, Panel::kCount}) {
    const StatusPanel* shown = test::PanelWidget(main, panel);
    ASSERT_TRUE(shown->isVisible()) << static_cast<int>(panel);
    EXPECT_LE(shown->geometry().right(), bar->width()) << static_cast<int>(panel);
    EXPECT_GT(shown->width(), 20) << static_cast<int>(panel);
  }
  const QString first = test::PanelWidget(main, Panel::kFile1)->ShownText();
  const QString second = test::PanelWidget(main, Panel::kFile2)->ShownText();
  EXPECT_TRUE(first.endsWith("objects 50k.fob")) << first.toStdString();
  EXPECT_TRUE(second.endsWith("objects 50k.fbk")) << second.toStdString();
  EXPECT_TRUE(first.contains(QChar(0x2026))) << first.toStdString();
}

TEST(StatusBar, AFolderGivesWayBeforeTheFilesOwnName) {
  const QFontMetrics metrics(QApplication::font());
  const QString path = "/home/anna/projects/customer/objects 50k.fob";
  const int name = metrics.horizontalAdvance("objects 50k.fob");
  const struct {
    int room;
    const char* ends;
  } cases[] = {{metrics.horizontalAdvance(path), "/home/anna/projects/customer/objects 50k.fob"},
               {name + metrics.horizontalAdvance("/home/\u2026/"), "objects 50k.fob"},
               {name / 2, ".fob"}};  // too narrow even for the name: its end stays
  for (const auto& c : cases) {
    const QString shown = ShortenedPath(path, metrics, c.room);
    EXPECT_TRUE(shown.endsWith(QString::fromUtf8(c.ends))) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), c.room) << shown.toStdString();
  }
  EXPECT_TRUE(ShortenedPath(path, metrics, name + 30).startsWith("/")) << "the folder's start";
}

TEST(FilterBar, TheFieldKeepsItsRoomBesideALongReason) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.resize(640, 480);
  main.OpenFilter();
  QApplication::processEvents();
  auto* field = test::Filter(main).findChild<QLineEdit*>("filterField");
  const int before = field->width();
  test::TypeInto(field, "type:c");  // the reason lists all nine types
  QApplication::processEvents();
  auto* error = test::Filter(main).findChild<QLabel*>("filterError");
  EXPECT_TRUE(error->text().contains("is not an object type"));
  EXPECT_GE(field->width(), before * 9 / 10);
  EXPECT_GE(field->width(), field->fontMetrics().averageCharWidth() * 30);
  EXPECT_LE(error->geometry().right(), test::Filter(main).width());
  // Meanwhile the list shows what the words before the half-typed one leave: every row.
  EXPECT_EQ(test::ListModel(main)->rowCount(), 53);
}

struct Changes : TestProgram {
  Changes() : TestProgram(Sample("sample.fob")) {
    main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
    main().ShowComparison(CompareMode::kChanges, {});
  }
  QToolButton* Toggle(const char* name) {
    return test::KeyedBar(main()).findChild<QToolButton*>(name);
  }
};

TEST(ViewBar, TheCountsSayWhatTheFilterLeaves) {
  Changes t;
  const QString whole = t.Toggle("show_changed")->text();
  t.main().SetFilterText("type:table");
  ASSERT_TRUE(test::WaitForFilter(t.main()));
  const long long tables = t.main().session().ShownKeyedCounts().at(2);
  const QString total = whole.section(' ', -1);
  EXPECT_EQ(t.Toggle("show_changed")->text(), QString("Changed %1 of %2").arg(tables).arg(total));
  EXPECT_FALSE(t.Toggle("show_same")->text().contains(" of "));  // not listed: nothing to leave
  t.main().SetFilterText("");
  EXPECT_EQ(t.Toggle("show_changed")->text(), whole);
}

// The mean brightness of a widget as drawn.
double Brightness(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  double sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
  }
  return sum / std::max(1, image.width() * image.height());
}

// Each column's width by its place: what the user set must stay with the column it was set on.
std::vector<std::pair<int, int>> ColumnPlaces(QHeaderView* header) {
  std::vector<std::pair<int, int>> places;
  for (int column = 0; column < kColumnCount; ++column) {
    places.emplace_back(header->visualIndex(column), header->sectionSize(column));
  }
  return places;
}

TEST(ViewBar, TheStatusColumnStandsFirstAndTheOthersKeepTheirWidths) {
  TestProgram t(Sample("sample.fob"));
  QHeaderView* header = test::ListWidget(t.main())->header();
  const std::vector<std::pair<int, int>> listing = ColumnPlaces(header);
  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  t.main().ShowComparison(CompareMode::kChanges, {});
  EXPECT_EQ(header->visualIndex(ColumnIndex(Column::kStatus)), 1);
  t.main().tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(ColumnPlaces(header), listing);  // the listing's columns as they were
  t.main().ShowComparison(CompareMode::kChanges, {});
  EXPECT_EQ(header->visualIndex(ColumnIndex(Column::kStatus)), 1);  // again after a rebuild
  t.main().lvMain_ColumnClick(Column::kName);
  EXPECT_EQ(header->visualIndex(ColumnIndex(Column::kStatus)), 1);  // and after a sort
  // A base read during the changes compares again: the columns stay where they were.
  t.main().LoadAndShowFile(Sample("sample.fob"), kBaseFile);
  EXPECT_EQ(header->visualIndex(ColumnIndex(Column::kStatus)), 1);
  t.main().tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(ColumnPlaces(header), listing);
}

TEST(ViewBar, TheTogglesOnAndOffDifferClearly) {
  Changes t;
  QToolButton* on = t.Toggle("show_changed");
  QToolButton* off = t.Toggle("show_same");
  ASSERT_TRUE(on->isChecked());
  ASSERT_FALSE(off->isChecked());
  EXPECT_GT(std::abs(Brightness(on) - Brightness(off)), 40.0);
}

TEST(Words, LargeCountsAreGrouped) {
  const std::pair<long long, const char*> cases[] = {
      {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {-25260, "-25,260"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(GroupedNumber(number), text) << number;
}

TEST(CompareDialog, NamesItsComparisonAndFixesTypeAndIdInTheKeyedViews) {
  TestProgram t(Sample("sample.fob"));
  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  FrmUseCompare& dialog = t.program->use_compare_dialog();
  auto* type_id = dialog.findChild<QCheckBox*>("chkUseTypeID");
  type_id->setChecked(false);  // the user's own, for the equal comparison
  const struct {
    Command command;
    const char* title;
    bool fixed;
  } cases[] = {{Command::kShowChanges, "Show changes", true},
               {Command::kCompareEqual, "Equal objects", false},
               {Command::kShowUpgrade, "Upgrade analysis", true},
               {Command::kCompareDifferent, "Different objects", false}};
  for (const auto& c : cases) {
    dialog.SetMode(CompareModeOf(c.command));
    EXPECT_EQ(dialog.windowTitle(), c.title);
    EXPECT_EQ(dialog.findChild<QGroupBox*>("fr6")->title(), c.title);
    EXPECT_EQ(type_id->isEnabled(), !c.fixed) << c.title;
    EXPECT_EQ(type_id->isChecked(), c.fixed) << c.title;
    EXPECT_EQ(dialog.Criteria().use_type_id, c.fixed) << c.title;
  }
}

TEST(Dialogs, StartInTheFolderOfTheLastFileChosen) {
  TestProgram t;
  FrmMain& main = t.main();
  QDir().mkpath(t.Path("elsewhere"));
  ASSERT_TRUE(QFile::copy(Sample("sample.fob"), t.Path("elsewhere/a.fob")));
  t.dialogs.answers = {Sample("sample.fob")};
  main.tbMain_ButtonClick(Command::kLoadFile1);
  t.dialogs.answers = {""};
  main.tbMain_ButtonClick(Command::kLoadFile2);  // file #2 has none of its own yet
  EXPECT_EQ(t.dialogs.open_calls.last()[2], QString(QUILLET_SAMPLES));
  t.dialogs.answers = {t.Path("elsewhere/a.fob")};
  main.tbMain_ButtonClick(Command::kLoadBase);
  EXPECT_EQ(t.dialogs.open_calls.last()[0], "Select the base file...");
  t.dialogs.answers = {""};
  main.tbMain_ButtonClick(Command::kLoadFile1);  // its own last file lies elsewhere
  EXPECT_EQ(t.dialogs.open_calls.last()[2], t.Path("elsewhere"));
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.save_calls.last()[2], t.Path("elsewhere"));
  // The window's title names the base too.
  EXPECT_EQ(main.windowTitle(), "Quillet - sample.fob (base: a.fob)");
}

}  // namespace
}  // namespace quillet
