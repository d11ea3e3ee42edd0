// The changes view, the upgrade analysis and the filter bar, as a user meets them.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <set>

#include "gen/generator.h"
#include "shell/frm_main.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/frm_use_compare.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/status_panel.h"

namespace quillet {
namespace {

using test::Sample;
using test::Slurp;
using test::TestProgram;

// The samples, as file #1 and file #2.
struct Pair : TestProgram {
  Pair() : TestProgram(Sample("sample.fob")) {
    main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  }
  // Runs a comparison as the user does: the toolbar command, then OK in the criteria dialog.
  void Compare(Command command) {
    main().tbMain_ButtonClick(command);
    program->use_compare_dialog().findChild<QPushButton*>("cmdUseOK")->click();
  }
  QString Cell(int row, Column column) {
    const QAbstractItemModel* model = test::ListModel(main());
    return model->data(model->index(row, ColumnIndex(column))).toString().trimmed();
  }
  int Rows() { return test::ListModel(main())->rowCount(); }
};

TEST(ChangesView, PairsStandTogetherWithTheirStatusAndTheChangedCellsTinted) {
  Pair t;
  EXPECT_TRUE(test::Action(t.main(), Command::kShowChanges)->isEnabled());
  t.Compare(Command::kShowChanges);
  const QAbstractItemModel* model = test::ListModel(t.main());
  ASSERT_EQ(model->columnCount(), 11);
  EXPECT_EQ(model->headerData(10, Qt::Horizontal, Qt::DisplayRole).toString(), "Status");
  ASSERT_GT(t.Rows(), 0);
  int changed_pairs = 0;
  for (int row = 0; row < t.Rows(); ++row) {
    const QString status = t.Cell(row, Column::kStatus);
    ASSERT_TRUE(status == "Changed" || status == "Only in #1" || status == "Only in #2")
        << status.toStdString();
    if (status != "Changed") continue;
    // A changed pair: file #1's row, then file #2's, the same object, a cell tinted in both.
    ASSERT_EQ(t.Cell(row + 1, Column::kStatus), "Changed");
    EXPECT_EQ(t.Cell(row, Column::kId), t.Cell(row + 1, Column::kId));
    EXPECT_EQ(model->data(model->index(row, 0)).toString(), " ");
    EXPECT_EQ(model->data(model->index(row + 1, 0)).toString(), "  ");
    bool tinted = false;
    for (int column = 1; column < 10; ++column) {
      tinted = tinted || model->data(model->index(row, column), Qt::BackgroundRole).isValid();
    }
    EXPECT_TRUE(tinted) << row;
    ++changed_pairs;
    ++row;
  }
  EXPECT_GT(changed_pairs, 0);
  // The counts stay in view, and the toggles choose what is listed.
  EXPECT_TRUE(test::KeyedBar(t.main()).isVisible());
  EXPECT_TRUE(test::KeyedBar(t.main()).CountsText().startsWith("Changed "))
      << test::KeyedBar(t.main()).CountsText().toStdString();
  EXPECT_TRUE(test::KeyedBar(t.main()).CountsText().contains(" \u00b7 Same "));
  const int without_same = t.Rows();
  test::KeyedBar(t.main()).findChild<QToolButton*>("show_same")->click();
  EXPECT_GT(t.Rows(), without_same);
  test::KeyedBar(t.main()).findChild<QToolButton*>("show_changed")->click();
  for (int row = 0; row < t.Rows(); ++row) ASSERT_NE(t.Cell(row, Column::kStatus), "Changed");
}

TEST(ChangesView, SavedItIsTheCommandLinesChangesByteForByte) {
  Pair t;
  t.Compare(Command::kShowChanges);
  t.dialogs.save_answer = t.Path("changes.txt");
  t.main().tbMain_ButtonClick(Command::kSave);
  const QByteArray expected =
      test::CliOutput({"compare", "--changes", Sample("sample.fob"), Sample("sample-changed.fbk")});
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(Slurp(t.Path("changes.txt")), expected);
}

TEST(ChangesView, TypesNarrowItAndSortingKeepsPairsTogether) {
  Pair t;
  t.Compare(Command::kShowChanges);
  const int all = t.Rows();
  t.main().tbMain_ButtonClick(TypeCommand(1));              // Table off
  EXPECT_EQ(test::ListModel(t.main())->columnCount(), 11);  // still the changes
  EXPECT_LT(t.Rows(), all);
  for (int row = 0; row < t.Rows(); ++row) ASSERT_NE(t.Cell(row, Column::kType), "Table");

  t.main().lvMain_ColumnClick(Column::kName);
  for (int row = 0; row + 1 < t.Rows(); ++row) {
    if (t.Cell(row, Column::kStatus) != "Changed") continue;
    ASSERT_EQ(t.Cell(row + 1, Column::kStatus), "Changed");
    ASSERT_EQ(t.Cell(row + 1, Column::kId), t.Cell(row, Column::kId));
    ++row;
  }
  // Show all leaves the view: the plain rows of both files again.
  t.main().tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(test::ListModel(t.main())->columnCount(), 10);
  EXPECT_FALSE(test::KeyedBar(t.main()).isVisible());
}

// A release, a customer's copy of it and a new release, as the generator's changes make them.
struct Triple : TestProgram {
  Triple() {
    gen::Options options;
    options.objects = 300;
    const auto base = gen::GenerateObjects(options);
    auto customer = base, release = base;
    gen::Mutate(customer, 0.15, 21);
    gen::Mutate(release, 0.15, 22);
    gen::Mutate(customer, 0.05, 22);  // some of the release's own changes, made alike
    for (const auto& [name, objects] :
         {std::pair{"base.fob", base}, {"customer.fob", customer}, {"release.fob", release}}) {
      gen::WriteFile(Path(name).toStdString(), gen::EncodeFile(objects, options));
    }
    main().LoadAndShowFile(Path("base.fob"), kBaseFile);
    main().LoadAndShowFile(Path("customer.fob"), 1);
    main().LoadAndShowFile(Path("release.fob"), 2);
  }
};

TEST(UpgradeView, TheBaseJoinsAndEveryTripleHasItsResult) {
  Triple t;
  FrmMain& main = t.main();
  EXPECT_TRUE(test::PanelWidget(main, Panel::kBase)->isVisibleTo(&main));
  EXPECT_EQ(test::PanelText(main, Panel::kBase), t.Path("base.fob"));
  for (int row = 1; row <= main.session().list().RowCount(); ++row) {
    ASSERT_NE(main.session().list().Row(row).file, kBaseFile);  // the base is read, not listed
  }
  ASSERT_TRUE(test::Action(main, Command::kShowUpgrade)->isEnabled());
  main.tbMain_ButtonClick(Command::kShowUpgrade);
  t.program->use_compare_dialog().findChild<QPushButton*>("cmdUseOK")->click();
  const QAbstractItemModel* model = test::ListModel(main);
  ASSERT_EQ(model->columnCount(), 11);
  std::set<QString> results;
  int base_rows = 0;
  for (int row = 0; row < model->rowCount(); ++row) {
    results.insert(model->data(model->index(row, 10)).toString());
  }
  // The list's rows; the view shows a placeholder beside them where a side removed an object.
  for (int row = 1; row <= main.session().list().RowCount(); ++row) {
    base_rows += main.session().list().Row(row).file == kBaseFile;
  }
  EXPECT_GT(base_rows, 0);
  EXPECT_TRUE(results.count("Conflict") + results.count("Only #1 changed") > 0);
  EXPECT_EQ(results.count("Unchanged"), 0u);  // not listed unless asked for
  EXPECT_TRUE(test::KeyedBar(main).CountsText().startsWith("Unchanged "))
      << test::KeyedBar(main).CountsText().toStdString();

  // Saved, it is what the command line writes.
  t.dialogs.save_answer = t.Path("upgrade.txt");
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(Slurp(t.Path("upgrade.txt")),
            test::CliOutput({"compare", "--base=" + t.Path("base.fob"), t.Path("customer.fob"),
                             t.Path("release.fob")}));
}

TEST(FilterBar, TypingFiltersTheListAndTheCount) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.OpenFilter();
  auto* field = test::Filter(main).findChild<QLineEdit*>("filterField");
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(test::Filter(main).isVisibleTo(&main));
  test::TypeInto(field, "type:codeunit");
  ASSERT_TRUE(test::WaitForFilter(main));
  const QAbstractItemModel* model = test::ListModel(main);
  ASSERT_GT(model->rowCount(), 0);
  EXPECT_LT(model->rowCount(), 53);
  for (int row = 0; row < model->rowCount(); ++row) {
    ASSERT_EQ(model->data(model->index(row, 1)).toString().trimmed(), "Codeunit");
  }
  EXPECT_EQ(test::PanelText(main, Panel::kCount),
            QString("Count: %1 of 53").arg(model->rowCount()));

  // A word that cannot be read says why; the last good filter stays.
  const int codeunits = model->rowCount();
  test::TypeInto(field, " id:12..ab");
  ASSERT_TRUE(test::WaitForFilter(main));
  EXPECT_EQ(model->rowCount(), codeunits);
  EXPECT_EQ(test::Filter(main).findChild<QLabel*>("filterError")->text(),
            "id:12..ab: \"ab\" is not a whole number");

  // A new listing keeps the filter in force; saving takes what it leaves.
  main.tbMain_ButtonClick(Command::kShowAll);
  EXPECT_EQ(model->rowCount(), codeunits);
  t.dialogs.save_answer = t.Path("codeunits.txt");
  main.tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(Slurp(t.Path("codeunits.txt")).count('\n'), codeunits);

  // Esc clears it and gives the list the focus again.
  test::PressKey(field, Qt::Key_Escape);
  EXPECT_FALSE(test::Filter(main).isVisibleTo(&main));
  EXPECT_EQ(model->rowCount(), 53);
  EXPECT_EQ(test::PanelText(main, Panel::kCount), "Count: 53");
}

}  // namespace
}  // namespace quillet
