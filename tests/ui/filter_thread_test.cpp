// The filter bar over a list long enough that a filter takes a while: what the list shows while
// the user goes on typing.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

#include "gen/generator.h"
#include "list/row_order.h"
#include "shell/frm_main.h"
#include "ui_support.h"
#include "view/list_bars.h"
#include "view/status_panel.h"

namespace quillet {
namespace {

using test::TestProgram;

struct LongList : TestProgram {
  LongList() {
    gen::Options options;
    options.objects = 20000;
    options.seed = 3;
    gen::WriteFile(Path("long.fob").toStdString(),
                   gen::EncodeFile(gen::GenerateObjects(options), options));
    main().LoadAndShowFile(Path("long.fob"), 1);
    main().OpenFilter();
    field = test::Filter(main()).findChild<QLineEdit*>("filterField");
  }
  // A filter of distinct words: every row is asked every one, which takes seconds.
  static QString Pasted(int words = 5000) {
    QString text;
    for (int i = 0; i < words; ++i) text += QString(" -xyzzy%1").arg(i);
    return text;
  }
  bool WaitRunning() {
    QElapsedTimer waited;
    waited.start();
    while (!main().session().background_filter().Running() && waited.elapsed() < 30000) {
      QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return main().session().background_filter().Running();
  }
  int Rows() { return test::ListModel(main())->rowCount(); }
  QString Count() { return test::PanelText(main(), Panel::kCount); }
  // The count panel's text for `shown` rows of those listed (the types shown at first).
  QString CountOf(int shown) {
    return QString("Count: %1 of %2").arg(shown).arg(main().session().list().AllRowCount());
  }
  QLineEdit* field = nullptr;
};

TEST(FilterThread, AKeystrokeDuringALongFilterStopsItAndTheListShowsTheLastTyped) {
  LongList t;
  ASSERT_NE(t.field, nullptr);
  FrmMain& main = t.main();
  t.field->setText("type:table");
  ASSERT_TRUE(test::WaitForFilter(main));
  const int tables = t.Rows();
  ASSERT_GT(tables, 0);
  ASSERT_LT(tables, 20000);
  EXPECT_EQ(t.Count(), t.CountOf(tables));

  // While the pasted filter is found, the list and its count stay those of the last one found.
  t.field->setText(LongList::Pasted());
  ASSERT_TRUE(t.WaitRunning());
  EXPECT_EQ(t.Rows(), tables);
  EXPECT_EQ(t.Count(), t.CountOf(tables));
  EXPECT_EQ(main.session().filter_text(), "type:table");

  // A half-typed word that cannot be read leaves the pasted one running.
  t.field->setText("type:table id:5..x");
  EXPECT_FALSE(test::Filter(main).findChild<QLabel*>("filterError")->text().isEmpty());
  EXPECT_TRUE(main.session().background_filter().Running());

  t.field->setText("type:codeunit");
  ASSERT_TRUE(test::WaitForFilter(main));
  EXPECT_EQ(main.session().background_filter().Stopped(), 1);
  EXPECT_EQ(main.session().filter_text(), "type:codeunit");
  EXPECT_EQ(test::Filter(main).findChild<QLabel*>("filterError")->text(), "");
  const QAbstractItemModel* model = test::ListModel(main);
  ASSERT_GT(t.Rows(), 0);
  for (int row = 0; row < t.Rows(); ++row) {
    ASSERT_EQ(model->data(model->index(row, ColumnIndex(Column::kType))).toString().trimmed(),
              "Codeunit")
        << row;
  }
  EXPECT_EQ(t.Count(), t.CountOf(t.Rows()));
}

// A command that changes the rows while a filter is being found: the filter is found again over
// the new rows, and a sort after keeps what it leaves.
TEST(FilterThread, AFilterFoundWhileTheRowsChangeIsThatOfTheNewRows) {
  LongList t;
  ASSERT_NE(t.field, nullptr);
  FrmMain& main = t.main();
  t.field->setText("type:table");
  ASSERT_TRUE(test::WaitForFilter(main));
  const int tables = t.Rows();

  const QString pasted = LongList::Pasted(2000) + " type:table";
  t.field->setText(pasted);
  ASSERT_TRUE(t.WaitRunning());
  main.tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(main.session().background_filter().Stopped(), 1);
  ASSERT_TRUE(test::WaitForFilter(main));
  EXPECT_EQ(main.session().filter_text(), pasted.toStdString());
  EXPECT_EQ(t.Rows(), tables);
  EXPECT_EQ(t.Count(), t.CountOf(tables));

  main.lvMain_ColumnClick(Column::kName);
  EXPECT_FALSE(main.session().FilterPending());
  ASSERT_EQ(t.Rows(), tables);
  const ObjectList& list = main.session().list();
  const QAbstractItemModel* model = test::ListModel(main);
  for (int row = 0; row < t.Rows(); ++row) {
    ASSERT_EQ(model->data(model->index(row, ColumnIndex(Column::kType))).toString().trimmed(),
              "Table")
        << row;
    if (row > 0) {
      EXPECT_LE(CompareCellTexts(list.CellText(row, Column::kName),
                                 list.CellText(row + 1, Column::kName)),
                0)
          << row;
    }
  }
}

}  // namespace
}  // namespace quillet
