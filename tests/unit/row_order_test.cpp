#include "list/row_order.h"

#include <gtest/gtest.h>

#include "list/object_list.h"
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

}  // namespace
}  // namespace quillet
