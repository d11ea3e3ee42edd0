#include "list/upgrade.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "keyed_test_support.h"
#include "test_support.h"
#include "upgrade_reference.h"

namespace quillet {
namespace {

using test::FromBits;
using test::Obj;
using Collect = test::CollectKeyed<UpgradeResult>;
using Result = UpgradeResult;

UpgradeResults ListingFromBits(int bits) {
  UpgradeResults listed;
  for (int r = 0; r < kUpgradeResultCount; ++r) {
    if ((bits >> r) & 1) listed.Add(static_cast<Result>(r));
  }
  return listed;
}

const UpgradeResults kAll = ListingFromBits(127);

// The engine must give the reference's rows, counts and conflict flag. Gives the counts.
UpgradeCounts ExpectAsReference(const ObjectTable& table, const CompareCriteria& criteria,
                                const RowFilter& filter, UpgradeResults listed) {
  const auto expected = test::ReferenceUpgrade(table, criteria, filter, listed);
  Collect seen;
  NullStatusSink status;
  const UpgradeAnalysis analysis = AnalyzeUpgrade(table, criteria, filter, listed, status, seen);
  EXPECT_EQ(seen.rows, expected.rows);
  EXPECT_EQ(seen.expected, static_cast<long long>(expected.rows.size()));
  EXPECT_EQ(analysis.rows, static_cast<long long>(expected.rows.size()));
  EXPECT_EQ(analysis.counts, (test::CountsOf<Result, kUpgradeResultCount>(expected)));
  EXPECT_EQ(analysis.conflicts, expected.flag);
  return analysis.counts;
}

void StoreReleases(ObjectTable& table, std::uint32_t seed) {
  const auto files = test::MakeReleases(seed);
  for (int file = 0; file < 3; ++file) test::StoreFile(table, file, files[file]);
}

TEST(UpgradeAgainstReference, EveryCombinationOfBoxesAndListings) {
  ObjectTable table(400);
  std::mt19937 rng(6);
  StatusCounts<Result, kUpgradeResultCount> seen;  // over all runs, that every result occurs
  for (std::uint32_t seed = 1; seed <= 30 && !::testing::Test::HasFailure(); ++seed) {
    StoreReleases(table, seed);
    for (int bits = 0; bits < 64 && !::testing::Test::HasFailure(); ++bits) {
      const RowFilter filter = test::RandomFilter(rng);
      // Every listing choice comes round over the seeds and boxes.
      for (const int listing : {127, static_cast<int>(bits * 30 + seed) % 128}) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " boxes " + std::to_string(bits) +
                     " listing " + std::to_string(listing));
        const UpgradeCounts counts =
            ExpectAsReference(table, FromBits(bits), filter, ListingFromBits(listing));
        for (int r = 0; r < kUpgradeResultCount; ++r) seen.values[r] += counts.total.values[r];
      }
    }
  }
  for (int r = 0; r < kUpgradeResultCount; ++r) {
    EXPECT_GT(seen.values[r], 0) << UpgradeResultText(static_cast<Result>(r));
  }
}

TEST(UpgradeAgainstReference, EveryTypeSelection) {
  ObjectTable table(400);
  StoreReleases(table, 44);
  for (int mask = 0; mask < 1024 && !::testing::Test::HasFailure(); ++mask) {
    SCOPED_TRACE("filter " + std::to_string(mask));
    RowFilter filter;
    for (int t = 0; t < kTypeCount; ++t) filter.types[t] = (mask >> t) & 1;
    filter.hide_system = mask >= 512;
    ExpectAsReference(table, {}, filter, kDefaultUpgradeResults);
    ExpectAsReference(table, FromBits(16), filter, kAll);
  }
}

class UpgradeTest : public ::testing::Test {
 protected:
  UpgradeTest() { filter_.types.fill(true); }

  static Obj Form(int id) {
    Obj o;
    o.type = "Form";
    o.id = gen::Number10(id);
    return o;
  }
  static Obj Form(int id, std::string version) {
    Obj o = Form(id);
    o.version = std::move(version);
    return o;
  }

  UpgradeAnalysis Run(const std::vector<Obj>& base, const std::vector<Obj>& one,
                      const std::vector<Obj>& two, UpgradeResults listed = kAll) {
    test::StoreFile(table_, kBaseFile, base);
    test::StoreFile(table_, 1, one);
    test::StoreFile(table_, 2, two);
    seen_ = {};
    return AnalyzeUpgrade(table_, {}, filter_, listed, log_, seen_);
  }

  ObjectTable table_{100};
  RowFilter filter_;
  test::StatusRecorder log_;
  Collect seen_;
};

TEST_F(UpgradeTest, EachSideAgainstTheBaseGivesTheResult) {
  Obj renamed = Form(6), other_name = Form(6), retimed = Form(7), dated = Form(4);
  renamed.name = "Renamed";
  other_name.name = "Other";
  retimed.time = "13:00:00";
  dated.date = "2009-01-01";
  Obj resized = Form(12, "V2");
  resized.size = "         1";
  const UpgradeAnalysis analysis =
      Run({Form(12), Form(7), Form(6), Form(5), Form(4), Form(3), Form(2), Form(1)},
          {Form(1), Form(2, "V2"), Form(3), dated, renamed, retimed, Form(8), Form(10),
           Form(11, "V3"), Form(12, "V2")},
          {Form(1), Form(2), dated, other_name, Form(9), Form(10), Form(11, "V4"), resized});
  const FieldMask version = FieldBit(Field::kVersion);
  const std::vector<UpgradeRow> expected = {
      {0, 8, Result::kUnchanged, 0, 1},
      {1, 1, Result::kUnchanged, 0, 1},
      {2, 1, Result::kUnchanged, 0, 1},
      {0, 7, Result::kOnly1Changed, version, 2},
      {1, 2, Result::kOnly1Changed, version, 2},
      {2, 2, Result::kOnly1Changed, version, 2},
      {0, 6, Result::kOnly2Changed, 0, 3},  // removed from file #2
      {1, 3, Result::kOnly2Changed, 0, 3},
      {0, 5, Result::kBothChangedAlike, FieldBit(Field::kDate), 4},
      {1, 4, Result::kBothChangedAlike, FieldBit(Field::kDate), 4},
      {2, 3, Result::kBothChangedAlike, FieldBit(Field::kDate), 4},
      {0, 4, Result::kBothChangedAlike, 0, 5},  // removed from both
      {0, 3, Result::kConflict, FieldBit(Field::kName), 6},
      {1, 5, Result::kConflict, FieldBit(Field::kName), 6},
      {2, 4, Result::kConflict, FieldBit(Field::kName), 6},
      {0, 2, Result::kConflict, FieldBit(Field::kTime), 7},  // changed, and removed
      {1, 6, Result::kConflict, FieldBit(Field::kTime), 7},
      {1, 7, Result::kOnly1Added, 0, 8},
      {2, 5, Result::kOnly2Added, 0, 9},
      {1, 8, Result::kBothChangedAlike, 0, 10},  // added alike
      {2, 6, Result::kBothChangedAlike, 0, 10},
      {1, 9, Result::kConflict, version, 11},  // added differently
      {2, 7, Result::kConflict, version, 11},
      {0, 1, Result::kConflict, version | FieldBit(Field::kBlobSize), 12},
      {1, 10, Result::kConflict, version | FieldBit(Field::kBlobSize), 12},
      {2, 8, Result::kConflict, version | FieldBit(Field::kBlobSize), 12}};
  EXPECT_EQ(seen_.rows, expected);
  EXPECT_TRUE(analysis.conflicts);
  ASSERT_EQ(analysis.counts.by_type.size(), 1u);
  EXPECT_EQ(analysis.counts.total,
            (StatusCounts<Result, kUpgradeResultCount>{{1, 1, 1, 3, 4, 1, 1}}));
  EXPECT_EQ(ChangedFieldsText(expected.back().changed), "Version;BLOB size");
}

TEST_F(UpgradeTest, RepeatedKeysMakeTriplesByPosition) {
  Run({Form(5, "A"), Form(5, "B")}, {Form(5, "A")}, {Form(5, "A"), Form(5, "B"), Form(5, "C")},
      kDefaultUpgradeResults);
  // The first triple is unchanged and not listed; the second lost its file #1 object.
  const std::vector<UpgradeRow> expected = {{0, 2, Result::kOnly1Changed, 0, 1},
                                            {2, 2, Result::kOnly1Changed, 0, 1},
                                            {2, 3, Result::kOnly2Added, 0, 2}};
  EXPECT_EQ(seen_.rows, expected);
}

TEST_F(UpgradeTest, TheConflictFlagAndTheStatusFollowTheRowFilter) {
  const std::vector<Obj> base = {Form(1), Form(2000000002)};
  const std::vector<Obj> one = {Form(1), Form(2000000002, "V8")};
  const std::vector<Obj> two = {Form(1), Form(2000000002, "V9")};
  EXPECT_TRUE(Run(base, one, two).conflicts);
  filter_.hide_system = true;
  const UpgradeAnalysis hidden = Run(base, one, two);
  EXPECT_FALSE(hidden.conflicts);
  EXPECT_EQ(hidden.counts.total[Result::kUnchanged], 1);
  EXPECT_EQ(hidden.counts.total[Result::kConflict], 0);
  filter_.types[TypeIndex("Form")] = false;
  EXPECT_TRUE(Run(base, one, two).counts.by_type.empty());

  EXPECT_EQ(log_.panels[Panel::kActivity],
            (std::vector<std::string>{"Analyzing...", "Finished", "Analyzing...", "Finished",
                                      "Analyzing...", "Finished"}));
  EXPECT_EQ(log_.Now(Panel::kProgress), "");  // nothing passed: no step to report
  EXPECT_EQ(UpgradeResultText(Result::kBothChangedAlike), "Both changed alike");
}

}  // namespace
}  // namespace quillet
