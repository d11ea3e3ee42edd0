// The session's comparison across many files: shown instead of the list until a command lists
// again, two of its files handed to the changes view, files it could not read, and reloading.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "across_installations.h"
#include "commands/session.h"
#include "compare_fixtures.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::Everything;
using test::WriteInstallations;

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
