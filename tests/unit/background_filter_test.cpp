#include "commands/background_filter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "list/object_list.h"
#include "list/row_query.h"
#include "test_support.h"

namespace quillet {
namespace {

using namespace std::chrono_literals;

// Rows of two files whose filters can be made to take seconds: every row is asked every word of
// a long filter of distinct words.
struct Rows {
  Rows() {
    for (const int file : {1, 2}) table.Reserve(file, 15000);
    ObjectList::ChangeScope scope(list);
    for (int i = 0; i < 30000; ++i) {
      const int file = 1 + i % 2;
      const std::string id = std::to_string(i / 2);
      list.Append(
          test::AddRecord(table, file, {i % 3 == 0 ? "Table" : "Codeunit", id, "Sales " + id}));
    }
  }
  static RowQuery Query(const std::string& text) { return *ParseRowQuery(text); }
  static std::string Long() {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += " -xyzzy" + std::to_string(i);
    return text;
  }
  std::vector<std::uint32_t> Expected(const std::string& text) const {
    const auto found = MatchingPositions(table, list.view(), list.AllRows(), Query(text));
    return {found->begin(), found->end()};
  }
  // Waits until the filter's thread is inside a filter, so that what follows meets it there.
  bool WaitRunning(const BackgroundFilter& filter) const {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!filter.Running()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
  ObjectTable table;
  ObjectList list{table};
};

std::vector<std::uint32_t> Positions(const FoundFilter& found) {
  return found.shown ? std::vector<std::uint32_t>(found.shown->begin(), found.shown->end())
                     : std::vector<std::uint32_t>{};
}

TEST(BackgroundFilter, ANewFilterStopsTheRunningOneAndOnlyTheLastIsHandedOut) {
  Rows t;
  BackgroundFilter filter(t.list);
  std::atomic<int> told = 0;
  const std::thread::id own = std::this_thread::get_id();
  std::atomic<bool> told_elsewhere = true;
  filter.SetFound([&] {
    ++told;
    if (std::this_thread::get_id() == own) told_elsewhere = false;
  });

  filter.Start(Rows::Query(Rows::Long()), "long");
  ASSERT_TRUE(t.WaitRunning(filter));
  filter.Start(Rows::Query("id:..99"), "short");
  filter.WaitUntilIdle();
  EXPECT_EQ(filter.Stopped(), 1);
  EXPECT_EQ(filter.Found(), 1);
  EXPECT_EQ(told, 1);
  EXPECT_TRUE(told_elsewhere);

  std::optional<FoundFilter> found = filter.Take();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text, "short");
  EXPECT_EQ(Positions(*found), t.Expected("id:..99"));
  EXPECT_EQ(Positions(*found).size(), 200u);
  EXPECT_FALSE(filter.Take());
  EXPECT_FALSE(filter.Pending());
}

// Keystrokes faster than the filter: whichever finished, the one typed last is what is shown.
TEST(BackgroundFilter, AFilterFoundBeforeANewerOneIsNeverHandedOut) {
  Rows t;
  BackgroundFilter filter(t.list);
  filter.Start(Rows::Query("type:table"), "type:table");
  filter.WaitUntilIdle();
  EXPECT_EQ(filter.Found(), 1);
  const std::vector<std::string> typed = {"s", "sa", "sal", "sale", "sales", "sales 1", "sales 12"};
  for (const std::string& text : typed) filter.Start(Rows::Query(text), text);
  EXPECT_TRUE(filter.Pending());
  filter.WaitUntilIdle();
  std::optional<FoundFilter> found = filter.Take();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text, "sales 12");
  EXPECT_EQ(Positions(*found), t.Expected("sales 12"));
  EXPECT_FALSE(filter.Take());

  // Abandoned while it runs: nothing is handed out, nothing waits.
  filter.Start(Rows::Query(Rows::Long()), "long");
  ASSERT_TRUE(t.WaitRunning(filter));
  filter.Cancel();
  filter.WaitUntilIdle();
  EXPECT_FALSE(filter.Pending());
  EXPECT_FALSE(filter.Take());
  EXPECT_GE(filter.Stopped(), 1);
}

// What was found over rows that changed since is found again over the new rows; a filter
// running when they change is stopped first, so it never reads rows being changed.
TEST(BackgroundFilter, ChangedRowsStopTheFilterAndItIsFoundAgainOverThem) {
  Rows t;
  BackgroundFilter filter(t.list);
  filter.Start(Rows::Query("type:codeunit"), "type:codeunit");
  filter.WaitUntilIdle();
  t.list.RemoveRowsOfFile(2);
  filter.WaitUntilIdle();
  std::optional<FoundFilter> found = filter.Take();
  ASSERT_TRUE(found);
  EXPECT_EQ(Positions(*found), t.Expected("type:codeunit"));
  EXPECT_EQ(Positions(*found).size(), 10000u);

  filter.Start(Rows::Query(Rows::Long() + " type:table"), "long");
  ASSERT_TRUE(t.WaitRunning(filter));
  {
    // A command that changes the rows several times finds the filter once, at its end.
    const FilterHold hold(filter);
    t.list.RemoveAll();
    EXPECT_FALSE(filter.Running());
    for (int i = 1; i <= 10; ++i) t.list.Append(ObjectRow::FromRecord(t.table, 1, i));
    EXPECT_FALSE(filter.Running());
    filter.Start(Rows::Query("type:table"), "type:table");
    EXPECT_FALSE(filter.Running());
  }
  filter.WaitUntilIdle();
  EXPECT_EQ(filter.Stopped(), 1);
  found = filter.Take();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text, "type:table");
  EXPECT_EQ(Positions(*found), t.Expected("type:table"));
  EXPECT_EQ(Positions(*found).size(), 4u);
}

}  // namespace
}  // namespace quillet
