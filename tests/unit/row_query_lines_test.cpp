// Filters of several lines, the ID lines read back, and repeated words folded.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gen/generator.h"
#include "list/row_query.h"
#include "objects/code_page.h"
#include "objects/object_types.h"
#include "objects/text.h"
#include "output/list_formats.h"
#include "test_support.h"

namespace quillet {
namespace {

QueryRow Row(std::string_view type, std::string_view id, std::string_view name,
             std::string_view version = "", std::string_view status = "") {
  return {type, id, name, version, status};
}

const QueryRow kPosting = Row("Codeunit ", "        80", "Sales-Post", "NAVW17.00,CUST7.94");
const QueryRow kCustomer = Row("Table    ", "        18", "Customer", "NAVW17.10");
const QueryRow kTable27 = Row("Table    ", "0000000027", "Vendor", "NAVW17.10");
const QueryRow kCodeunit18 = Row("Codeunit ", "        18", "Customer-Post", "");
const QueryRow kOddType = Row("Query    ", "        18", "Customer", "");

// Which of the rows the filter keeps, as a string of 1s and 0s.
std::string Kept(std::string_view filter, std::initializer_list<QueryRow> rows) {
  const Result<RowQuery> query = ParseRowQuery(filter);
  EXPECT_TRUE(query.ok()) << filter << " -> " << query.error();
  std::string kept;
  for (const QueryRow& row : rows) kept += query.ok() && query->Matches(row) ? '1' : '0';
  return kept;
}

TEST(RowQueryLines, ARowPassesWhenAnyLineMatchesEachOfItsWords) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"post", "10010"},
      {"post\ncustomer", "11011"},  // either line
      {"post customer", "00010"},   // one line: both words
      {"post\r\ncustomer\r\n", "11011"},
      {"post\rcustomer", "11011"},
      {"\n\n  \npost\n\t\n", "10010"},  // lines without words do not count
      {"type:table\n-type:table id:18", "01111"},
      {"sales\n-customer", "10100"},
      {"\"sales-post\ncustomer\"", "00000"},  // a quote holds its line end: one word, one line
      {"post -post\ncustomer", "01011"},      // a line that cannot match leaves the others
  };
  for (const auto& [filter, kept] : cases) {
    EXPECT_EQ(Kept(filter, {kPosting, kCustomer, kTable27, kCodeunit18, kOddType}), kept) << filter;
  }
  const Result<RowQuery> never = ParseRowQuery("post -post\n-id:1.. id:1..");
  ASSERT_TRUE(never.ok());
  EXPECT_FALSE(never->MatchesEverything());
  EXPECT_FALSE(never->Matches(kPosting));
  EXPECT_FALSE(never->Matches(kOddType));
}

TEST(RowQueryLines, IdLinesReadAsTypeAndIds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Table: 18|27|5050..5060", "01100"},
      {"Table: 18|27|5050..5060\r\nCodeunit: 80|81\r\n", "11100"},
      {"table:  18", "01000"},  // any letter case, more than one blank
      {"Codeunit: 18 post", "00010"},
      {"Codeunit: 18|80 -sales", "00010"},
      {"Codeunit: 18\n", "00010"},
  };
  for (const auto& [filter, kept] : cases) {
    EXPECT_EQ(Kept(filter, {kPosting, kCustomer, kTable27, kCodeunit18, kOddType}), kept) << filter;
  }
  // Only where a line starts: elsewhere the word is what it always was. An ID line that cannot
  // be read says why.
  const std::vector<std::pair<std::string, std::string>> errors = {
      {"post Table: 18",
       "Table:: \"Table:\" is not a key word (id:, type:, tag:, name:, status:); put text with a "
       "colon in quotes"},
      {"Tables: 18",
       "Tables:: \"Tables:\" is not a key word (id:, type:, tag:, name:, status:); put text with "
       "a colon in quotes"},
      {"-Table: 18",
       "-Table:: \"Table:\" is not a key word (id:, type:, tag:, name:, status:); put text with a "
       "colon in quotes"},
      {"Table:", "Table:: nothing follows \"Table:\""},
      {"Table:  \npost", "Table:: nothing follows \"Table:\""},
      {"Table: 18|x", "Table: 18|x: \"x\" is not a whole number"},
      {"Page: 9..1",
       "Page: 9..1: \"9..1\" runs backwards: the first number must not be the "
       "greater"},
      {"Page: 1||2", "Page: 1||2: an alternative is empty"},
  };
  for (const auto& [filter, error] : errors) {
    const Result<RowQuery> query = ParseRowQuery(filter);
    EXPECT_FALSE(query.ok()) << filter;
    EXPECT_EQ(query.error(), error) << filter;
  }
}

// What the ID lines writer gives for some rows selects exactly the objects of those types and
// numbers, and nothing else, among rows with awkward IDs and types.
TEST(RowQueryLines, TheIdLinesOfRowsSelectExactlyTheirObjects) {
  gen::Options options;
  options.objects = 600;
  options.system_share = 0.1;
  std::vector<gen::Object> objects = gen::GenerateObjects(options);
  gen::Mutate(objects, 0.2, 3);
  std::mt19937 rng(7);
  const char* odd_ids[] = {"", "  1 8  ", "12A", "0000000018", "18", "     0"};
  const char* odd_types[] = {"table", "Query"};
  std::vector<test::TestRow> rows;
  for (gen::Object& object : objects) {
    if (rng() % 10 == 0) object.id = odd_ids[rng() % std::size(odd_ids)];
    if (rng() % 30 == 0) object.type = odd_types[rng() % std::size(odd_types)];
    rows.push_back(test::RowOf(1, {object.type, object.id, object.name, "", object.version}));
  }
  for (int round = 0; round < 20; ++round) {
    const auto formatter = ListFormatter::Make(ListFormat::kIds, {});
    std::set<std::pair<int, unsigned long long>> chosen;
    std::string lines;
    for (const test::TestRow& row : rows) {
      if (rng() % (1 + round) != 0) continue;
      formatter->AddRow(lines, row);
      const int type = TypeIndex(TrimBlanks(row.Cell(Column::kType)));
      const std::string_view id = TrimBlanks(row.Cell(Column::kId));
      if (type >= 0 && !id.empty() && id.find_first_not_of("0123456789") == std::string::npos) {
        chosen.emplace(type, std::stoull(std::string(id)));
      }
    }
    formatter->End(lines);
    const Result<RowQuery> query = ParseRowQuery(lines);
    ASSERT_TRUE(query.ok()) << query.error() << "\n" << lines;
    int kept = 0;
    for (const test::TestRow& row : rows) {
      const int type = TypeIndex(TrimBlanks(row.Cell(Column::kType)));
      const std::string_view id = TrimBlanks(row.Cell(Column::kId));
      const bool expected = type >= 0 && !id.empty() &&
                            id.find_first_not_of("0123456789") == std::string::npos &&
                            chosen.count({type, std::stoull(std::string(id))}) > 0;
      EXPECT_EQ(query->Matches(QueryRowOf(row)), expected)
          << row.Cell(Column::kType) << "|" << row.Cell(Column::kId) << "\n"
          << lines;
      kept += expected ? 1 : 0;
    }
    EXPECT_GT(kept, 0) << lines;
  }
}

// A pasted filter may repeat its words thousands of times: each distinct word costs once.
TEST(RowQueryLines, RepeatedWordsAreTestedOnce) {
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"post post POST Post", 1},
      {"name:x NAME:X name:\"x\"", 1},
      {"post name:post", 2},  // two different questions
      {"id:18 id:018 ID:18|18|0018", 1},
      {"id:1|2 id:2|1", 1},
      {"id:1|2 id:1", 2},
      {"type:table|codeunit TYPE:Codeunit|Table", 1},
      {"tag:A*|b tag:B|a*", 1},
      {"-post -post -POST", 1},
      {"post\npost\n POST ", 1},  // repeated lines too
      {"post -post", 0},          // a line that cannot match tests nothing
      {"a b\nb a", 2},
  };
  for (const auto& [filter, tests] : cases) {
    const Result<RowQuery> query = ParseRowQuery(filter);
    ASSERT_TRUE(query.ok()) << filter;
    EXPECT_EQ(query->TestCount(), tests) << filter;
  }
  std::string many;
  for (int i = 0; i < 10000; ++i) many += (i % 2 == 0 ? " post" : " -zz") + std::to_string(i % 10);
  const Result<RowQuery> query = ParseRowQuery(many);
  ASSERT_TRUE(query.ok());
  EXPECT_EQ(query->TestCount(), 10u);
  EXPECT_FALSE(query->Matches(kPosting));
  EXPECT_TRUE(query->Matches(Row("Form", "1", "post0 post2 post4 post6 post8")));
  EXPECT_FALSE(query->Matches(Row("Form", "1", "post0 post2 post4 post6 post8 zz3")));
}

}  // namespace
}  // namespace quillet
