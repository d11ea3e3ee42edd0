// The comparison across many files in the window: the matrix and its counts, its toggles,
// types, filter and sort, the details of a row, and two of its files handed to the changes view.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <set>

#include "across_support.h"
#include "view/across_details.h"
#include "view/across_palette.h"

namespace quillet {
namespace {

using test::Across;
using test::kRenamed;
using test::TestProgram;

TEST(AcrossWindow, ManyFilesCommandShowsAColumnPerFileAndLettersOnTheirColours) {
  Across t;
  QAction* command = test::Action(t.main(), Command::kCompareAcross);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->shortcut(), QKeySequence("Ctrl+M"));
  EXPECT_TRUE(command->isEnabled());
  t.Open();
  EXPECT_EQ(t.dialogs.open_calls.back().front(), "Select the files to compare...");
  ASSERT_TRUE(t.main().session().AcrossShown());
  EXPECT_TRUE(t.Pane().isVisible());
  EXPECT_FALSE(test::ListWidget(t.main())->isVisible());

  ASSERT_EQ(t.Model().columnCount(), 8);
  const QStringList heads = {"Type", "ID", "Name", "Variants"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              heads[column]);
  }
  for (int file = 0; file < 4; ++file) {
    const int column = kAcrossFirstFileColumn + file;
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString("site%1.fob").arg(file + 1));
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(),
              t.names[file]);
  }

  // Only the rows that differ are listed at first: the three changed objects.
  ASSERT_EQ(t.Rows(), 3);
  const struct {
    const gen::Object& object;
    QStringList letters;
    int variants;
  } rows[] = {
      {t.renamed, {"A", "A", "B", "A"}, 2},
      {t.missing, {"A", "A", "A", ""}, 1},
      {t.versioned, {"A", "B", "A", "A"}, 2},
  };
  for (const auto& expected : rows) {
    const int row = t.RowOf(expected.object);
    ASSERT_GE(row, 0) << expected.object.id;
    EXPECT_EQ(t.Letters(row), expected.letters) << expected.object.id;
    EXPECT_EQ(t.Cell(row, kAcrossVariantsColumn).toInt(), expected.variants);
    // The name is the lowest-numbered file's.
    EXPECT_NE(t.Cell(row, kAcrossNameColumn), kRenamed);
    for (int file = 0; file < 4; ++file) {
      const QModelIndex cell = t.Model().index(row, kAcrossFirstFileColumn + file);
      const int variant = cell.data(AcrossMatrixModel::kVariantRole).toInt();
      const QColor colour = cell.data(Qt::BackgroundRole).value<QBrush>().color();
      EXPECT_EQ(colour, variant < 0 ? NoObjectColour() : PaintOf(variant).background);
    }
  }
  // A and B read apart in grey as well as in colour.
  EXPECT_GT(qAbs(qGray(PaintOf(0).background.rgb()) - qGray(PaintOf(1).background.rgb())), 16);

  // The status bar counts both kinds of row, whichever are listed.
  const QString counts = test::PanelText(t.main(), Panel::kFile2);
  EXPECT_EQ(counts, QString("Differs 3 \u00b7 Same %1").arg(t.listed - 3)) << counts.toStdString();
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount), "Count: 3");
}

TEST(AcrossWindow, ChoosingFilesWantsTwoOrMore) {
  Across t;
  t.Open({t.names[0]});
  EXPECT_EQ(t.dialogs.messages, QStringList{"Choose two files or more to compare."});
  EXPECT_EQ(t.main().session().across(), nullptr);
  t.Open({});  // cancelled
  EXPECT_EQ(t.main().session().across(), nullptr);
  EXPECT_EQ(t.dialogs.messages.size(), 1);
}

// The toggles, the type buttons, hide-system and the filter bar choose the matrix's rows; the
// counts follow the types and not the filter.
TEST(AcrossWindow, TogglesTypesHideSystemAndFilterChooseTheRows) {
  Across t;
  t.Open();
  const long long same = t.Matrix().StatusCount(AcrossStatus::kSame);
  t.Pane().findChild<QToolButton*>("show_same")->click();
  EXPECT_EQ(t.Rows(), 3 + same);
  t.Pane().findChild<QToolButton*>("show_differs")->click();
  EXPECT_EQ(t.Rows(), same);
  EXPECT_EQ(t.RowOf(t.renamed), -1);
  t.Pane().findChild<QToolButton*>("show_differs")->click();

  // A type button narrows it and widens it again.
  const int type = TypeIndex(t.renamed.type);
  ASSERT_GE(type, 0);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  EXPECT_EQ(t.RowOf(t.renamed), -1);
  EXPECT_LT(t.Matrix().StatusCount(AcrossStatus::kDiffers), 3);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  EXPECT_GE(t.RowOf(t.renamed), 0);

  t.main().session().SetHideSystem(true);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  t.main().tbMain_ButtonClick(TypeCommand(type));
  for (int row = 0; row < t.Rows(); ++row) {
    EXPECT_LT(t.Cell(row, kAcrossIdColumn).size(), 10) << row;
  }
  EXPECT_EQ(t.Rows(), t.listed_without_system);

  // A row stays when any file's object matches: only #3 has the new name.
  t.main().SetFilterText("name:\"renamed only here\"");
  ASSERT_EQ(t.Rows(), 1);
  EXPECT_EQ(t.Letters(0), QStringList({"A", "A", "B", "A"}));
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount).left(12), "Count: 1 of ");
  t.main().SetFilterText("");
  EXPECT_EQ(t.Rows(), t.listed_without_system);
}

TEST(AcrossWindow, SortingKeepsTheRowsOfAKeyTogether) {
  Across t;
  t.Open();
  t.Pane().findChild<QToolButton*>("show_same")->click();
  // The repeated tables' keys have two rows each.
  QHeaderView& header = *t.Pane().matrix().header();
  for (const int column : {kAcrossNameColumn, kAcrossFirstFileColumn + 2, kAcrossVariantsColumn}) {
    for (const bool ascending : {true, false}) {
      header.sectionClicked(column);
      ASSERT_EQ(t.Matrix().sort_column(), column);
      EXPECT_EQ(t.Matrix().sort_ascending(), ascending);
      EXPECT_EQ(header.sortIndicatorSection(), column);
      std::set<QString> done;
      QString key;
      int instance = 0;
      int repeated = 0;
      for (int row = 0; row < t.Rows(); ++row) {
        const QString here = t.Cell(row, 0) + " " + t.Cell(row, 1);
        if (here == key) {
          EXPECT_EQ(t.Matrix().Row(row).instance, ++instance) << here.toStdString();
          ++repeated;
          continue;
        }
        EXPECT_TRUE(done.insert(here).second) << "apart: " << here.toStdString();
        key = here;
        instance = 0;
        EXPECT_EQ(t.Matrix().Row(row).instance, 0);
      }
      EXPECT_GT(repeated, 0);
    }
  }
}

// Under the matrix: a line per file, the fields that differ from variant A marked.
TEST(AcrossDetails, ShowTheRowInEveryFileWithWhatDiffersFromAMarked) {
  Across t;
  t.Open();
  AcrossDetailsModel& details = t.Pane().details().details();
  EXPECT_EQ(details.rowCount(), 0);
  EXPECT_TRUE(t.Pane().details().isVisible());
  const auto text = [&](int file, int column) {
    return details.data(details.index(file, column)).toString();
  };
  const auto bold = [&](int file, int column) {
    return details.data(details.index(file, column), Qt::FontRole).value<QFont>().bold();
  };
  constexpr int kName = AcrossDetailsModel::kVariantColumn + 1;
  constexpr int kVersion = kName + 1;

  t.Choose(t.RowOf(t.renamed), {0});
  ASSERT_EQ(details.rowCount(), 4);
  for (int file = 0; file < 4; ++file) {
    EXPECT_EQ(text(file, AcrossDetailsModel::kFileColumn), QString("site%1.fob").arg(file + 1));
    EXPECT_EQ(text(file, AcrossDetailsModel::kVariantColumn), file == 2 ? "B" : "A");
    EXPECT_EQ(text(file, kName) == kRenamed, file == 2) << file;
    EXPECT_EQ(bold(file, kName), file == 2) << file;
    EXPECT_FALSE(bold(file, kVersion)) << file;
  }
  EXPECT_EQ(details.Marked(2), FieldBit(Field::kName));
  EXPECT_EQ(details.Marked(0), 0u);

  t.Choose(t.RowOf(t.versioned), {3});
  EXPECT_EQ(text(1, kVersion), "A NEW VERSION");
  EXPECT_TRUE(bold(1, kVersion));
  EXPECT_FALSE(bold(1, kName));

  // A file without the object: a grey letter cell and nothing else.
  t.Choose(t.RowOf(t.missing), {1});
  EXPECT_EQ(text(3, AcrossDetailsModel::kVariantColumn), "");
  EXPECT_EQ(details.data(details.index(3, AcrossDetailsModel::kVariantColumn),
                         AcrossMatrixModel::kVariantRole),
            -1);
  EXPECT_EQ(text(3, kName), "");
  EXPECT_EQ(text(3, AcrossDetailsModel::kFileColumn), "site4.fob");

  // A new listing lets go of the row: its cells pointed into the rows listed before.
  t.Pane().findChild<QToolButton*>("show_same")->click();
  EXPECT_EQ(details.rowCount(), 0);
}

TEST(AcrossWindow, ShowChangesBetweenTwoChosenFiles) {
  Across t;
  t.Open();
  QPushButton* offer = t.Pane().findChild<QPushButton*>("showChangesBetween");
  ASSERT_NE(offer, nullptr);
  EXPECT_FALSE(offer->isEnabled());
  const int row = t.RowOf(t.renamed);
  t.Choose(row, {1});
  EXPECT_FALSE(offer->isEnabled());
  t.Choose(row, {0, 1, 3});
  EXPECT_FALSE(offer->isEnabled());
  EXPECT_TRUE(t.Pane().RowMenu()->actions().contains(t.Pane().show_changes_action()));
  EXPECT_FALSE(t.Pane().show_changes_action()->isEnabled());
  // Chosen from the right to the left: the left file is #1.
  t.Choose(row, {2});
  t.Pane().matrix().selectionModel()->select(t.Model().index(0, kAcrossFirstFileColumn + 1),
                                             QItemSelectionModel::Select);
  ASSERT_TRUE(offer->isEnabled());
  EXPECT_TRUE(t.Pane().show_changes_action()->isEnabled());
  offer->click();

  EXPECT_FALSE(t.main().session().AcrossShown());
  EXPECT_TRUE(test::ListWidget(t.main())->isVisible());
  EXPECT_FALSE(t.Pane().isVisible());
  EXPECT_EQ(t.main().session().list().view(), ListView::kChanges);
  EXPECT_EQ(t.main().session().Slot(1).name, ToPath(t.names[1]));
  EXPECT_EQ(t.main().session().Slot(2).name, ToPath(t.names[2]));
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), t.names[1]);

  // The same as loading the two and running Show changes on the same criteria.
  TestProgram direct(t.names[1]);
  direct.main().LoadAndShowFile(t.names[2], 2);
  direct.main().ShowComparison(CompareMode::kChanges, t.main().session().criteria());
  const ObjectList& list = t.main().session().list();
  const ObjectList& expected = direct.main().session().list();
  ASSERT_EQ(list.RowCount(), expected.RowCount());
  ASSERT_GT(list.RowCount(), 0);
  for (int r = 1; r <= list.RowCount(); ++r) {
    for (const Column column : {Column::kId, Column::kName, Column::kStatus}) {
      EXPECT_EQ(list.CellText(r, column), expected.CellText(r, column)) << r;
    }
  }

  // The matrix is kept: the way back shows it again.
  QPushButton* back = t.main().findChild<QPushButton*>("acrossBack");
  ASSERT_TRUE(back->isVisible());
  back->click();
  EXPECT_TRUE(t.main().session().AcrossShown());
  EXPECT_EQ(t.Rows(), 3);
}

}  // namespace
}  // namespace quillet
