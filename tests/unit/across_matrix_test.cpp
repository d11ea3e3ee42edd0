// The window's comparison across many files without the window: the rows it keeps as two
// numbers each and makes again, its sort (a key's rows together), its counts and filter, and
// the session showing it, hiding it and handing two of its files to the changes view.
#include "commands/across_matrix.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "across_test_support.h"
#include "commands/session.h"
#include "gen/generator.h"
#include "list/row_order.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::CollectAcross;

// Installations of one release, each changed on its own, with repeated tables (keys twice in
// one file) and objects only some files have.
std::vector<std::filesystem::path> WriteInstallations(const test::TempDir& dir, int count,
                                                      int objects = 120) {
  gen::Options options;
  options.objects = objects;
  options.repeated_tables = 6;
  options.system_share = 0.1;
  const std::vector<gen::Object> release = gen::GenerateObjects(options);
  std::vector<std::filesystem::path> names;
  for (int f = 0; f < count; ++f) {
    std::vector<gen::Object> copy = release;
    gen::Mutate(copy, 0.15, static_cast<std::uint32_t>(31 * f + 5));
    // A name only this file gives its object.
    if (f > 0)
      copy[static_cast<std::size_t>(f * 7) % copy.size()].name = "Renamed in " + std::to_string(f);
    names.push_back(dir / ("install" + std::to_string(f) + ".fob"));
    EXPECT_TRUE(gen::WriteFile(names.back().string(), gen::EncodeFile(copy, options)));
  }
  return names;
}

RowFilter Everything() {
  RowFilter every;
  every.types.fill(true);
  return every;
}

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

// Counts the observer's calls: every change is announced before and told after, in pairs.
class CountingObserver final : public ListObserver {
 public:
  void ListAboutToChange() override {
    EXPECT_FALSE(open);
    open = true;
    ++changes;
  }
  void ListChanged() override {
    EXPECT_TRUE(open);
    open = false;
  }
  bool open = false;
  int changes = 0;
};

class SessionAcrossTest : public ::testing::Test {
 protected:
  void SetUp() override {
    names_ = WriteInstallations(dir_, 4);
    session_.SetRowFilter(Everything());
    session_.SetAcrossObserver(&observer_);
  }

  test::TempDir dir_;
  std::vector<std::filesystem::path> names_;
  ObjectTable table_;
  test::StatusRecorder status_;
  test::RecordingMessages messages_;
  CountingObserver observer_;
  Session session_{table_, status_, messages_};
};

TEST_F(SessionAcrossTest, TheMatrixShowsUntilACommandShowsTheList) {
  session_.Load(names_[0], 1);
  const int listed = session_.list().RowCount();
  ASSERT_GT(listed, 0);
  for (const AcrossFileRead& read : session_.CompareAcross(names_, {})) EXPECT_TRUE(read.read);
  ASSERT_NE(session_.across(), nullptr);
  EXPECT_TRUE(session_.AcrossShown());
  EXPECT_GT(session_.across()->RowCount(), 0);
  EXPECT_EQ(session_.list().RowCount(), listed);  // the list stays underneath
  EXPECT_EQ(status_.Now(Panel::kActivity), "Finished");
  EXPECT_EQ(status_.Now(Panel::kCount), CountText(session_.across()->RowCount()));

  // The type buttons list the matrix again, not the list.
  const int rows = session_.across()->RowCount();
  session_.ToggleType(1);
  session_.Relist();
  EXPECT_TRUE(session_.AcrossShown());
  EXPECT_LT(session_.across()->RowCount(), rows);
  EXPECT_EQ(session_.list().RowCount(), listed);

  // The filter bar filters the matrix while it shows, and the list too.
  ASSERT_TRUE(session_.SetFilter("type:Codeunit"));
  for (int r = 0; r < session_.across()->RowCount(); ++r) {
    EXPECT_EQ(session_.across()->Row(r).type, "Codeunit");
  }
  EXPECT_TRUE(session_.across()->Count().filtered);

  // Showing the list hides the matrix; it is kept and shows again as the filter is now.
  session_.ShowAll();
  EXPECT_FALSE(session_.AcrossShown());
  ASSERT_NE(session_.across(), nullptr);
  ASSERT_TRUE(session_.SetFilter(""));
  session_.ShowAcross();
  EXPECT_TRUE(session_.AcrossShown());
  EXPECT_FALSE(session_.across()->Count().filtered);

  // Its files are loaded files: watched, reloaded, told of changes.
  const auto loaded = session_.LoadedFiles();
  for (const auto& name : names_) {
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), name), loaded.end());
  }
  session_.FileChanged(names_[2]);
  EXPECT_TRUE(session_.ChangedOnDisk());
  EXPECT_TRUE(session_.across()->File(2).changed_on_disk);

  // A new matrix replaces the old, and New forgets it; whoever watched it was told each time.
  (void)session_.CompareAcross({names_[0], names_[1]}, {});
  EXPECT_EQ(session_.across()->FileCount(), 2);
  EXPECT_FALSE(session_.ChangedOnDisk());
  session_.New();
  EXPECT_EQ(session_.across(), nullptr);
  EXPECT_FALSE(session_.AcrossShown());
  EXPECT_FALSE(observer_.open);
  EXPECT_GT(observer_.changes, 4);
}

TEST_F(SessionAcrossTest, ShowChangesBetweenTwoFilesListsTheRowsWhereTheirLettersDiffer) {
  const CompareCriteria criteria = test::FromBits(1 | 4 | 16);  // key, version, time
  (void)session_.CompareAcross(names_, criteria);
  session_.SetAcrossListed(kAllAcrossStatuses);
  // What the matrix says of files 1 and 3: the keys on which their letters differ.
  std::multiset<std::pair<std::string, std::string>> differing;
  const AcrossMatrix& matrix = *session_.across();
  for (int r = 0; r < matrix.RowCount(); ++r) {
    const AcrossRow& row = matrix.Row(r);
    const AcrossCell &a = row.cells[1], &b = row.cells[3];
    if (a.HasObject() != b.HasObject() || a.variant != b.variant) {
      differing.insert({std::string(row.type), std::string(row.id)});
    }
  }
  ASSERT_FALSE(differing.empty());

  // The objects come from what the matrix read: the files need not be there any more.
  std::filesystem::remove(names_[1]);
  std::filesystem::remove(names_[3]);
  session_.ShowChangesBetween(1, 3);
  EXPECT_FALSE(session_.AcrossShown());
  EXPECT_EQ(session_.compared(), CompareMode::kChanges);
  EXPECT_EQ(session_.criteria(), criteria);
  EXPECT_EQ(session_.Slot(1).name, names_[1]);
  EXPECT_EQ(session_.Slot(2).name, names_[3]);
  EXPECT_EQ(status_.Now(Panel::kFile2), test::Utf8Name(names_[3]));

  session_.SetListed(
      ChangeStatuses{ChangeStatus::kChanged, ChangeStatus::kOnlyIn1, ChangeStatus::kOnlyIn2}
          .Bits());
  std::multiset<std::pair<std::string, std::string>> changed;
  const ObjectList& list = session_.list();
  std::set<int> groups;
  for (int row = 1; row <= list.RowCount(); ++row) {
    // A changed pair is two rows of one group: the key once.
    if (!groups.insert(list.Row(row).group).second) continue;
    changed.insert({std::string(TrimBlanks(list.CellText(row, Column::kType))),
                    std::string(TrimBlanks(list.CellText(row, Column::kId)))});
  }
  EXPECT_EQ(changed, differing);
  EXPECT_THROW(session_.ShowChangesBetween(2, 2), std::out_of_range);
}

TEST_F(SessionAcrossTest, FilesThatCannotBeReadAreSaidAndReloadReadsTheRestAgain) {
  const std::filesystem::path folder = dir_ / "folder.fob";
  std::filesystem::create_directory(folder);
  std::vector<std::filesystem::path> names = {names_[0], folder, names_[1], dir_ / "missing.fob"};
  const std::vector<AcrossFileRead> reads = session_.CompareAcross(names, {});
  ASSERT_EQ(reads.size(), 4u);
  EXPECT_TRUE(reads[0].read);
  EXPECT_FALSE(reads[1].read);
  EXPECT_FALSE(reads[1].read.error().empty());
  EXPECT_EQ(reads[3].read.error(), "no such file");
  const AcrossMatrix& matrix = *session_.across();
  EXPECT_EQ(matrix.table().Count(matrix.Area(1)), 0);
  // Every row lacks the object of the files that hold none: every row differs.
  EXPECT_EQ(matrix.StatusCount(AcrossStatus::kSame), 0);

  // A file changed on disk is read again; one gone since keeps what it held.
  const int first_count = matrix.table().Count(matrix.Area(0));
  const std::string two_objects =
      test::LineA("Codeunit", "1", "One", "01.01.10", "1:00:00", "1", "V1") +
      test::LineA("Codeunit", "2", "Two", "01.01.10", "1:00:00", "1", "V1") + "\x1A";
  dir_.Write("install0.fob", two_objects);
  const int third_count = matrix.table().Count(matrix.Area(2));
  std::filesystem::remove(names_[1]);
  session_.FileChanged(names_[0]);
  const std::vector<AcrossFileRead> again = session_.Reload();
  EXPECT_FALSE(session_.ChangedOnDisk());
  ASSERT_EQ(again.size(), 4u);
  EXPECT_NE(first_count, 2);
  EXPECT_EQ(session_.across()->table().Count(matrix.Area(0)), 2);
  EXPECT_EQ(again[2].read.error(), "no such file");
  EXPECT_EQ(session_.across()->table().Count(matrix.Area(2)), third_count);
  EXPECT_TRUE(session_.AcrossShown());
  EXPECT_GT(session_.across()->RowCount(), 0);
}

}  // namespace
}  // namespace quillet
