#include "list/compare_criteria.h"

#include <gtest/gtest.h>

#include "compare_fixtures.h"

namespace quillet {
namespace {

using test::Obj;

bool Match(const Obj& a, const Obj& b, const CompareCriteria& criteria = {}) {
  ObjectTable table(1);
  test::StoreFile(table, 1, {a});
  test::StoreFile(table, 2, {b});
  return ObjectsMatch(table, criteria, 1, 1);
}

// One field differs at a time: the pair matches exactly when that field does not count,
// whatever the other boxes say. Modified and Compiled always count.
TEST(Criteria, EachBoxGovernsItsOwnFieldsOnly) {
  const std::pair<std::string Obj::*, int> fields[] = {
      {&Obj::type, 1},  {&Obj::id, 1},    {&Obj::name, 2},     {&Obj::version, 4}, {&Obj::date, 8},
      {&Obj::time, 16}, {&Obj::size, 32}, {&Obj::modified, 0}, {&Obj::compiled, 0}};
  for (const auto& [field, box] : fields) {
    Obj changed;
    changed.*field = "x" + changed.*field;
    for (int bits = 0; bits < 64; ++bits) {
      const bool counts = box == 0 || (bits & box) != 0;
      EXPECT_EQ(Match(Obj{}, changed, test::FromBits(bits)), !counts)
          << changed.*field << ", boxes " << bits;
    }
  }
}

TEST(Criteria, TextsCompareByteForByte) {
  Obj other;
  other.name = "posting";  // letter case counts
  EXPECT_FALSE(Match(Obj{}, other));
  other = {};
  other.id = "80";  // the same number, but not the same text
  EXPECT_FALSE(Match(Obj{}, other));
  other = {};
  other.date = "31.12.08";  // the same day, written otherwise
  EXPECT_FALSE(Match(Obj{}, other));
  other = {};
  other.name = "Posting     ";  // filling blanks are part of both texts
  EXPECT_TRUE(Match(Obj{}, other));
  Obj accented, capital;
  accented.name = "Caf\xE9";
  capital.name = "Caf\xC9";
  EXPECT_FALSE(Match(accented, capital));
  EXPECT_TRUE(Match(accented, accented));
}

// A report names the boxes ticked in the dialog's order; in a keyed comparison type and ID are
// the key, so they always count.
TEST(Criteria, ReportsNameTheTickedBoxes) {
  const std::pair<int, const char*> cases[] = {
      {63, "Type and ID, Name, Version, Date, Time, BLOB size"},
      {0, "nothing"},
      {2 | 32, "Name, BLOB size"},
      {1 | 16, "Type and ID, Time"},
  };
  for (const auto& [bits, text] : cases) {
    EXPECT_EQ(CriteriaText(test::FromBits(bits), false), text) << bits;
  }
  EXPECT_EQ(CriteriaText(test::FromBits(0), true), "Type and ID");
  EXPECT_EQ(CriteriaText(test::FromBits(4), true), "Type and ID, Version");
}

}  // namespace
}  // namespace quillet
