// The window's state and commands without the window: the files per slot, the view and its
// criteria, the statuses listed, the filter, the sort and what changed on disk.
#include "commands/session.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "compare_fixtures.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::LineA;

struct Object {
  const char* type;
  const char* id;
  const char* name;
};

class SessionTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, std::initializer_list<Object> objects) {
    std::string header;
    for (const Object& o : objects) {
      header += LineA(o.type, o.id, o.name, "01.01.10", "1:00:00", "1", "V1");
    }
    return dir_.Write(name, header + "\x1A");
  }
  // one.fob and two.fob: the Codeunit is the same, the Table changed, the Page is only in
  // file #1, the Form only in file #2.
  void LoadBoth() {
    one_ = Write("one.fob", {{"Codeunit", "1", "A"}, {"Table", "2", "B"}, {"Page", "3", "C"}});
    two_ = Write("two.fob", {{"Codeunit", "1", "A"}, {"Table", "2", "B2"}, {"Form", "4", "D"}});
    session_.Load(one_, 1);
    session_.Load(two_, 2);
  }
  int Rows() const { return session_.list().RowCount(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int row = 1; row <= Rows(); ++row) {
      names.emplace_back(TrimBlanks(session_.list().CellText(row, Column::kName)));
    }
    return names;
  }

  test::TempDir dir_;
  std::filesystem::path one_, two_;
  ObjectTable table_;
  test::StatusRecorder status_;
  test::RecordingMessages messages_;
  Session session_{table_, status_, messages_};
};

TEST_F(SessionTest, SlotsHoldTheirFilesAndAMissingFileChangesNothing) {
  LoadBoth();
  EXPECT_EQ(session_.Load(one_, kBaseFile).status, LoadStatus::kLoaded);
  EXPECT_EQ(session_.Slot(kBaseFile).name, one_);
  EXPECT_EQ(session_.Slot(1).name, one_);
  EXPECT_EQ(session_.Slot(2).name, two_);
  EXPECT_EQ(Rows(), 6);  // the base is read, not listed

  EXPECT_EQ(session_.Load(dir_ / "none.fob", 1).status, LoadStatus::kMissing);
  EXPECT_EQ(session_.Slot(1).name, one_);
  EXPECT_EQ(Rows(), 6);
  EXPECT_TRUE(messages_.texts.empty());

  // A file that is there but cannot be read takes its slot and empties it, and says why.
  const std::filesystem::path folder = dir_ / "folder.fob";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(session_.Load(folder, 2).status, LoadStatus::kUnreadable);
  EXPECT_EQ(session_.Slot(2).name, folder);
  EXPECT_EQ(table_.Count(2), 0);
  EXPECT_EQ(Rows(), 3);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0].rfind("Unable to read the file: ", 0), 0u);

  session_.New();
  for (int file : {kBaseFile, 1, 2}) {
    EXPECT_TRUE(session_.Slot(file).name.empty()) << file;
    EXPECT_EQ(table_.Count(file), 0) << file;
  }
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(session_.LoadedFiles().empty());
}

TEST_F(SessionTest, CommandsFollowWhatIsLoaded) {
  const auto one = Write("one.fob", {{"Codeunit", "1", "A"}});
  struct Case {
    std::vector<int> slots;
    bool compare, upgrade, show_all, reload;
  };
  const Case cases[] = {
      {{}, false, false, false, false},
      {{1}, false, false, true, true},
      {{kBaseFile}, false, false, false, true},
      {{1, 2}, true, false, true, true},
      {{kBaseFile, 1, 2}, true, true, true, true},
  };
  for (const Case& c : cases) {
    session_.New();
    for (int file : c.slots) session_.Load(one, file);
    const std::string what = "slots " + std::to_string(c.slots.size());
    for (Command command :
         {Command::kCompareEqual, Command::kCompareDifferent, Command::kShowChanges}) {
      EXPECT_EQ(session_.Enabled(command), c.compare) << what;
    }
    EXPECT_EQ(session_.Enabled(Command::kShowUpgrade), c.upgrade) << what;
    EXPECT_EQ(session_.Enabled(Command::kShowAll), c.show_all) << what;
    EXPECT_EQ(session_.Enabled(Command::kReload), c.reload) << what;
    for (Command command : {Command::kNew, Command::kLoadFile1, Command::kSave, Command::kPrint,
                            TypeCommand(kTableType), Command::kFilter}) {
      EXPECT_TRUE(session_.Enabled(command)) << what;
    }
  }
}

TEST_F(SessionTest, TheTypesNarrowAKeyedComparisonAndRebuildAListing) {
  LoadBoth();
  session_.Compare(CompareMode::kChanges, {});
  EXPECT_EQ(session_.list().view(), ListView::kChanges);
  EXPECT_EQ(Rows(), 4);  // the changed pair and the two lone objects; the same is not listed
  ASSERT_EQ(session_.keyed_counts().size(), static_cast<std::size_t>(kChangeStatusCount));
  EXPECT_EQ(session_.keyed_counts()[static_cast<int>(ChangeStatus::kSame)], 1);

  EXPECT_FALSE(session_.ToggleType(kTableType));
  session_.Relist();
  EXPECT_EQ(session_.compared(), CompareMode::kChanges);
  EXPECT_EQ(Names(), (std::vector<std::string>{"D", "C"}));  // in the order of the type buttons

  session_.ShowAll();
  EXPECT_EQ(session_.compared(), CompareMode::kNone);
  EXPECT_EQ(session_.list().view(), ListView::kObjects);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C", "A", "D"}));
  EXPECT_TRUE(session_.ToggleType(kTableType));
  session_.Relist();
  EXPECT_EQ(Rows(), 6);

  // Reading a file into the view ends the comparison: its statuses would lie.
  session_.Compare(CompareMode::kChanges, {});
  session_.Load(one_, 1);
  EXPECT_EQ(session_.compared(), CompareMode::kNone);
  EXPECT_EQ(session_.list().view(), ListView::kObjects);
}

TEST_F(SessionTest, TheStatusesListedChangeTheRowsNotTheCounts) {
  LoadBoth();
  session_.Compare(CompareMode::kChanges, {});
  const std::vector<long long> counts = session_.keyed_counts();
  const unsigned same = ChangeStatuses{ChangeStatus::kSame}.Bits();
  session_.SetListed(same);
  EXPECT_EQ(session_.listed().changes.Bits(), same);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "A"}));
  EXPECT_EQ(session_.keyed_counts(), counts);
  // The choice stays for the next time the changes are shown.
  session_.ShowAll();
  session_.Compare(CompareMode::kChanges, {});
  EXPECT_EQ(Rows(), 2);
}

TEST_F(SessionTest, ReloadShowsTheSameViewOfTheFilesAsTheyAreNow) {
  LoadBoth();
  const CompareCriteria without_name = test::FromBits(1 | 4 | 8 | 16 | 32);
  session_.Compare(CompareMode::kChanges, without_name);
  EXPECT_EQ(Rows(), 2);  // the Table no longer differs; the lone objects stay
  EXPECT_FALSE(session_.ChangedOnDisk());

  Write("two.fob", {{"Codeunit", "1", "A"}, {"Table", "2", "B"}, {"Page", "3", "C"}});
  session_.FileChanged(two_);
  EXPECT_TRUE(session_.ChangedOnDisk());
  EXPECT_FALSE(session_.Slot(1).changed_on_disk);
  EXPECT_TRUE(session_.Slot(2).changed_on_disk);
  EXPECT_EQ(Rows(), 2);  // nothing is read without the user

  session_.Reload();
  EXPECT_FALSE(session_.ChangedOnDisk());
  EXPECT_EQ(session_.compared(), CompareMode::kChanges);
  EXPECT_EQ(session_.criteria(), without_name);
  EXPECT_EQ(session_.list().view(), ListView::kChanges);
  EXPECT_EQ(Rows(), 0);  // equal files now
}

TEST_F(SessionTest, ChangesOnDiskAreKeptPerSlot) {
  LoadBoth();
  session_.Load(one_, kBaseFile);
  EXPECT_EQ(session_.LoadedFiles(), (std::vector<std::filesystem::path>{one_, two_}));
  session_.FileChanged(one_);
  EXPECT_TRUE(session_.Slot(kBaseFile).changed_on_disk);
  EXPECT_TRUE(session_.Slot(1).changed_on_disk);

  // Another file in the base: file #1 still holds the changed file, which is still watched.
  session_.Load(two_, kBaseFile);
  EXPECT_FALSE(session_.Slot(kBaseFile).changed_on_disk);
  EXPECT_TRUE(session_.ChangedOnDisk());
  EXPECT_EQ(session_.LoadedFiles(), (std::vector<std::filesystem::path>{two_, one_}));
  session_.FileChanged(dir_ / "other.fob");  // not loaded: nothing to read again
  EXPECT_FALSE(session_.Slot(2).changed_on_disk);
}

// One file by two names, as a link gives it: the watch tells of a change by one name only.
TEST_F(SessionTest, AChangeMarksTheFileByAnyOfItsNames) {
  LoadBoth();
  // Another name of the same file: a link where the system makes them, else a longer path.
  std::filesystem::path link = dir_ / "link.fob";
  std::error_code no_link;
  std::filesystem::create_symlink(one_, link, no_link);
  if (no_link) link = dir_ / "." / one_.filename();
  session_.Load(link, kBaseFile);
  session_.FileChanged(one_);
  EXPECT_TRUE(session_.Slot(kBaseFile).changed_on_disk);
  EXPECT_TRUE(session_.Slot(1).changed_on_disk);
  EXPECT_FALSE(session_.Slot(2).changed_on_disk);
}

// Reading a base leaves what the list showed: a comparison stays a comparison, its rows
// without marks from before.
TEST_F(SessionTest, ABaseReadDuringAComparisonShowsItAgain) {
  LoadBoth();
  session_.Compare(CompareMode::kChanges, {});
  const int pairs = Rows();
  session_.Load(two_, kBaseFile);
  EXPECT_EQ(session_.list().view(), ListView::kChanges);
  EXPECT_EQ(Rows(), pairs);
  session_.Compare(CompareMode::kUpgrade, {});
  session_.Load(one_, kBaseFile);  // another base: the analysis against it
  EXPECT_EQ(session_.list().view(), ListView::kUpgrade);
  for (int row = 1; row <= Rows(); ++row) EXPECT_NE(session_.list().Row(row).group, 0u);
}

TEST(WithoutLastWord, LeavesTheWordsBeforeIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"type:codeunit id:12..a", "type:codeunit"},
      {"type:", ""},
      {"a  b\t c ", "a  b"},
      {"one\ntwo", "one"},
      {"", ""},
  };
  for (const auto& [text, before] : cases) EXPECT_EQ(WithoutLastWord(text), before) << text;
}

TEST_F(SessionTest, AHalfTypedWordThatCannotBeReadShowsTheWordsBeforeIt) {
  LoadBoth();
  // Typed key by key: "b" matches names with a b, and "b:" is no filter at all.
  for (const std::string text : {"t", "ty", "type:c", "type:codeunit", "type:codeunit b",
                                 "type:codeunit b:", "type:codeunit b:x"}) {
    static_cast<void>(session_.SetFilter(text));
  }
  EXPECT_EQ(session_.filter_text(), "type:codeunit");
  EXPECT_EQ(Rows(), 2);
  EXPECT_FALSE(session_.SetFilter("type:c").ok());
  EXPECT_EQ(session_.filter_text(), "");
  EXPECT_EQ(Rows(), 6);
}

// Found on the filter's thread, a filter typed key by key ends where the same keys on this
// thread end, and a half-typed word never restarts the filter already asked for.
TEST_F(SessionTest, AFilterFoundElsewhereEndsWhereOneFoundHereEnds) {
  LoadBoth();
  for (const std::string text : {"t", "ty", "type:c", "type:codeunit", "type:codeunit b",
                                 "type:codeunit b:", "type:codeunit b:x"}) {
    static_cast<void>(session_.StartFilter(text));
  }
  session_.background_filter().WaitUntilIdle();
  EXPECT_TRUE(session_.FinishFilter());
  EXPECT_EQ(session_.filter_text(), "type:codeunit");
  EXPECT_EQ(Rows(), 2);
  const int found = session_.background_filter().Found();
  EXPECT_FALSE(session_.StartFilter("type:codeunit b:y").ok());
  session_.background_filter().WaitUntilIdle();
  EXPECT_FALSE(session_.FilterPending());
  EXPECT_EQ(session_.background_filter().Found(), found);
  EXPECT_FALSE(session_.StartFilter("type:c").ok());  // the words before it: none, all rows
  EXPECT_EQ(session_.filter_text(), "");
  EXPECT_EQ(Rows(), 6);
}

TEST_F(SessionTest, ShownCountsFollowTheFilter) {
  LoadBoth();
  session_.Compare(CompareMode::kChanges, {});
  EXPECT_TRUE(session_.SetFilter("name:b").ok());  // the changed pair
  const std::vector<long long> shown = session_.ShownKeyedCounts();
  ASSERT_GT(shown.size(), static_cast<std::size_t>(ChangeStatus::kChanged));
  EXPECT_EQ(shown[static_cast<std::size_t>(ChangeStatus::kChanged)], 1);
  for (std::size_t status = 0; status < shown.size(); ++status) {
    if (status != static_cast<std::size_t>(ChangeStatus::kChanged)) {
      EXPECT_EQ(shown[status], 0);
    }
  }
  session_.ShowAll();
  EXPECT_TRUE(session_.ShownKeyedCounts().empty());
}

TEST_F(SessionTest, AFilterThatCannotBeReadKeepsTheLastGoodOne) {
  LoadBoth();
  EXPECT_TRUE(session_.SetFilter("type:codeunit").ok());
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(CountText(CountOf(session_.list())), "Count: 2 of 6");

  const Status bad = session_.SetFilter("type:codeunit id:12..ab");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.error(), "id:12..ab: \"ab\" is not a whole number");
  EXPECT_EQ(session_.filter_text(), "type:codeunit");
  EXPECT_EQ(Rows(), 2);

  session_.ShowAll();  // a new listing keeps the filter in force
  EXPECT_EQ(Rows(), 2);
  EXPECT_TRUE(session_.SetFilter("").ok());
  EXPECT_EQ(CountText(CountOf(session_.list())), "Count: 6");
}

TEST_F(SessionTest, SortingAlternatesAndARebuildKeepsTheColumn) {
  LoadBoth();
  EXPECT_TRUE(session_.SortBy(Column::kName));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "A", "B", "B2", "C", "D"}));
  EXPECT_FALSE(session_.SortBy(Column::kName));
  EXPECT_EQ(Names(), (std::vector<std::string>{"D", "C", "B2", "B", "A", "A"}));
  EXPECT_TRUE(session_.SortBy(Column::kName));
  EXPECT_TRUE(session_.SortBy(Column::kId));  // another column starts ascending
  session_.ShowAll();  // in file order again, but the next click on ID sorts descending
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "A", "B2", "D"}));
  EXPECT_FALSE(session_.SortBy(Column::kId));
  EXPECT_EQ(session_.sort_column(), std::nullopt);
}

TEST_F(SessionTest, ALoadReportsInTheWindowsWords) {
  LoadBoth();
  using Texts = std::vector<std::string>;
  EXPECT_EQ(status_.Now(Panel::kFile2), test::Utf8Name(two_));
  EXPECT_TRUE(status_.icons[2]);
  EXPECT_EQ(status_.panels[Panel::kActivity],
            (Texts{"Analyzing...", "Loading...", "Loaded", "Displaying...", "Finished",
                   "Analyzing...", "Loading...", "Loaded", "Displaying...", "Finished"}));
  EXPECT_EQ(status_.Now(Panel::kProgress), "File 2: 3");
  EXPECT_EQ(status_.Now(Panel::kCount), "Count: 6");
  EXPECT_DOUBLE_EQ(status_.progress.back(), 0.0);

  // The base is read, not listed: its reading is the last thing reported.
  status_ = {};
  session_.Load(one_, kBaseFile);
  EXPECT_EQ(status_.Now(Panel::kBase), test::Utf8Name(one_));
  EXPECT_EQ(status_.panels[Panel::kActivity], (Texts{"Analyzing...", "Loading...", "Loaded"}));
  EXPECT_EQ(status_.Now(Panel::kProgress), "Base: 3");
  EXPECT_EQ(status_.Now(Panel::kCount), "");
  EXPECT_DOUBLE_EQ(status_.progress.back(), 50.0);
}

}  // namespace
}  // namespace quillet
