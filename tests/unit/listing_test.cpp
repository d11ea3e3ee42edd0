#include "commands/listing.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quillet {
namespace {

// Puts objects straight into the table, as a load would leave them.
void Put(ObjectTable& table, int file,
         std::initializer_list<std::pair<const char*, const char*>> type_and_id) {
  table.Reserve(file, static_cast<int>(type_and_id.size()));
  int row = 0;
  for (const auto& [type, id] : type_and_id) {
    ++row;
    table.Store(file, row, Field::kType, type);
    table.Store(file, row, Field::kId, id);
    table.Store(file, row, Field::kName, "Name " + std::to_string(row));
    for (Field f : {Field::kModified, Field::kVersion, Field::kDate, Field::kTime, Field::kBlobSize,
                    Field::kCompiled}) {
      table.Store(file, row, f, "");
    }
  }
  table.SetCount(file, row);
}

TEST(RowFilter, TypeSelectionMatchesExactTypeNamesOnly) {
  RowFilter filter;  // a first start: everything but TableData
  EXPECT_FALSE(filter.PassTypeFilter("TableData"));
  EXPECT_TRUE(filter.PassTypeFilter("Table    "));
  filter.types[kTableType] = false;
  EXPECT_FALSE(filter.PassTypeFilter("Table    "));
  EXPECT_FALSE(filter.PassTypeFilter("  Table"));
  EXPECT_TRUE(filter.PassTypeFilter("table    "));  // another letter case is another type
  EXPECT_TRUE(filter.PassTypeFilter("Query"));      // unknown types always show
  EXPECT_TRUE(filter.PassTypeFilter(""));
}

TEST(RowFilter, HidesTenCharacterIdsWhenAsked) {
  RowFilter filter;
  EXPECT_TRUE(filter.PassSystemFilter("2000000001"));
  filter.hide_system = true;
  EXPECT_FALSE(filter.PassSystemFilter("2000000001"));
  EXPECT_TRUE(filter.PassSystemFilter(" 200000000"));
  EXPECT_TRUE(filter.PassSystemFilter("        80"));
  EXPECT_TRUE(filter.PassSystemFilter("          "));
}

class ListingTest : public ::testing::Test {
 protected:
  test::TestWorkspace t_;
};

TEST_F(ListingTest, RowsCarryTheTagAndTheFullWidthTexts) {
  Put(t_.table, 2, {{"Table", "        18"}});
  AddObjectRow(t_.ws, 2, 1);
  ASSERT_EQ(t_.list.RowCount(), 1);
  EXPECT_EQ(t_.list.CellText(1, Column::kFile), "  ");
  EXPECT_EQ(t_.list.Row(1).file, 2);
  EXPECT_EQ(t_.list.CellText(1, Column::kType), "Table    ");
  EXPECT_EQ(t_.list.CellText(1, Column::kId), "        18");
  EXPECT_EQ(t_.list.CellText(1, Column::kName), test::Padded("Name 1", 30));
  EXPECT_EQ(t_.list.CellText(1, Column::kModified), " ");
  EXPECT_EQ(t_.list.CellText(1, Column::kCompiled), " ");
  EXPECT_THROW(t_.list.CellText(2, Column::kFile), std::out_of_range);
}

TEST_F(ListingTest, ShowFileObjectsAppliesTheFilterAndReports) {
  Put(t_.table, 1,
      {{"TableData", "1"}, {"Table", "1"}, {"Table", "2000000001"}, {"Codeunit", "80"}});
  t_.filter.hide_system = true;
  ShowFileObjects(t_.ws, 1);
  ASSERT_EQ(t_.list.RowCount(), 2);
  EXPECT_EQ(t_.list.CellText(1, Column::kType), "Table    ");
  EXPECT_EQ(t_.list.CellText(2, Column::kType), "Codeunit ");
  EXPECT_EQ(t_.list.CellText(1, Column::kFile), " ");
  EXPECT_EQ(t_.status.Now(Panel::kActivity), "Finished");
  EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 1: 4");
  EXPECT_EQ(t_.status.Now(Panel::kCount), "Count: 2");
  ASSERT_GE(t_.status.progress.size(), 2u);
  EXPECT_DOUBLE_EQ(t_.status.progress[t_.status.progress.size() - 2], 100.0);
  EXPECT_DOUBLE_EQ(t_.status.progress.back(), 0.0);
}

TEST_F(ListingTest, NoSelectedTypeAddsNothingButStillCountsRecords) {
  Put(t_.table, 1, {{"Form", "1"}, {"Page", "2"}, {"Report", "3"}});
  t_.filter.types.fill(false);
  t_.status.SetPanelText(Panel::kProgress, "before");
  ShowFileObjects(t_.ws, 1);
  EXPECT_EQ(t_.list.RowCount(), 0);
  EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 1: 3");
  EXPECT_EQ(t_.status.Now(Panel::kCount), "Count: 0");
}

TEST_F(ListingTest, AnEmptyFileLeavesTheProgressTextAlone) {
  t_.status.SetPanelText(Panel::kProgress, "File 1: 7");
  ShowFileObjects(t_.ws, 2);
  EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 1: 7");
  EXPECT_EQ(t_.status.Now(Panel::kActivity), "Finished");
  EXPECT_DOUBLE_EQ(t_.status.progress.back(), 0.0);
}

TEST_F(ListingTest, RefreshListRebuildsFileOneBeforeFileTwo) {
  Put(t_.table, 1, {{"Form", "1"}, {"Form", "2"}});
  Put(t_.table, 2, {{"Page", "3"}});
  ShowFileObjects(t_.ws, 2);
  ShowFileObjects(t_.ws, 1);
  ShowFileObjects(t_.ws, 1);
  ASSERT_EQ(t_.list.RowCount(), 5);
  EXPECT_EQ(t_.list.Row(1).file, 2);

  RefreshList(t_.ws);
  ASSERT_EQ(t_.list.RowCount(), 3);
  EXPECT_EQ(t_.list.Row(1).file, 1);
  EXPECT_EQ(t_.list.Row(2).file, 1);
  EXPECT_EQ(t_.list.Row(3).file, 2);
  EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 2: 1");
  EXPECT_EQ(t_.status.Now(Panel::kCount), "Count: 3");
}

TEST_F(ListingTest, RemovingOneFilesRowsKeepsTheOthersInOrder) {
  Put(t_.table, 1, {{"Form", "1"}, {"Form", "2"}});
  Put(t_.table, 2, {{"Page", "3"}, {"Page", "4"}});
  for (int i : {1, 2}) {
    AddObjectRow(t_.ws, 1, i);
    AddObjectRow(t_.ws, 2, i);
  }
  t_.list.RemoveRowsOfFile(1);
  ASSERT_EQ(t_.list.RowCount(), 2);
  EXPECT_EQ(t_.list.CellText(1, Column::kId), test::Padded("3", 10));
  EXPECT_EQ(t_.list.CellText(2, Column::kId), test::Padded("4", 10));
  t_.list.RemoveRow(1);
  EXPECT_EQ(t_.list.CellText(1, Column::kId), test::Padded("4", 10));
  t_.list.RemoveAll();
  EXPECT_EQ(t_.list.RowCount(), 0);
}

TEST_F(ListingTest, CompareCommandsFollowTheObjectCounts) {
  EXPECT_FALSE(CommandsFor(t_.table).compare);
  EXPECT_FALSE(CommandsFor(t_.table).show_all);
  Put(t_.table, 2, {{"Page", "1"}});
  ShowFileObjects(t_.ws, 2);
  EXPECT_FALSE(CommandsFor(t_.table).compare);
  EXPECT_TRUE(CommandsFor(t_.table).show_all);
  Put(t_.table, 1, {{"Page", "1"}});
  EXPECT_TRUE(CommandsFor(t_.table).compare);
}

TEST_F(ListingTest, AListingIsOneChangeForTheView) {
  struct Counter final : ListObserver {
    void ListAboutToChange() override { ++about; }
    void ListChanged() override { ++changed; }
    int about = 0;
    int changed = 0;
  } counter;
  t_.list.SetObserver(&counter);
  Put(t_.table, 1, {{"Form", "1"}, {"Form", "2"}, {"Form", "3"}});
  Put(t_.table, 2, {{"Page", "1"}});
  ShowFileObjects(t_.ws, 1);
  EXPECT_EQ(counter.about, 1);
  EXPECT_EQ(counter.changed, 1);
  RefreshList(t_.ws);
  EXPECT_EQ(counter.about, 2);
  EXPECT_EQ(counter.changed, 2);
  t_.list.SetObserver(nullptr);
}

}  // namespace
}  // namespace quillet
