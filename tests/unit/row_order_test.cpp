#include "list/row_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "list/object_list.h"
#include "list/row_query.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::RowOf;

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(RowOrder, LettersCompareWithoutTheirCaseAboveAsciiToo) {
  EXPECT_EQ(CompareCellTexts("Item", "ITEM"), 0);
  EXPECT_LT(CompareCellTexts("apple", "Banana"), 0);       // not by byte: 'a' > 'B'
  EXPECT_EQ(CompareCellTexts("Caf\xE9", "CAF\xC9"), 0);    // é É
  EXPECT_EQ(CompareCellTexts("\xC4rger", "\xE4rger"), 0);  // Ä ä
  EXPECT_EQ(CompareCellTexts("\x8A", "\x9A"), 0);          // Š š
  EXPECT_EQ(CompareCellTexts("\x9F", "\xFF"), 0);          // Ÿ ÿ
  EXPECT_NE(CompareCellTexts("\xD7", "\xF7"), 0);          // × and ÷ are no letters
  EXPECT_LT(CompareCellTexts("Zebra", "\xC4rger"), 0);     // accented letters after z
  EXPECT_GT(CompareCellTexts("\xFC", "z"), 0);
}

TEST(RowOrder, BlanksAndNumbersCompareAsTheCellsStand) {
  // Right-aligned in their field, numbers of any length order by value.
  EXPECT_LT(CompareCellTexts("        80", "       100"), 0);
  EXPECT_LT(CompareCellTexts("       100", "2000000001"), 0);
  // Left-aligned, they order as text.
  EXPECT_GT(CompareCellTexts("80        ", "100       "), 0);
  // A blank goes before every letter and digit; a shorter text before its continuations.
  EXPECT_LT(CompareCellTexts("Page     ", "PageX    "), 0);
  EXPECT_LT(CompareCellTexts("Page", "Page "), 0);
  EXPECT_EQ(Sign(CompareCellTexts("", "")), 0);
}

TEST(RowOrder, EqualCellsKeepTheirOrderBothWays) {
  EXPECT_EQ(CompareCellTexts(RowOf(2, {"Form", "1", "same"}).Cell(Column::kName),
                             RowOf(1, {"Page", "2", "SAME"}).Cell(Column::kName)),
            0);
  // The base's tag goes before file #1's, and file #1's before file #2's.
  EXPECT_LT(CompareCellTexts(FileTag(0), FileTag(1)), 0);
  EXPECT_LT(CompareCellTexts(FileTag(1), FileTag(2)), 0);

  ObjectTable table;
  ObjectList list(table);
  for (const char* name : {"b", "A", "B", "a", "c"}) {
    const std::string id(1, static_cast<char>('0' + list.RowCount()));
    list.Append(test::AddRecord(table, 1, {"Form", id, name}));
  }
  auto ids = [&] {
    std::string order;
    for (int row = 1; row <= list.RowCount(); ++row) order += list.CellText(row, Column::kId)[0];
    return order;
  };
  list.SortByColumn(Column::kName, true);
  EXPECT_EQ(ids(), "13024");
  list.SortByColumn(Column::kName, false);
  EXPECT_EQ(ids(), "40213");
}

// The plain way: texts compared whole, two at a time, equal ones kept in order.
std::vector<std::uint32_t> ReferenceOrder(const std::vector<std::string>& texts, bool ascending) {
  std::vector<std::uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int c = CompareCellTexts(texts[a], texts[b]);
    return ascending ? c < 0 : c > 0;
  });
  return order;
}

std::string RandomText(std::mt19937& rng, std::string_view alphabet, std::size_t longest) {
  std::string text(rng() % (longest + 1), ' ');
  for (char& c : text) c = alphabet[rng() % alphabet.size()];
  return text;
}

// The sort reads the texts' first bytes as keys, 11 at a time, and skips filling blanks: texts
// that end inside a key, go on past it, fold to 0, differ only past a blank, or are the same.
TEST(RowOrder, SortedOrderIsThatOfComparingTheTextsWhole) {
  std::mt19937 rng(11);
  const std::string letters("aAbB \0\x01\xE9\xC9\xFF", 10);
  struct Case {
    const char* what;
    std::vector<std::string> texts;
  };
  std::vector<Case> cases = {
      {"none", {}},
      {"one", {"x"}},
      {"ends and continuations",
       {"ab", std::string("ab\0", 3), std::string("AB\0\0", 4), std::string("ab\0a", 4), "ab ", "",
        "a", "abcdefghijk", "abcdefghijkl", "ABCDEFGHIJK", "abcdefghij"}},
      {"the same past the first key but for what follows blanks",
       {"abcdefghijk   ", "abcdefghijk  \x01", "abcdefghijk  !", "ABCDEFGHIJK   ", "abcdefghijk ",
        "abcdefghijk               ", "abcdefghijk    x", "abcdefghijk   "}},
  };
  Case shortish{"short texts of few letters", {}};
  Case padded{"long texts with a shared start, filled with blanks", {}};
  Case repeated{"the same texts many times, in either case", {}};
  for (int i = 0; i < 3000; ++i) {
    shortish.texts.push_back(RandomText(rng, letters, 14));
    std::string text = "Sales Header Archive " + RandomText(rng, letters, 20);
    text.resize(i % 3 == 0 ? 60 : 30 + rng() % 30, ' ');
    padded.texts.push_back(text);
    std::string same = i % 2 == 0 ? "NAVW17.10,NAVGB7.10" : "navw17.10,NAVgb7.10";
    same.resize(60, ' ');
    if (i % 7 == 0) same[40 + rng() % 20] = "aA\x01"[rng() % 3];
    repeated.texts.push_back(same);
  }
  cases.push_back(shortish);
  cases.push_back(padded);
  cases.push_back(repeated);
  for (const Case& c : cases) {
    const std::vector<std::string_view> views(c.texts.begin(), c.texts.end());
    for (const bool ascending : {true, false}) {
      const BulkVector<std::uint32_t> order = SortedOrder(views, ascending);
      EXPECT_EQ(std::vector<std::uint32_t>(order.begin(), order.end()),
                ReferenceOrder(c.texts, ascending))
          << c.what << (ascending ? ", ascending" : ", descending");
    }
  }
}

// A list sorted by each column in both directions is in the plain order, a keyed view's pairs
// stay together, and a filter in force leaves the same rows in their new order.
TEST(RowOrder, AListSortsAsTheTextsCompareAndKeepsPairsAndTheFilter) {
  std::mt19937 rng(5);
  ObjectTable table;
  ObjectList list(table);
  const std::string letters = "aAbB 19";
  std::vector<ObjectRow> rows;
  for (int i = 0; i < 400; ++i) {
    const int file = 1 + i % 2;
    const std::string type = i % 5 == 0 ? "Table" : "Codeunit";
    const std::string id = std::to_string(rng() % 60);
    const std::string name = "N " + RandomText(rng, letters, 12);
    const std::string version = "V" + RandomText(rng, letters, 14);
    ObjectRow row = test::AddRecord(table, file, {type, id, name, "", version, "01.02.03"});
    row.group = static_cast<std::uint32_t>(i / 2 + 1);  // pairs, in the keyed view
    row.status = static_cast<std::uint8_t>(i % 3);
    rows.push_back(row);
  }
  for (const ListView view : {ListView::kObjects, ListView::kChanges}) {
    for (int c = 0; c < kColumnCount + (HasStatus(view) ? 1 : 0); ++c) {
      const Column column = ColumnAt(c);
      for (const bool ascending : {true, false}) {
        {
          ObjectList::ChangeScope scope(list);
          list.RemoveAll();
          list.SetView(view);
          for (const ObjectRow& row : rows) list.Append(row);
        }
        // The plain order: pairs (or rows) by their first row's cell, equal ones as they were.
        std::vector<std::vector<ObjectRow>> units;
        for (const ObjectRow& row : rows) {
          if (HasStatus(view) && !units.empty() && units.back().front().group == row.group) {
            units.back().push_back(row);
          } else {
            units.push_back({row});
          }
        }
        std::stable_sort(units.begin(), units.end(), [&](const auto& a, const auto& b) {
          const int order = CompareCellTexts(list.ViewOf(a.front()).Cell(column),
                                             list.ViewOf(b.front()).Cell(column));
          return ascending ? order < 0 : order > 0;
        });
        std::vector<std::pair<int, std::uint32_t>> expected, sorted;
        for (const auto& unit : units) {
          for (const ObjectRow& row : unit) expected.emplace_back(row.file, row.index);
        }
        list.SetQuery(*ParseRowQuery("id:..29"));
        list.SortByColumn(column, ascending);
        const std::string where = "column " + std::to_string(c) + (ascending ? " up" : " down");
        for (const ObjectRow& row : list.AllRows()) sorted.emplace_back(row.file, row.index);
        ASSERT_EQ(sorted, expected) << where;

        // What the filter shows is what it finds over the sorted rows.
        std::vector<std::pair<int, std::uint32_t>> shown, found;
        for (int r = 1; r <= list.RowCount(); ++r)
          shown.emplace_back(list.Row(r).file, list.Row(r).index);
        list.SetQuery(*ParseRowQuery("id:..29"));
        for (int r = 1; r <= list.RowCount(); ++r)
          found.emplace_back(list.Row(r).file, list.Row(r).index);
        EXPECT_EQ(shown, found) << where;
        EXPECT_LT(list.RowCount(), list.AllRowCount()) << where;
        list.SetQuery({});
      }
    }
  }
}

}  // namespace
}  // namespace quillet
