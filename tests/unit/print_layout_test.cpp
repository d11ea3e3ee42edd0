#include "output/print_layout.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quillet {
namespace {

using test::RowOf;

TEST(PrintLayout, HeaderLinesAreNinetyFourCharactersWithTheRightPartAtTheEnd) {
  const std::string long_path = "C:\\" + std::string(70, 'd') + "\\obj.fob";  // 81 characters
  const PrintHeader header{long_path, "no file", "07.12.2026 - 09:30:00"};
  const std::string line0 = PageHeaderLine(0, header, 12);
  EXPECT_EQ(line0.size(), 94u);
  EXPECT_EQ(line0.substr(0, 17), "        File #1: ");
  EXPECT_EQ(line0.substr(17, 55), long_path.substr(long_path.size() - 55));
  EXPECT_EQ(line0.substr(94 - 7), "Page 12");
  const std::string line1 = PageHeaderLine(1, header, 12);
  EXPECT_EQ(line1.size(), 94u);
  EXPECT_EQ(line1.rfind("        File #2: no file ", 0), 0u);
  EXPECT_EQ(line1.substr(94 - 21), "07.12.2026 - 09:30:00");
  const std::string line3 = PageHeaderLine(3, header, 1);
  EXPECT_EQ(line3.size(), 94u);
  EXPECT_EQ(line3.find("ID"), 8u + 20);
  EXPECT_EQ(line3.find("Name / Version"), 8u + 23);
  EXPECT_EQ(line3.find("Date"), 8u + 58);
  EXPECT_EQ(line3.find("BLOB size"), 8u + 77);
  EXPECT_EQ(PageHeaderLine(2, header, 1), "");
  // Parts too long for the line keep a blank between them.
  const std::string crowded =
      PageHeaderLine(1, {"", std::string(80, 'x'), std::string(30, 't')}, 1);
  EXPECT_NE(crowded.find("x t"), std::string::npos);
}

TEST(PrintLayout, TheBaseStandsUnderTheFilesWhenOneIsLoaded) {
  ObjectTable table;
  ObjectList list(table);
  list.Append(test::AddRecord(table, 1, {"Form", "7"}));
  const std::string long_base = "/srv/" + std::string(60, 'b') + "/base.fbk";
  struct Case {
    std::string base;
    std::string line2;  // empty: the line stays empty, as without a base
  };
  const Case cases[] = {
      {"", ""},
      {"base.fbk", "        Base:    base.fbk"},
      {long_base, "        Base:    " + long_base.substr(long_base.size() - 55)},
  };
  const PrintMetrics metrics{12, 10, 200};
  for (const Case& c : cases) {
    const PrintHeader header{"one.fob", "two.fob", "now", c.base};
    EXPECT_EQ(PageHeaderLine(2, header, 1), c.line2) << c.base;
    // The names stand one under the other, the base's too.
    EXPECT_EQ(PageHeaderLine(0, header, 1).find("one.fob"), 17u);
    EXPECT_EQ(PageHeaderLine(1, header, 1).find("two.fob"), 17u);
    const auto lines = LayOutPage(list, header, metrics, PaginateRows(1, metrics)[0], 1);
    ASSERT_EQ(lines.size(), (c.base.empty() ? 3u : 4u) + 2) << c.base;
    if (!c.base.empty()) {
      EXPECT_EQ(lines[2].y, 24);
      EXPECT_TRUE(lines[2].bold);
      EXPECT_EQ(lines[2].text, c.line2);
    }
    // The rows keep their lines: a base costs no row.
    EXPECT_EQ(lines[lines.size() - 2].y, 50) << c.base;
  }
}

TEST(PrintLayout, RowsLineUpUnderTheTitles) {
  const auto row = RowOf(2, {"Codeunit", "        80", "Posting", "", "V2,V3", "2008-12-31",
                             "12:00:00", "      1234", ""});
  const std::string first = RowFirstLine(row);
  EXPECT_EQ(first.size(), 8u + 91);
  EXPECT_EQ(first.substr(8, 2), "2 ");
  EXPECT_EQ(first.substr(8 + 2, 9), "Codeunit ");
  EXPECT_EQ(first.substr(8 + 12, 10), "        80");
  EXPECT_EQ(first.substr(8 + 23, 7), "Posting");
  EXPECT_EQ(first.substr(8 + 56, 10), "2008-12-31");
  EXPECT_EQ(first.substr(8 + 67, 8), "12:00:00");
  EXPECT_EQ(first.substr(8 + 79, 10), "      1234");
  const std::string second = RowSecondLine(row);
  EXPECT_EQ(second.find("V2,V3"), 8u + 23);  // the version stands under the name
  EXPECT_EQ(RowFirstLine(RowOf(1, {"Table"})).substr(8, 2), "1 ");
}

TEST(PrintLayout, PagesEndWhenTheNextRowWouldCrowdTheBottom) {
  // Line height 10 and page height 200: after a row at counter L the test is 20 * (L + 3) >= 200,
  // so a page holds rows at counters 3 to 7: five rows.
  const PrintMetrics metrics{12, 10, 200};
  auto counts = [&](int rows) {
    std::vector<int> result;
    for (const PrintPage& page : PaginateRows(rows, metrics)) result.push_back(page.row_count);
    return result;
  };
  EXPECT_EQ(counts(0), (std::vector<int>{0}));  // an empty list prints the header page
  EXPECT_EQ(counts(4), (std::vector<int>{4}));
  EXPECT_EQ(counts(5), (std::vector<int>{5, 0}));  // the last row ends the page: a header page
  EXPECT_EQ(counts(12), (std::vector<int>{5, 5, 2}));
  EXPECT_EQ(PaginateRows(12, metrics)[2].first_row, 10);
}

TEST(PrintLayout, ThePaperDecidesTheRowsPerPage) {
  ObjectTable table;
  ObjectList list(table);
  for (int i = 0; i < 100; ++i) list.Append(test::AddRecord(table, 1, {"Form", std::to_string(i)}));
  struct Case {
    const char* paper;
    PrintPaper size;
    int rows_per_page;
  };
  const Case cases[] = {
      {"A4 with the default margins", {}, 33},
      {"US Letter, the same margins", {612, 792, 30, 36, 30, 36}, 31},
      {"A4 without margins", {595, 842, 0, 0, 0, 0}, 37},
      {"A5", {420, 595, 30, 36, 30, 36}, 21},
  };
  for (const Case& c : cases) {
    const ListPrintout printout(list, {"a", "b", "now"}, c.size);
    EXPECT_EQ(printout.PageCount(), (100 + c.rows_per_page) / c.rows_per_page) << c.paper;
    const std::vector<PrintedLine> first = printout.Page(0);
    ASSERT_EQ(first.size(), 3u + 2 * c.rows_per_page) << c.paper;
    // Every line within the printable height, the last row's second line included.
    EXPECT_LE(first.back().y + kPrintLineHeight, c.size.height - c.size.top - c.size.bottom)
        << c.paper;
    EXPECT_NE(printout.Page(1)[0].text.find("Page 2"), std::string::npos) << c.paper;
  }
}

TEST(PrintLayout, APageIsItsHeaderThenTwoLinesPerRow) {
  ObjectTable table;
  ObjectList list(table);
  for (int i = 0; i < 6; ++i) list.Append(test::AddRecord(table, 1, {"Form", std::to_string(i)}));
  const PrintMetrics metrics{12, 10, 200};
  const std::vector<PrintPage> pages = PaginateRows(6, metrics);
  const auto lines = LayOutPage(list, {"a", "b", "now"}, metrics, pages[1], 2);
  ASSERT_EQ(lines.size(), 3u + 2);
  EXPECT_TRUE(lines[0].bold);
  EXPECT_EQ(lines[1].y, 12);
  EXPECT_EQ(lines[2].y, 36);  // the column titles on header line 3
  EXPECT_NE(lines[0].text.find("Page 2"), std::string::npos);
  EXPECT_FALSE(lines[3].bold);
  EXPECT_EQ(lines[3].y, 50);  // the first row on lines 5 and 6
  EXPECT_EQ(lines[4].y, 60);
  EXPECT_EQ(lines[3].text.substr(8 + 12, 10), test::Padded("5", 10));
}

}  // namespace
}  // namespace quillet
