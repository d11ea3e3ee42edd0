#include "objects/object_table.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ObjectTable, FieldsReadBackAtFullWidth) {
  ObjectTable table;
  table.Reserve(1, 3);
  table.Store(1, 1, Field::kType, "Table");
  table.Store(1, 1, Field::kName, "Customer");
  table.Store(1, 1, Field::kModified, "");
  table.Store(1, 1, Field::kId, "         3");

  EXPECT_EQ(table.Read(1, 1, Field::kType), "Table    ");
  EXPECT_EQ(table.Read(1, 1, Field::kName), "Customer" + std::string(22, ' '));
  EXPECT_EQ(table.Read(1, 1, Field::kModified), " ");
  EXPECT_EQ(table.Read(1, 1, Field::kId), "         3");
}

TEST(ObjectTable, LongValuesKeepTheirFirstCharacters) {
  ObjectTable table;
  table.Reserve(2, 1);
  table.Store(2, 1, Field::kName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
  table.Store(2, 1, Field::kId, "2000000001");
  EXPECT_EQ(table.Read(2, 1, Field::kName), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
  EXPECT_EQ(table.Read(2, 1, Field::kId), "2000000001");
  // The neighbouring fields are untouched by an overlong value.
  EXPECT_EQ(table.Read(2, 1, Field::kModified), " ");
  EXPECT_EQ(table.Read(2, 1, Field::kType), "         ");
}

TEST(ObjectTable, StartsBlankAndKeepsTheAreasApart) {
  ObjectTable table;
  EXPECT_EQ(table.Count(1), 0);
  EXPECT_EQ(table.Count(2), 0);
  EXPECT_EQ(table.Count(kBaseFile), 0);
  EXPECT_EQ(table.Rows(1), 0);  // nothing is allocated before a file needs it
  table.Reserve(1, 2);
  table.Reserve(2, 2);
  EXPECT_EQ(table.Record(2, 2), std::string(kRecordWidth, ' '));

  table.Store(1, 2, Field::kVersion, "V1");
  table.SetCount(1, 2);
  EXPECT_EQ(table.Read(2, 2, Field::kVersion), std::string(60, ' '));
  EXPECT_EQ(table.Count(2), 0);
  EXPECT_EQ(table.Read(1, 2, Field::kVersion).substr(0, 3), "V1 ");
}

TEST(ObjectTable, RefusesRecordsOutsideItsAreas) {
  ObjectTable table(2);
  table.Reserve(1, 99);  // never more than the capacity
  EXPECT_EQ(table.Rows(1), 2);
  EXPECT_THROW(table.Read(1, 0, Field::kType), std::out_of_range);
  EXPECT_THROW(table.Read(1, 3, Field::kType), std::out_of_range);
  EXPECT_THROW(table.Read(2, 1, Field::kType), std::out_of_range);  // no room made there
  EXPECT_THROW(table.Store(3, 1, Field::kType, "x"), std::out_of_range);
  EXPECT_THROW(table.Count(-1), std::out_of_range);
  EXPECT_THROW(table.Count(3), std::out_of_range);
  table.SetCount(1, 99);  // never more than there is room for
  EXPECT_EQ(table.Count(1), 2);
}

TEST(ObjectTable, GrowingAnAreaKeepsItsRecords) {
  ObjectTable table;
  table.Reserve(1, 1);
  table.Store(1, 1, Field::kName, "kept");
  table.Reserve(1, 1000);
  EXPECT_EQ(table.Read(1, 1, Field::kName).substr(0, 5), "kept ");
  EXPECT_EQ(table.Record(1, 1000), std::string(kRecordWidth, ' '));
  table.Store(1, 1000, Field::kId, "1000");
  table.Reserve(1, 250000);  // large areas come from elsewhere: the records move with them
  EXPECT_EQ(table.Read(1, 1, Field::kName).substr(0, 5), "kept ");
  EXPECT_EQ(table.Read(1, 1000, Field::kId).substr(0, 5), "1000 ");
  EXPECT_EQ(table.Record(1, 250000), std::string(kRecordWidth, ' '));
  table.Reserve(1, 10);  // an area never shrinks
  EXPECT_EQ(table.Rows(1), 250000);
}

static_assert(kRecordWidth == 142);

TEST(ObjectTable, RecordIsTheNineFieldsInColumnOrder) {
  ObjectTable table;
  table.Reserve(1, 1);
  table.Store(1, 1, Field::kType, "Page");
  table.Store(1, 1, Field::kCompiled, "");
  const std::string_view record = table.Record(1, 1);
  EXPECT_EQ(record.substr(0, 9), "Page     ");
  EXPECT_EQ(record.substr(FieldOffset(Field::kBlobSize), 10), std::string(10, ' '));
}

}  // namespace
}  // namespace quillet
