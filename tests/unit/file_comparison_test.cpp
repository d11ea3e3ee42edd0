#include "list/file_comparison.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "commands/compare.h"
#include "compare_fixtures.h"
#include "gen/generator.h"
#include "pairwise_reference.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::FromBits;
using test::Obj;
using test::RowRefs;
using test::StatusRecorder;

class Collect final : public ComparisonVisitor {
 public:
  bool Row(int file, int index) override {
    rows.emplace_back(file, index);
    return true;
  }
  RowRefs rows;
};

::testing::AssertionResult ListHolds(const ObjectList& list, const ObjectTable& table,
                                     const RowRefs& refs) {
  if (list.RowCount() != static_cast<int>(refs.size())) {
    return ::testing::AssertionFailure() << list.RowCount() << " rows, not " << refs.size();
  }
  for (int r = 1; r <= list.RowCount(); ++r) {
    const auto [file, index] = refs[r - 1];
    const ObjectRow& row = list.Row(r);
    if (row.file != file || list.ViewOf(row).record.data() != table.Record(file, index).data()) {
      return ::testing::AssertionFailure() << "row " << r << " is not " << file << ":" << index;
    }
  }
  return ::testing::AssertionSuccess();
}

// Both comparisons through the engine and through the list must give the reference's rows,
// status texts and progress values.
void ExpectAsReference(ObjectTable& table, const CompareCriteria& criteria, const RowFilter& filter,
                       const std::string& where) {
  for (const bool equal : {true, false}) {
    SCOPED_TRACE(where + (equal ? " equal" : " different"));
    StatusRecorder expected_status, status;
    const RowRefs expected =
        equal ? test::PairwiseEqual(table, criteria, filter, expected_status)
              : test::PairwiseDifferent(table, criteria, filter, expected_status);
    Collect seen;
    if (equal) {
      ListEqualObjects(table, criteria, filter, status, seen);
    } else {
      ListDifferentObjects(table, criteria, filter, status, seen);
    }
    EXPECT_EQ(seen.rows, expected);

    ObjectList list(table);
    RowFilter list_filter = filter;
    test::RecordingMessages messages;
    Workspace ws{table, list, list_filter, status, messages};
    status = {};
    list.Append(ObjectRow{});  // what was shown before goes
    if (equal) {
      CompareEqual(ws, criteria);
    } else {
      CompareDifferent(ws, criteria);
    }
    EXPECT_TRUE(ListHolds(list, table, expected));
    EXPECT_TRUE(status == expected_status);
    EXPECT_TRUE(messages.texts.empty());
  }
}

// A generated file and a changed copy, with fields drawn from small sets of awkward values
// (blank and shifted IDs, unknown types, letter case) so that with few boxes ticked records
// match several others, records repeated within a file, and counts arranged by seed.
void StoreScenario(ObjectTable& table, std::uint32_t seed) {
  std::mt19937 rng(seed);
  gen::Options options;
  options.objects = 4 + static_cast<int>(seed % 37);
  options.seed = seed;
  options.repeated_tables = static_cast<int>(seed % 4);
  options.system_share = 0.15;
  const auto generated = gen::GenerateObjects(options);
  auto changed = generated;
  gen::Mutate(changed, 0.3, seed * 7 + 1);

  const std::vector<std::vector<std::string>> pools = {{"Table", "table", "Query", "TableData"},
                                                       {"", "        80", "80", "2000000001"},
                                                       {"Posting", "posting"},
                                                       {"", "Y"},
                                                       {"", "V1"},
                                                       {"2008-12-31", ""},
                                                       {"12:00:00", ""},
                                                       {"      1234", "1234"},
                                                       {"", "Y"}};
  std::vector<Obj> files[2];
  for (int f = 0; f < 2; ++f) {
    for (const gen::Object& g : f == 0 ? generated : changed) {
      Obj o{
          std::string(TrimBlanks(g.type)), g.id, g.name, "", g.version, g.date, g.time, g.size, ""};
      std::string* texts[] = {&o.type, &o.id,   &o.name, &o.modified, &o.version,
                              &o.date, &o.time, &o.size, &o.compiled};
      for (int t = 0; t < kFieldCount; ++t) {
        if (rng() % 3 == 0) *texts[t] = pools[t][rng() % pools[t].size()];
      }
      files[f].push_back(o);
    }
  }
  auto& [one, two] = files;
  for (std::size_t copies = one.size() / 5; copies > 0; --copies) {
    auto& into = copies % 2 ? one : two;
    const Obj copy = one[rng() % one.size()];
    into.insert(into.begin() + static_cast<long>(rng() % (into.size() + 1)), copy);
  }
  if (seed % 8 == 0) one.clear();
  if (seed % 8 == 1) two.clear();
  if (seed % 8 == 2) two.resize(one.size());  // equal counts: file #2 is the outer file
  test::StoreFile(table, 1, one);
  test::StoreFile(table, 2, two);
}

TEST(ComparisonAgainstReference, EveryCombinationOfBoxes) {
  ObjectTable table(200);
  std::mt19937 rng(4);
  for (std::uint32_t seed = 1; seed <= 40 && !::testing::Test::HasFailure(); ++seed) {
    StoreScenario(table, seed);
    for (int bits = 0; bits < 64 && !::testing::Test::HasFailure(); ++bits) {
      const RowFilter filter = test::RandomFilter(rng);
      ExpectAsReference(table, FromBits(bits), filter,
                        "seed " + std::to_string(seed) + " boxes " + std::to_string(bits));
    }
  }
}

TEST(ComparisonAgainstReference, EveryTypeSelection) {
  ObjectTable table(200);
  StoreScenario(table, 29);
  for (int mask = 0; mask < 1024 && !::testing::Test::HasFailure(); ++mask) {
    RowFilter filter;
    for (int t = 0; t < kTypeCount; ++t) filter.types[t] = (mask >> t) & 1;
    filter.hide_system = mask >= 512;
    ExpectAsReference(table, {}, filter, "filter " + std::to_string(mask));
    ExpectAsReference(table, FromBits(62), filter, "no type, filter " + std::to_string(mask));
  }
}

class ComparisonTest : public ::testing::Test {
 protected:
  ComparisonTest() { t_.filter.types.fill(true); }

  // n objects with IDs 1..n.
  static std::vector<Obj> Numbered(int n) {
    std::vector<Obj> objects(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) objects[k].id = gen::Number10(k + 1);
    return objects;
  }

  // The rows as "file:ID", the ID trimmed.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const ObjectRow& row : t_.list.AllRows()) {
      rows.push_back(std::to_string(row.file) + ":" +
                     std::string(TrimBlanks(t_.list.ViewOf(row).Cell(Column::kId))));
    }
    return rows;
  }

  test::TestWorkspace t_{20000};
  StatusRecorder log_;
  Workspace ws_{t_.table, t_.list, t_.filter, log_, t_.messages};
};

TEST_F(ComparisonTest, IdenticalFilesPairEveryObjectAndDifferInNone) {
  test::StoreFile(t_.table, 1, Numbered(3));
  test::StoreFile(t_.table, 2, Numbered(3));
  CompareEqual(ws_, {});
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1", "2:1", "1:2", "2:2", "1:3", "2:3"}));
  EXPECT_EQ(log_.panels[Panel::kActivity], (std::vector<std::string>{"Analyzing...", "Finished"}));
  EXPECT_EQ(log_.panels[Panel::kProgress],
            (std::vector<std::string>{"", "Progress: 33%", "Progress: 66%", "Progress: 100%"}));
  EXPECT_EQ(log_.progress, (std::vector<double>{33, 66, 100, 0}));
  EXPECT_EQ(log_.panels[Panel::kCount], (std::vector<std::string>{"", "Count: 6"}));

  log_ = {};
  CompareDifferent(ws_, {});
  EXPECT_EQ(t_.list.RowCount(), 0);
  EXPECT_EQ(log_.panels[Panel::kActivity],
            (std::vector<std::string>{"Analyzing 1/2 ...", "Analyzing 2/2...", "Finished"}));
  EXPECT_EQ(log_.Now(Panel::kProgress), "File 2: 100%");
  EXPECT_EQ(log_.progress, (std::vector<double>{16, 33, 50, 66, 83, 100, 0}));
  EXPECT_EQ(log_.Now(Panel::kCount), "Count: 0");
}

TEST_F(ComparisonTest, PairsFollowTheOuterFileAndRepeatForSeveralMatches) {
  const CompareCriteria by_name = FromBits(2);
  auto one = Numbered(3), two = Numbered(3);
  one[0].name = two[1].name = two[2].name = "A";
  one[1].name = two[0].name = "B";
  one[2].name = "C";
  test::StoreFile(t_.table, 1, one);
  test::StoreFile(t_.table, 2, two);
  CompareEqual(ws_, by_name);  // a tie: file #2's order
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:2", "2:1", "1:1", "2:2", "1:1", "2:3"}));
  CompareDifferent(ws_, by_name);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:3"}));

  two.push_back(Obj{});  // file #2 now the larger: file #1's order
  test::StoreFile(t_.table, 2, two);
  log_ = {};
  CompareEqual(ws_, by_name);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1", "2:2", "1:1", "2:3", "1:2", "2:1"}));
  EXPECT_EQ(log_.panels[Panel::kProgress][1], "Progress: 33%");
}

TEST_F(ComparisonTest, BlankIdsAndTheRowFilter) {
  auto one = Numbered(3), two = Numbered(3);
  one[1].id = two[1].id = "          ";
  one[2].type = two[2].type = "Table";
  two[2].id = "         4";
  test::StoreFile(t_.table, 1, one);
  test::StoreFile(t_.table, 2, two);
  CompareEqual(ws_, {});  // blank IDs never pair
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1", "2:1"}));
  CompareDifferent(ws_, {});  // but they match each other here
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:3", "2:4"}));

  t_.filter.types[kTableType] = false;
  CompareDifferent(ws_, {});  // each pass filters its own file
  EXPECT_EQ(t_.list.RowCount(), 0);
  CompareEqual(ws_, FromBits(0));  // the file #1 record decides, whatever its partner
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1", "2:1", "1:1", "2:4"}));
}

TEST_F(ComparisonTest, LargeFilesAreOneChangeWithFewStatusWrites) {
  struct Counter final : ListObserver {
    void ListAboutToChange() override { ++changes; }
    void ListChanged() override {}
    int changes = 0;
  } counter;
  test::StoreFile(t_.table, 1, Numbered(5000));
  test::StoreFile(t_.table, 2, Numbered(20000));
  t_.list.SetObserver(&counter);
  CompareDifferent(ws_, {});
  EXPECT_EQ(t_.list.RowCount(), 15000);
  CompareEqual(ws_, {});
  EXPECT_EQ(t_.list.RowCount(), 10000);
  t_.list.SetObserver(nullptr);
  EXPECT_EQ(counter.changes, 2);
  EXPECT_LT(log_.writes, 700);
}

static_assert(kEqualPairLimit >= 1'000'000);

// With few boxes ticked every object can match every other: the list stops at the limit and
// the user learns how many pairs there were.
TEST_F(ComparisonTest, EqualStopsAtTheLimitAndSaysSo) {
  test::StoreFile(t_.table, 1, Numbered(150));
  test::StoreFile(t_.table, 2, Numbered(120));
  StatusRecorder ignored;
  const RowRefs all = test::PairwiseEqual(t_.table, FromBits(0), t_.filter, ignored);
  ASSERT_EQ(all.size(), 2u * 150 * 120);
  CompareEqual(ws_, FromBits(0), 1000);
  EXPECT_TRUE(ListHolds(t_.list, t_.table, RowRefs(all.begin(), all.begin() + 2000)));
  EXPECT_EQ(log_.Now(Panel::kCount), "Count: 2000");
  EXPECT_EQ(log_.Now(Panel::kProgress), "Progress: 100%");
  EXPECT_EQ(t_.messages.texts,
            std::vector<std::string>{
                "The files have 18000 pairs of equal objects. The list shows the first 1000."});

  // Two full files: 400 million pairs, counted without being listed.
  test::StoreFile(t_.table, 1, Numbered(20000));
  test::StoreFile(t_.table, 2, Numbered(20000));
  t_.messages.texts.clear();
  CompareEqual(ws_, FromBits(0), 10);
  EXPECT_EQ(t_.list.RowCount(), 20);
  ASSERT_EQ(t_.messages.texts.size(), 1u);
  EXPECT_NE(t_.messages.texts[0].find(" 400000000 pairs"), std::string::npos);
}

}  // namespace
}  // namespace quillet
