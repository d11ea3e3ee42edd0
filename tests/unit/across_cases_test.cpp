#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "across_test_support.h"
#include "list/across.h"
#include "list/across_files.h"
#include "list/across_variants.h"
#include "objects/byte_source.h"
#include "support/temp_dir.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::CollectAcross;
using test::FromBits;
using test::Obj;

Obj Make(std::string type, std::string id, std::string name = "Posting") {
  Obj o;
  o.type = std::move(type);
  o.id = std::move(id);
  o.name = std::move(name);
  return o;
}

// The rows listed, each as "Type:ID#instance" and its cells: "Form:7#0 A,,B".
std::vector<std::string> Rows(const std::vector<std::vector<Obj>>& files,
                              AcrossStatuses listed = kAllAcrossStatuses,
                              const CompareCriteria& criteria = {}, RowFilter filter = {},
                              AcrossResult* result = nullptr) {
  ObjectTable table;
  const std::vector<int> areas = test::StoreFiles(table, files, 1);
  const AcrossComparison comparison(table, areas, criteria);
  CollectAcross seen;
  NullStatusSink status;
  const AcrossResult run = comparison.List({filter, listed, nullptr}, status, seen);
  if (result != nullptr) *result = run;
  std::vector<std::string> rows;
  for (const test::RefAcrossRow& row : seen.rows) {
    std::string text = row.type + ":" + row.id + "#" + std::to_string(row.instance) + " ";
    for (std::size_t f = 0; f < row.letters.size(); ++f) text += (f ? "," : "") + row.letters[f];
    rows.push_back(text);
  }
  return rows;
}

TEST(VariantLetters, CountOnPastZ) {
  const std::pair<int, std::string> cases[] = {
      {0, "A"},   {1, "B"},    {25, "Z"},    {26, "AA"},     {27, "AB"},     {51, "AZ"},
      {52, "BA"}, {701, "ZZ"}, {702, "AAA"}, {18277, "ZZZ"}, {18278, "AAAA"}};
  for (const auto& [variant, letters] : cases) EXPECT_EQ(VariantLetters(variant), letters);
  std::string expected = "A";
  for (int v = 0; v < 20000; ++v, expected = test::RefNextLetters(expected)) {
    ASSERT_EQ(VariantLetters(v), expected);
  }
}

TEST(Across, LettersGoByTheFirstFileThatHasTheObject) {
  const Obj x = Make("Form", "7", "X"), y = Make("Form", "7", "Y"), z = Make("Form", "7", "Z");
  struct Case {
    const char* what;
    std::vector<std::vector<Obj>> files;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"each new variant the next letter", {{x}, {y}, {x}, {z}, {y}}, {"Form:7#0 A,B,A,C,B"}},
      {"A is the first file's that has one", {{}, {}, {y}, {x}, {y}}, {"Form:7#0 ,,A,B,A"}},
      {"all alike", {{x}, {x}, {x}}, {"Form:7#0 A,A,A"}},
      {"a repeated key lines up by its place in each file",
       {{x, Make("Form", "   7", "Q")}, {Make("Form", "7         ", "X")}, {y, x, z}},
       {"Form:7#0 A,A,B", "Form:7#1 A,,B", "Form:7#2 ,,A"}},
      {"keys in the order of the changes view",
       {{Make("Codeunit", "10"), Make("Table", "9"), Make("Query", "1")},
        {Make("Codeunit", "007"), Make("Codeunit", "7")}},
       {"Table:9#0 A,", "Codeunit:007#0 ,A", "Codeunit:7#0 ,A", "Codeunit:10#0 A,",
        "Query:1#0 A,"}},
      {"letter case and blanks inside the key count",
       {{Make("Table", "18")}, {Make("table", "18")}, {Make("Table", "1 8")}},
       {"Table:18#0 A,,", "Table:1 8#0 ,,A", "table:18#0 ,A,"}},
      {"no files have objects", {{}, {}, {}}, {}},
      {"one file empty", {{x, Make("Page", "1")}, {}}, {"Form:7#0 A,", "Page:1#0 A,"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Rows(c.files), c.rows) << c.what;
}

TEST(Across, OnlyTheCountedFieldsMakeAVariant) {
  Obj renamed = Make("Page", "21", "POSTING"), modified = Make("Page", "21"),
      dated = Make("Page", "21");
  modified.modified = "Y";  // never filled in by the reader, so never a difference
  dated.date = "2009-01-01";
  const std::vector<std::vector<Obj>> files = {
      {Make("Page", "21")}, {renamed}, {modified}, {dated}};
  EXPECT_EQ(Rows(files), (std::vector<std::string>{"Page:21#0 A,B,A,C"}));
  EXPECT_EQ(Rows(files, kAllAcrossStatuses, FromBits(1 | 4 | 8)),
            (std::vector<std::string>{"Page:21#0 A,A,A,B"}));
  EXPECT_EQ(Rows(files, kAllAcrossStatuses, FromBits(1 | 2)),
            (std::vector<std::string>{"Page:21#0 A,B,A,A"}));
  AcrossResult result;
  EXPECT_EQ(Rows(files, kDefaultAcrossStatuses, FromBits(0), {}, &result),
            (std::vector<std::string>{}));
  EXPECT_FALSE(result.differs);
  EXPECT_EQ(result.rows_by_status[AcrossStatus::kSame], 1);
}

TEST(Across, PastTwentySixVariantsTheLettersGoOn) {
  // Thirty files, the first 28 each of its own name, the last two as files 3 and 27: past the
  // few variants looked at one by one, equal objects must still find each other.
  std::vector<std::vector<Obj>> files;
  for (int f = 0; f < 30; ++f) {
    const int name = f < 28 ? f : f == 28 ? 3 : 27;
    files.push_back({Make("Report", "5", "Name " + std::to_string(name))});
  }
  std::string expected = "Report:5#0 ";
  std::string letters = "A";
  for (int f = 0; f < 28; ++f, letters = test::RefNextLetters(letters)) expected += letters + ",";
  expected += "D,AB";
  AcrossResult result;
  EXPECT_EQ(Rows(files, kAllAcrossStatuses, {}, {}, &result), (std::vector<std::string>{expected}));
  EXPECT_EQ(result.summary.Differs(3, 28), 0);
  EXPECT_EQ(result.summary.Differs(27, 29), 0);
  EXPECT_EQ(result.summary.Differs(0, 29), 1);
}

TEST(Across, TypesAndSystemObjectsDecideRowsAndTheExitFlag) {
  const std::vector<std::vector<Obj>> files = {
      {Make("Table", "3"), Make("Table", "2000000004"), Make("Query", "1"), Make("TableData", "3")},
      {Make("Table", "3"), Make("Table", "2000000004", "New"), Make("Query", "1")}};
  RowFilter filter;  // TableData is not shown unless asked for
  AcrossResult result;
  EXPECT_EQ(Rows(files, kAllAcrossStatuses, {}, filter, &result),
            (std::vector<std::string>{"Table:3#0 A,A", "Table:2000000004#0 A,B", "Query:1#0 A,A"}));
  EXPECT_TRUE(result.differs);
  filter.hide_system = true;
  EXPECT_EQ(Rows(files, kDefaultAcrossStatuses, {}, filter, &result), (std::vector<std::string>{}));
  EXPECT_FALSE(result.differs);
  EXPECT_EQ(result.summary.Objects(0), 2);
  filter.types.fill(false);  // a type outside the nine still passes
  EXPECT_EQ(Rows(files, kAllAcrossStatuses, {}, filter),
            (std::vector<std::string>{"Query:1#0 A,A"}));
  filter.types.fill(true);
  EXPECT_EQ(Rows(files, kDefaultAcrossStatuses, {}, filter, &result),
            (std::vector<std::string>{"TableData:3#0 A,"}));
  EXPECT_EQ(result.summary.OnlyHere(0), 1);
  EXPECT_EQ(result.summary.OnlyHere(1), 0);
}

TEST(ObjectTable, MakesAreasForAsManyFilesAsAreStored) {
  ObjectTable table;
  EXPECT_EQ(table.Areas(), kFileCount);
  table.Reserve(1, 1);
  table.Store(1, 1, Field::kName, "first");
  const std::string_view kept = table.Read(1, 1, Field::kName);
  table.Reserve(40, 2);
  EXPECT_EQ(table.Areas(), 41);
  EXPECT_EQ(table.Count(17), 0);  // those between are made, empty
  EXPECT_EQ(table.Rows(17), 0);
  EXPECT_EQ(kept.data(), table.Read(1, 1, Field::kName).data());  // nothing moved
  table.SetCount(40, 2);
  EXPECT_EQ(table.Count(40), 2);
  EXPECT_EQ(table.Record(40, 2), std::string(kRecordWidth, ' '));
  table.SetCount(50, 5);  // a count makes its area too, with no room: no objects
  EXPECT_EQ(table.Count(50), 0);
  EXPECT_THROW(table.Count(51), std::out_of_range);
  EXPECT_THROW(table.Read(51, 1, Field::kType), std::out_of_range);
  EXPECT_THROW(table.Reserve(-1, 1), std::out_of_range);
}

TEST(AcrossFiles, ReadsEachFileIntoItsOwnArea) {
  test::TempDir dir;
  gen::Options options;
  options.objects = 300;
  options.repeated_tables = 4;
  auto objects = gen::GenerateObjects(options);
  const std::string bytes = gen::EncodeFile(objects, options);
  gen::Mutate(objects, 0.2, 3);
  const std::string changed = gen::EncodeFile(objects, options);
  const std::vector<std::string> names = {dir.Write("a.fob", bytes), dir.Write("b.fbk", bytes),
                                          dir.Write("c.fob", changed),
                                          dir.Write("cut.fob", changed.substr(0, 2000) + "\x1A"),
                                          dir.Write("none.txt", "no objects here")};

  AcrossFiles files;
  test::StatusRecorder status;
  for (const std::string& name : names) {
    const Result<LoadResult> loaded = files.Add(name, status);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
  }
  EXPECT_EQ(files.FileCount(), 5);
  EXPECT_EQ(files.Areas(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(files.Name(2), names[2]);

  // Read as the reader reads them, the backup's repeated tables dropped.
  for (int position = 0; position < 3; ++position) {
    ObjectTable alone;
    MemorySource source(position < 2 ? bytes : changed);
    ReadObjectDirectory(alone, source, 1, position == 1, status);
    ASSERT_EQ(files.table().Count(position + 1), alone.Count(1)) << position;
    for (int i = 1; i <= alone.Count(1); ++i) {
      ASSERT_EQ(files.table().Record(position + 1, i), alone.Record(1, i));
    }
  }
  EXPECT_LT(files.table().Count(2), files.table().Count(1));
  EXPECT_GT(files.table().Count(4), 0);
  EXPECT_EQ(files.table().Count(5), 0);

  const AcrossComparison comparison = files.Compare({});
  EXPECT_EQ(comparison.FileCount(), 5);
  CollectAcross seen;
  RowFilter every;
  every.types.fill(true);
  const AcrossResult result = comparison.List({every, kAllAcrossStatuses, nullptr}, status, seen);
  EXPECT_EQ(result.summary.Differs(0, 1), 4);  // the repeated tables
  EXPECT_EQ(result.summary.Objects(4), 0);
}

TEST(AcrossFiles, AFileThatCannotBeReadSaysWhyAndHoldsNoObjects) {
  test::TempDir dir;
  AcrossFiles files;
  NullStatusSink status;
  const Result<LoadResult> missing = files.Add(dir / "gone.fob", status);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "no such file");
  const Result<LoadResult> folder = files.Add(dir.path(), status);
  ASSERT_FALSE(folder.ok());
  EXPECT_EQ(folder.error(), "it is a folder");
  EXPECT_EQ(files.FileCount(), 2);
  EXPECT_EQ(files.table().Count(1), 0);
  EXPECT_EQ(files.table().Count(2), 0);

  const std::string line =
      test::LineA("Table", "18", "Customer", "01.01.09", "12:00:00", "1", "V1");
  const Result<LoadResult> short_file =
      files.Add(dir.Write("cut.fob", line + line.substr(0, 120) + "\x1A"), status);
  ASSERT_TRUE(short_file.ok());
  EXPECT_TRUE(short_file->cut_short);
  EXPECT_EQ(files.table().Count(3), 1);
}

}  // namespace
}  // namespace quillet
