// The window's comparison across many files without the window: the rows it keeps as two
// numbers each and makes again, its sort (a key's rows together), its counts and filter.
#include "commands/across_matrix.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "across_installations.h"
#include "across_test_support.h"
#include "commands/session.h"
#include "gen/generator.h"
#include "list/row_order.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::CollectAcross;
using test::Everything;
using test::WriteInstallations;

// The rows the engine lists for the same files, straight from it.
struct Reference {
  Reference(const std::vector<std::filesystem::path>& names, const CompareCriteria& criteria,
            const AcrossChoice& choice) {
    NullStatusSink status;
    for (const auto& name : names) EXPECT_TRUE(files.Add(name, status));
    const AcrossComparison comparison = files.Compare(criteria);
    result = comparison.List(choice, status, rows);
  }
  // Row by key and instance.
  std::map<std::pair<int, int>, test::RefAcrossRow> ByKey() const {
    std::map<std::pair<int, int>, test::RefAcrossRow> by_key;
    for (std::size_t i = 0; i < rows.rows.size(); ++i) by_key.emplace(rows.keys[i], rows.rows[i]);
    return by_key;
  }
  AcrossFiles files;
  CollectAcross rows;
  AcrossResult result;
};

std::vector<std::string> Letters(const AcrossRow& row) {
  std::vector<std::string> letters;
  for (const AcrossCell& cell : row.cells) {
    letters.push_back(cell.HasObject() ? VariantLetters(cell.variant) : "");
  }
  return letters;
}

// The value a column sorts by, as the matrix shows it.
int Order(const AcrossRow& a, const AcrossRow& b, int column) {
  const auto number = [](int x, int y) { return (x > y) - (x < y); };
  switch (column) {
    case kAcrossTypeColumn:
      return CompareCellTexts(a.type, b.type);
    case kAcrossIdColumn: {
      const auto aligned = [](std::string_view id) {
        return std::string(10 - std::min<std::size_t>(10, id.size()), ' ') + std::string(id);
      };
      return CompareCellTexts(aligned(a.id), aligned(b.id));
    }
    case kAcrossNameColumn:
      return CompareCellTexts(a.name, b.name);
    case kAcrossVariantsColumn:
      return number(a.variants, b.variants);
    default: {
      const auto file = static_cast<std::size_t>(column - kAcrossFirstFileColumn);
      return number(a.cells[file].variant, b.cells[file].variant);
    }
  }
}

// What every shown order must keep: each row the engine lists once, with the cells it gave;
// a key's rows side by side in instance order (a filter may leave out some); the keys in the
// column's order.
void ExpectShownAsListed(const AcrossMatrix& matrix, const Reference& reference,
                         std::optional<int> column, bool ascending) {
  const auto by_key = reference.ByKey();
  ASSERT_EQ(matrix.RowCount(), static_cast<int>(by_key.size()));
  std::set<std::pair<int, int>> seen;
  std::set<int> keys_done;
  int last_key = -1, last_instance = -1;
  std::vector<AcrossCell> previous_cells;
  AcrossRow previous_first;
  for (int r = 0; r < matrix.RowCount(); ++r) {
    const AcrossRow& row = matrix.Row(r);
    ASSERT_TRUE(seen.insert({row.key, row.instance}).second) << "row " << r << " twice";
    const test::RefAcrossRow& listed = by_key.at({row.key, row.instance});
    EXPECT_EQ(Letters(row), listed.letters) << "row " << r;
    EXPECT_EQ(row.variants, listed.variants);
    if (row.key == last_key) {
      EXPECT_GT(row.instance, last_instance) << "row " << r;
    } else {
      EXPECT_TRUE(keys_done.insert(row.key).second) << "key " << row.key << " split";
      if (column && last_key >= 0) {
        AcrossRow first = row;
        first.cells = row.cells;
        AcrossRow before = previous_first;
        before.cells = previous_cells;
        const int order = Order(before, first, *column);
        EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << "row " << r << " column " << *column;
      }
      previous_first = row;
      previous_cells.assign(row.cells.begin(), row.cells.end());
    }
    last_key = row.key;
    last_instance = row.instance;
  }
}

TEST(AcrossMatrix, RowsMadeAgainAreTheListedRowsInEverySortOrder) {
  const test::TempDir dir;
  const auto names = WriteInstallations(dir, 5);
  NullStatusSink status;
  for (const CompareCriteria& criteria : {CompareCriteria{}, test::FromBits(1 | 8)}) {
    AcrossMatrix matrix(criteria);
    for (const AcrossFileRead& read : matrix.Read(names, status)) EXPECT_TRUE(read.read);
    matrix.SetListed(kAllAcrossStatuses);
    matrix.List(Everything(), status);
    const Reference reference(names, criteria, {Everything(), kAllAcrossStatuses, nullptr});
    ExpectShownAsListed(matrix, reference, std::nullopt, true);
    // The listing's order is the engine's.
    for (int r = 0; r < matrix.RowCount(); ++r) {
      ASSERT_EQ(std::make_pair(matrix.Row(r).key, matrix.Row(r).instance), reference.rows.keys[r]);
    }
    for (int column = 0; column < kAcrossFirstFileColumn + matrix.FileCount(); ++column) {
      EXPECT_TRUE(matrix.SortBy(column, status));
      ExpectShownAsListed(matrix, reference, column, true);
      EXPECT_FALSE(matrix.SortBy(column, status));
      ExpectShownAsListed(matrix, reference, column, false);
    }
  }
}

TEST(AcrossMatrix, TheSortStaysThroughTypesStatusesAndTheFilter) {
  const test::TempDir dir;
  const auto names = WriteInstallations(dir, 4);
  NullStatusSink status;
  AcrossMatrix matrix({});
  (void)matrix.Read(names, status);
  matrix.List(Everything(), status);
  EXPECT_TRUE(matrix.SortBy(kAcrossNameColumn, status));
  EXPECT_FALSE(matrix.SortBy(kAcrossNameColumn, status));
  EXPECT_TRUE(matrix.SortBy(kAcrossNameColumn, status));  // a third click ascends again

  RowFilter tables_only;
  tables_only.types.fill(false);
  tables_only.types[1] = true;
  tables_only.hide_system = true;
  matrix.List(tables_only, status);
  const Reference tables(names, {}, {tables_only, kDefaultAcrossStatuses, nullptr});
  ExpectShownAsListed(matrix, tables, kAcrossNameColumn, true);

  Result<RowQuery> query = ParseRowQuery("id:1..50000 -name:zzz");
  ASSERT_TRUE(query);
  matrix.SetQuery(*query);
  matrix.SetListed(kAllAcrossStatuses);
  matrix.List(tables_only, status);
  const Reference filtered(names, {}, {tables_only, kAllAcrossStatuses, &*query});
  ExpectShownAsListed(matrix, filtered, kAcrossNameColumn, true);
  EXPECT_EQ(matrix.sort_column(), kAcrossNameColumn);
}

TEST(AcrossMatrix, CountsSayWhatIsListedAndWhatTheFilterHides) {
  const test::TempDir dir;
  const auto names = WriteInstallations(dir, 3);
  NullStatusSink status;
  AcrossMatrix matrix({});
  (void)matrix.Read(names, status);
  const Reference all(names, {}, {Everything(), kAllAcrossStatuses, nullptr});
  const long long differs = all.result.rows_by_status[AcrossStatus::kDiffers];
  const long long same = all.result.rows_by_status[AcrossStatus::kSame];
  ASSERT_GT(differs, 0);
  ASSERT_GT(same, 0);

  struct Case {
    AcrossStatuses listed;
    long long rows;
  };
  for (const Case& c : {Case{kDefaultAcrossStatuses, differs}, Case{{AcrossStatus::kSame}, same},
                        Case{kAllAcrossStatuses, differs + same}, Case{{}, 0}}) {
    matrix.SetListed(c.listed);
    matrix.List(Everything(), status);
    EXPECT_EQ(matrix.RowCount(), c.rows);
    EXPECT_EQ(matrix.Count(), (ListCount{c.rows, c.rows, false}));
    // Counted whatever is listed.
    EXPECT_EQ(matrix.StatusCount(AcrossStatus::kDiffers), differs);
    EXPECT_EQ(matrix.StatusCount(AcrossStatus::kSame), same);
    for (int r = 0; r < matrix.RowCount(); ++r) EXPECT_TRUE(c.listed.Has(matrix.Row(r).status));
  }

  // A row stays when the object of any file matches, not only the first file's.
  matrix.SetListed(kAllAcrossStatuses);
  Result<RowQuery> query = ParseRowQuery("name:\"renamed in 2\"");
  ASSERT_TRUE(query) << query.error();
  matrix.SetQuery(*query);
  matrix.List(Everything(), status);
  ASSERT_EQ(matrix.RowCount(), 1);
  EXPECT_EQ(TrimBlanks(matrix.Row(0).cells[2].record.substr(
                static_cast<std::size_t>(FieldOffset(Field::kName)), 30)),
            "Renamed in 2");
  EXPECT_NE(TrimBlanks(matrix.Row(0).name), "Renamed in 2");
  const Reference named(names, {}, {Everything(), kAllAcrossStatuses, &*query});
  ASSERT_GT(matrix.RowCount(), 0);
  EXPECT_EQ(matrix.RowCount(), static_cast<int>(named.rows.rows.size()));
  EXPECT_EQ(matrix.Count(), (ListCount{matrix.RowCount(), differs + same, true}));
}

}  // namespace
}  // namespace quillet
