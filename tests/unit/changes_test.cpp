#include "list/changes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "keyed_test_support.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::FromBits;
using test::Obj;
using Collect = test::CollectKeyed<ChangeStatus>;
using Status = ChangeStatus;

ChangeStatuses ListingFromBits(int bits) {
  ChangeStatuses listed;
  for (int s = 0; s < kChangeStatusCount; ++s) {
    if ((bits >> s) & 1) listed.Add(static_cast<Status>(s));
  }
  return listed;
}

constexpr ChangeStatuses kAll = {Status::kOnlyIn1, Status::kOnlyIn2, Status::kChanged,
                                 Status::kSame};

// The engine must give the reference's rows, counts and exit flag. Gives the counts.
ChangeCounts ExpectAsReference(const ObjectTable& table, const CompareCriteria& criteria,
                               const RowFilter& filter, ChangeStatuses listed) {
  const auto expected = test::ReferenceChanges(table, criteria, filter, listed);
  Collect seen;
  NullStatusSink status;
  const ChangesResult result = ListChanges(table, criteria, filter, listed, status, seen);
  EXPECT_EQ(seen.rows, expected.rows);
  EXPECT_EQ(seen.expected, static_cast<long long>(expected.rows.size()));
  EXPECT_EQ(result.rows, static_cast<long long>(expected.rows.size()));
  EXPECT_EQ(result.counts, (test::CountsOf<Status, kChangeStatusCount>(expected)));
  EXPECT_EQ(result.differs, expected.flag);
  return result.counts;
}

TEST(ChangesAgainstReference, EveryCombinationOfBoxesAndListings) {
  ObjectTable table(400);
  std::mt19937 rng(5);
  StatusCounts<Status, kChangeStatusCount> seen;  // over all runs, that none is left untried
  for (std::uint32_t seed = 1; seed <= 30 && !::testing::Test::HasFailure(); ++seed) {
    const auto files = test::MakeReleases(seed);
    // The base against either copy gives pairs that differ more than the copies do.
    test::StoreFile(table, 1, files[seed % 3 == 0 ? 0 : 1]);
    test::StoreFile(table, 2, files[2]);
    for (int bits = 0; bits < 64 && !::testing::Test::HasFailure(); ++bits) {
      const RowFilter filter = test::RandomFilter(rng);
      // Every listing choice comes round with every box combination over the seeds.
      for (const int listing : {15, static_cast<int>(bits + seed) % 16}) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " boxes " + std::to_string(bits) +
                     " listing " + std::to_string(listing));
        const ChangeCounts counts =
            ExpectAsReference(table, FromBits(bits), filter, ListingFromBits(listing));
        for (int s = 0; s < kChangeStatusCount; ++s) seen.values[s] += counts.total.values[s];
      }
    }
  }
  for (int s = 0; s < kChangeStatusCount; ++s) {
    EXPECT_GT(seen.values[s], 0) << ChangeStatusText(static_cast<Status>(s));
  }
}

TEST(ChangesAgainstReference, EveryTypeSelection) {
  ObjectTable table(400);
  const auto files = test::MakeReleases(44);
  test::StoreFile(table, 1, files[1]);
  test::StoreFile(table, 2, files[2]);
  for (int mask = 0; mask < 1024 && !::testing::Test::HasFailure(); ++mask) {
    SCOPED_TRACE("filter " + std::to_string(mask));
    RowFilter filter;
    for (int t = 0; t < kTypeCount; ++t) filter.types[t] = (mask >> t) & 1;
    filter.hide_system = mask >= 512;
    ExpectAsReference(table, {}, filter, kDefaultChangeStatuses);
    ExpectAsReference(table, FromBits(8), filter, kAll);
  }
}

class ChangesTest : public ::testing::Test {
 protected:
  ChangesTest() { filter_.types.fill(true); }

  static Obj Make(std::string type, std::string id, std::string name = "Posting") {
    Obj o;
    o.type = std::move(type);
    o.id = std::move(id);
    o.name = std::move(name);
    return o;
  }

  ChangesResult Run(const std::vector<Obj>& one, const std::vector<Obj>& two,
                    ChangeStatuses listed = kAll, const CompareCriteria& criteria = {}) {
    test::StoreFile(table_, 1, one);
    test::StoreFile(table_, 2, two);
    seen_ = {};
    return ListChanges(table_, criteria, filter_, listed, log_, seen_);
  }

  // The rows as "file:type:ID", texts trimmed.
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (const ChangeRow& row : seen_.rows) {
      keys.push_back(std::to_string(row.file) + ":" +
                     std::string(TrimBlanks(table_.Read(row.file, row.index, Field::kType))) + ":" +
                     std::string(TrimBlanks(table_.Read(row.file, row.index, Field::kId))));
    }
    return keys;
  }

  ObjectTable table_{20000};
  RowFilter filter_;
  test::StatusRecorder log_;
  Collect seen_;
};

TEST_F(ChangesTest, KeysGoByTypeOrderThenNumberThenText) {
  Run({Make("Zeta", "1"), Make("table", "1"), Make("Query", "5"), Make("Codeunit", "X"),
       Make("Codeunit", "007"), Make("Codeunit", "7"), Make("Codeunit", "2000000001"),
       Make("Codeunit", "10"), Make("Table", "9"), Make("Codeunit", ""), Make("Codeunit", "ab12"),
       Make("Codeunit", "AB12"), Make("Codeunit", "12 3"), Make("Codeunit", "         7")},
      {});
  EXPECT_EQ(Keys(),
            (std::vector<std::string>{
                "1:Table:9", "1:Codeunit:007", "1:Codeunit:7", "1:Codeunit:7", "1:Codeunit:10",
                "1:Codeunit:2000000001", "1:Codeunit:", "1:Codeunit:12 3", "1:Codeunit:AB12",
                "1:Codeunit:X", "1:Codeunit:ab12", "1:Query:5", "1:Zeta:1", "1:table:1"}));
  // The two 7s are one key placed differently in the field, so they are two objects in file
  // order; every other object is a group of its own.
  EXPECT_EQ(seen_.rows[2].index, 6);
  EXPECT_EQ(seen_.rows[3].index, 14);
  EXPECT_EQ(seen_.rows.back().group, 14);
}

TEST_F(ChangesTest, EqualKeysPairInFileOrderAndTheRestStandAlone) {
  const auto result =
      Run({Make("Form", "7", "A"), Make("Form", "   7", "B"), Make("Form", "7", "C"),
           Make("Form", "8", " Posting")},
          {Make("Form", "         7", "A"), Make("Form", "7", "X"), Make("Form", "8")});
  const std::vector<ChangeRow> expected = {
      {1, 1, Status::kSame, 0, 1},
      {2, 1, Status::kSame, 0, 1},
      {1, 2, Status::kChanged, FieldBit(Field::kName), 2},
      {2, 2, Status::kChanged, FieldBit(Field::kName), 2},
      {1, 3, Status::kOnlyIn1, 0, 3},
      {1, 4, Status::kChanged, FieldBit(Field::kName), 4},  // blanks count
      {2, 3, Status::kChanged, FieldBit(Field::kName), 4}};
  EXPECT_EQ(seen_.rows, expected);
  EXPECT_TRUE(result.differs);
  EXPECT_EQ(result.counts.total[Status::kSame], 1);
  EXPECT_EQ(result.counts.total[Status::kChanged], 2);
  EXPECT_EQ(result.counts.total[Status::kOnlyIn1], 1);

  // Groups are numbered as listed; counts stay whatever is listed.
  EXPECT_EQ(Run({Make("Form", "7", "A"), Make("Form", "   7", "B"), Make("Form", "7", "C"),
                 Make("Form", "8", " Posting")},
                {Make("Form", "         7", "A"), Make("Form", "7", "X"), Make("Form", "8")},
                kDefaultChangeStatuses)
                .counts,
            result.counts);
  ASSERT_EQ(seen_.rows.size(), 5u);
  EXPECT_EQ(seen_.rows[0].group, 1);
  EXPECT_EQ(seen_.rows[2].group, 2);
  EXPECT_EQ(seen_.rows[4].group, 3);

  // Without the name box nothing differs but the lone object.
  const auto no_name =
      Run({Make("Form", "7", "A"), Make("Form", "7", "B")}, {Make("Form", "7", "X")},
          {Status::kChanged}, FromBits(1 | 4 | 8 | 16 | 32));
  EXPECT_TRUE(seen_.rows.empty());
  EXPECT_EQ(no_name.counts.total[Status::kSame], 1);
  EXPECT_TRUE(no_name.differs);
}

TEST_F(ChangesTest, ChangedFieldsAreNamedByTheirColumns) {
  EXPECT_EQ(ChangedFieldsText(0), "");
  EXPECT_EQ(ChangedFieldsText(FieldBit(Field::kTime) | FieldBit(Field::kVersion) |
                              FieldBit(Field::kDate)),
            "Version;Date;Time");
  EXPECT_EQ(ChangedFieldsText(kChangeFields), "Name;Version;Date;Time;BLOB size");

  Obj changed = Make("Page", "21");
  changed.version = "V2";
  changed.size = "      1235";
  changed.modified = "Y";  // never filled in by the reader: not a change
  Run({Make("Page", "21")}, {changed});
  ASSERT_EQ(seen_.rows.size(), 2u);
  EXPECT_EQ(ChangedFieldsText(seen_.rows[0].changed), "Version;BLOB size");
  Run({Make("Page", "21")}, {changed}, kAll, FromBits(1 | 2 | 32));
  EXPECT_EQ(ChangedFieldsText(seen_.rows[0].changed), "BLOB size");
}

// The fields are compared a word at a time: a difference in any one byte must still show, in
// its field only.
TEST(ChangedFields, EveryByteOfEveryFieldCounts) {
  std::string a(kRecordWidth, ' ');
  for (int at = 0; at < kRecordWidth; ++at) a[at] = static_cast<char>('A' + at % 26);
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    for (int at = FieldOffset(field); at < FieldOffset(field) + FieldWidth(field); ++at) {
      std::string b = a;
      b[at] = ' ';
      EXPECT_EQ(DifferingFields(a, b, ~0u), FieldBit(field)) << "byte " << at;
      EXPECT_EQ(DifferingFields(a, b, ~0u & ~FieldBit(field)), 0u) << "byte " << at;
    }
  }
  EXPECT_EQ(CountedChangeFields({}), kChangeFields);
  EXPECT_EQ(CountedChangeFields(FromBits(1 | 4)), FieldBit(Field::kVersion));
}

TEST_F(ChangesTest, CountsAndTheExitFlagFollowTheRowFilter) {
  const std::vector<Obj> one = {Make("Table", "3"), Make("Table", "2000000004"), Make("Query", "1"),
                                Make("Codeunit", "5")};
  const std::vector<Obj> two = {Make("Table", "3"), Make("Table", "2000000004", "New"),
                                Make("Query", "1"), Make("Codeunit", "6")};
  auto result = Run(one, two, {});
  EXPECT_TRUE(seen_.rows.empty());
  ASSERT_EQ(result.counts.by_type.size(), 3u);
  EXPECT_EQ(result.counts.by_type[0].type, "Table");
  EXPECT_EQ(result.counts.by_type[0].counts[Status::kSame], 1);
  EXPECT_EQ(result.counts.by_type[0].counts[Status::kChanged], 1);
  EXPECT_EQ(result.counts.by_type[1].type, "Codeunit");
  EXPECT_EQ(result.counts.by_type[1].counts[Status::kOnlyIn1], 1);
  EXPECT_EQ(result.counts.by_type[1].counts[Status::kOnlyIn2], 1);
  EXPECT_EQ(result.counts.by_type[2].type, "Query");
  EXPECT_EQ(result.counts.total[Status::kSame], 2);

  filter_.types[TypeIndex("Codeunit")] = false;
  filter_.hide_system = true;
  result = Run(one, two, {});
  EXPECT_FALSE(result.differs);
  ASSERT_EQ(result.counts.by_type.size(), 2u);  // Codeunit has nothing left
  EXPECT_EQ(result.counts.by_type[1].type, "Query");
  EXPECT_EQ(result.counts.total[Status::kChanged], 0);

  filter_.types.fill(false);  // a type outside the nine still passes
  result = Run(one, two, kAll);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"1:Query:1", "2:Query:1"}));
}

TEST_F(ChangesTest, ReportsProgressAndFinishesWhenTheVisitorStops) {
  Run({Make("Form", "1"), Make("Form", "2"), Make("Form", "3")},
      {Make("Form", "1"), Make("Form", "2"), Make("Form", "3")});
  EXPECT_EQ(log_.panels[Panel::kActivity], (std::vector<std::string>{"Analyzing...", "Finished"}));
  EXPECT_EQ(log_.panels[Panel::kProgress],
            (std::vector<std::string>{"", "Progress: 33%", "Progress: 66%", "Progress: 100%"}));
  EXPECT_EQ(log_.progress, (std::vector<double>{33, 66, 100, 0}));
  EXPECT_EQ(log_.panels[Panel::kCount], (std::vector<std::string>{""}));
  EXPECT_EQ(seen_.expected, 6);

  std::vector<Obj> one, two;
  for (int k = 1; k <= 20000; ++k) {
    one.push_back(Make("Codeunit", gen::Number10(k)));
    two.push_back(Make("Codeunit", gen::Number10(k + 100), "Other"));
  }
  test::StoreFile(table_, 1, one);
  test::StoreFile(table_, 2, two);
  log_ = {};
  seen_ = {};
  seen_.stop_after = 3;
  const auto result = ListChanges(table_, {}, filter_, kAll, log_, seen_);
  EXPECT_EQ(result.rows, 2);  // the third row was refused
  EXPECT_EQ(seen_.expected, 40000);
  EXPECT_EQ(result.counts.total[Status::kChanged], 19900);
  EXPECT_EQ(result.counts.total[Status::kOnlyIn2], 100);
  EXPECT_EQ(log_.Now(Panel::kActivity), "Finished");
  EXPECT_EQ(log_.Now(Panel::kProgress), "Progress: 100%");
  EXPECT_LT(log_.writes, 210);
}

}  // namespace
}  // namespace quillet
