#include "list/across.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "across_test_support.h"
#include "list/changes.h"
#include "test_support.h"

namespace quillet {

inline void PrintTo(const test::RefAcrossRow& row, std::ostream* out) {
  *out << row.type << ":" << row.id << "#" << row.instance << " [";
  for (const std::string& letters : row.letters) *out << letters << ",";
  *out << "] variants " << row.variants << (row.differs ? " differs" : " same");
}

namespace {

using test::CollectAcross;
using test::FromBits;
using test::Obj;
using KeyInstance = std::tuple<std::string, std::string, int>;

// Criteria the comparisons are held to each other under: every box, the key alone, one field,
// and all but the name.
const std::vector<CompareCriteria> kCriteria = {
    {}, FromBits(1), FromBits(1 | 4), FromBits(63 & ~2), FromBits(16 | 32)};

AcrossResult RunAcross(const ObjectTable& table, const std::vector<int>& areas,
                       const CompareCriteria& criteria, const AcrossChoice& choice,
                       CollectAcross& seen) {
  const AcrossComparison comparison(table, areas, criteria);
  NullStatusSink status;
  return comparison.List(choice, status, seen);
}

// Which instance of its key each record of a file is: the n-th of that key in the file.
std::map<int, int> InstancesOf(const std::vector<Obj>& file) {
  std::map<std::pair<std::string, std::string>, int> seen;
  std::map<int, int> instance;
  for (std::size_t i = 0; i < file.size(); ++i) {
    const auto key = std::make_pair(test::RefTrim(file[i].type.substr(0, 9)),
                                    test::RefTrim(file[i].id.substr(0, 10)));
    instance[static_cast<int>(i) + 1] = seen[key]++;
  }
  return instance;
}

// For each pair of files, the rows on which their cells differ are the changes view's rows of
// those two files, in its order, and the summary counts them.
void ExpectPairsAsChanges(const std::vector<std::vector<Obj>>& files,
                          const CompareCriteria& criteria, const RowFilter& filter) {
  ObjectTable table;
  const std::vector<int> areas = test::StoreFiles(table, files, 3);  // past the window's areas
  CollectAcross across;
  AcrossChoice choice;
  choice.filter = filter;
  choice.listed = kAllAcrossStatuses;
  const AcrossResult result = RunAcross(table, areas, criteria, choice, across);

  bool any_changes = false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (std::size_t j = 0; j < files.size(); ++j) {
      if (i == j) continue;
      SCOPED_TRACE("files " + std::to_string(i) + " and " + std::to_string(j));
      ObjectTable pair;
      test::StoreFile(pair, 1, files[i]);
      test::StoreFile(pair, 2, files[j]);
      test::CollectKeyed<ChangeStatus> changes;
      NullStatusSink status;
      const ChangesResult changed =
          ListChanges(pair, criteria, filter, kDefaultChangeStatuses, status, changes);
      any_changes |= changed.differs;

      const std::map<int, int> instances[] = {InstancesOf(files[i]), InstancesOf(files[j])};
      std::vector<KeyInstance> listed;
      for (const ChangeRow& row : changes.rows) {
        const KeyInstance key{test::RefTrim(pair.Read(row.file, row.index, Field::kType)),
                              test::RefTrim(pair.Read(row.file, row.index, Field::kId)),
                              instances[row.file - 1].at(row.index)};
        if (listed.empty() || listed.back() != key) listed.push_back(key);
      }
      std::vector<KeyInstance> differing;
      for (const test::RefAcrossRow& row : across.rows) {
        if (row.letters[i] != row.letters[j])
          differing.emplace_back(row.type, row.id, row.instance);
      }
      EXPECT_EQ(differing, listed);

      const auto& total = changed.counts.total;
      EXPECT_EQ(result.summary.Differs(static_cast<int>(i), static_cast<int>(j)),
                total[ChangeStatus::kChanged] + total[ChangeStatus::kOnlyIn1] +
                    total[ChangeStatus::kOnlyIn2]);
      EXPECT_EQ(result.summary.Objects(static_cast<int>(i)), total[ChangeStatus::kSame] +
                                                                 total[ChangeStatus::kChanged] +
                                                                 total[ChangeStatus::kOnlyIn1]);
    }
  }
  EXPECT_EQ(result.differs, any_changes);
}

TEST(AcrossAgainstChanges, EveryPairOfManyFilesUnderSeveralCriteria) {
  std::mt19937 rng(3);
  for (std::uint32_t seed = 1; seed <= 12 && !::testing::Test::HasFailure(); ++seed) {
    const auto files = test::MakeInstallations(seed, 3 + static_cast<int>(seed % 5));
    for (const CompareCriteria& criteria : kCriteria) {
      SCOPED_TRACE("seed " + std::to_string(seed));
      RowFilter filter = test::RandomFilter(rng);
      if (seed % 3 == 0) filter.types.fill(true);
      ExpectPairsAsChanges(files, criteria, filter);
    }
  }
}

// The engine's rows, letters, summary and exit flag are the reference's; what is listed and
// what the filter keeps come out of them by the rules.
void ExpectAsReference(const std::vector<std::vector<Obj>>& files, const CompareCriteria& criteria,
                       const RowFilter& filter, const RowQuery& query) {
  ObjectTable table;
  const std::vector<int> areas = test::StoreFiles(table, files, 1);
  const test::RefAcross expected = test::ReferenceAcross(table, areas, criteria, filter);

  CollectAcross all;
  AcrossChoice choice;
  choice.filter = filter;
  choice.listed = kAllAcrossStatuses;
  const AcrossResult result = RunAcross(table, areas, criteria, choice, all);
  EXPECT_EQ(all.rows, expected.rows);
  EXPECT_EQ(result.rows, static_cast<long long>(expected.rows.size()));
  EXPECT_EQ(result.differs, expected.flag);
  for (int f = 0; f < static_cast<int>(files.size()); ++f) {
    EXPECT_EQ(result.summary.Objects(f), expected.objects[f]) << "file " << f;
    EXPECT_EQ(result.summary.OnlyHere(f), expected.only_here[f]) << "file " << f;
    for (int g = 0; g < static_cast<int>(files.size()); ++g) {
      EXPECT_EQ(result.summary.Differs(f, g), expected.differs[f][g]) << f << " against " << g;
    }
  }
  // The row's name is its first object's.
  for (std::size_t r = 0; r < all.rows.size(); ++r) {
    const auto& indices = all.rows[r].indices;
    const auto first = static_cast<std::size_t>(
        std::find_if(indices.begin(), indices.end(), [](int i) { return i > 0; }) -
        indices.begin());
    EXPECT_EQ(all.names[r], table.Read(areas[first], indices[first], Field::kName));
  }

  for (const AcrossStatuses listed :
       {kDefaultAcrossStatuses, AcrossStatuses{AcrossStatus::kSame}, AcrossStatuses{}}) {
    CollectAcross seen;
    choice.listed = listed;
    choice.query = &query;
    const AcrossResult narrowed = RunAcross(table, areas, criteria, choice, seen);
    std::vector<test::RefAcrossRow> kept;
    for (const test::RefAcrossRow& row : expected.rows) {
      if (!listed.Has(row.differs ? AcrossStatus::kDiffers : AcrossStatus::kSame)) continue;
      bool matches = false;
      for (std::size_t f = 0; f < files.size(); ++f) {
        if (row.indices[f] == 0) continue;
        const auto read = [&](Field field) { return table.Read(areas[f], row.indices[f], field); };
        matches |= query.Matches(
            {read(Field::kType), read(Field::kId), read(Field::kName), read(Field::kVersion), {}});
      }
      if (matches) kept.push_back(row);
    }
    EXPECT_EQ(seen.rows, kept);
    // Neither what is listed nor the filter changes the counts or the exit flag.
    EXPECT_EQ(narrowed.summary, result.summary);
    EXPECT_EQ(narrowed.rows_by_status, result.rows_by_status);
    EXPECT_EQ(narrowed.differs, result.differs);
  }
}

TEST(AcrossAgainstReference, LettersOrderAndSummaryOnGeneratedFiles) {
  std::mt19937 rng(9);
  const std::vector<std::string> filters = {"", "-type:Table", "id:1..50000|7", "tag:N*",
                                            "name:a -name:e"};
  for (std::uint32_t seed = 1; seed <= 40 && !::testing::Test::HasFailure(); ++seed) {
    const auto files = test::MakeInstallations(seed, 2 + static_cast<int>(seed % 9));
    const auto parsed = ParseRowQuery(filters[seed % filters.size()]);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectAsReference(files, kCriteria[seed % kCriteria.size()], test::RandomFilter(rng), *parsed);
  }
}

TEST(AcrossAgainstReference, AHundredFilesInOneRun) {
  const auto files = test::MakeInstallations(77, 100, 40);
  RowFilter every;
  every.types.fill(true);
  ExpectAsReference(files, {}, every, RowQuery());
  ExpectAsReference(files, FromBits(1 | 8), every, RowQuery());
  std::vector<std::vector<Obj>> some(files.begin(), files.begin() + 9);
  ExpectPairsAsChanges(some, {}, every);
}

TEST(Across, ARowCanBeFoundAgainByItsKeyAndInstance) {
  const auto files = test::MakeInstallations(5, 6);
  ObjectTable table;
  const std::vector<int> areas = test::StoreFiles(table, files, 1);
  const AcrossComparison comparison(table, areas, {});
  CollectAcross seen;
  AcrossChoice choice;
  choice.listed = kAllAcrossStatuses;
  NullStatusSink status;
  static_cast<void>(comparison.List(choice, status, seen));
  ASSERT_FALSE(seen.rows.empty());

  CollectAcross again;
  std::vector<AcrossCell> cells;
  for (const auto& [key, instance] : seen.keys) again.Row(comparison.Row(key, instance, cells));
  EXPECT_EQ(again.rows, seen.rows);
  EXPECT_EQ(again.names, seen.names);
  EXPECT_THROW(comparison.Row(seen.keys[0].first, 1000, cells), std::out_of_range);
  EXPECT_THROW(comparison.Row(-1, 0, cells), std::out_of_range);
}

TEST(Across, AVisitorThatStopsLeavesTheCountsWhole) {
  std::vector<Obj> one, two, three;
  for (int k = 1; k <= 20000; ++k) {
    Obj o;
    o.id = gen::Number10(k);
    one.push_back(o);
    o.name = k % 10 == 0 ? "Other" : o.name;
    two.push_back(o);
    if (k % 4 != 0) three.push_back(o);
  }
  ObjectTable table;
  const std::vector<int> areas = test::StoreFiles(table, {one, two, three}, 1);
  const AcrossComparison comparison(table, areas, {});
  CollectAcross seen;
  seen.stop_after = 3;
  test::StatusRecorder log;
  const AcrossResult result = comparison.List({}, log, seen);
  EXPECT_EQ(result.rows, 2);  // the third row was refused
  EXPECT_TRUE(result.differs);
  // Renamed in two of the files every tenth, missing from the third every fourth.
  EXPECT_EQ(result.rows_by_status[AcrossStatus::kDiffers], 2000 + 5000 - 1000);
  EXPECT_EQ(result.rows_by_status[AcrossStatus::kSame], 20000 - 6000);
  EXPECT_EQ(result.summary.Objects(2), 15000);
  EXPECT_EQ(result.summary.Differs(0, 1), 2000);
  EXPECT_EQ(result.summary.Differs(1, 2), 5000);
  EXPECT_EQ(result.summary.Differs(2, 0), 5000 + 2000 - 1000);
  EXPECT_EQ(result.summary.OnlyHere(0), 0);

  EXPECT_EQ(log.panels[Panel::kActivity], (std::vector<std::string>{"Analyzing...", "Finished"}));
  EXPECT_EQ(log.Now(Panel::kProgress), "Progress: 100%");
  EXPECT_EQ(log.progress.back(), 0);
  EXPECT_LT(log.writes, 210);
}

}  // namespace
}  // namespace quillet
