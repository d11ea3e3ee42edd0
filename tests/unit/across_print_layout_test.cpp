// The printout of the matrix: its cells under their files' numbers whatever the number of
// files, the letters other than A marked, and pages that hold every row once.
#include "output/across_print_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list/across_variants.h"

namespace quillet {
namespace {

// A row of `files` cells: every fifth file lacks the object, the others take turns at A, B, C
// and, on the last file, its own letter, the widest the row can hold.
struct Row {
  explicit Row(int files) {
    for (int file = 0; file < files; ++file) {
      AcrossCell cell;
      if (file % 5 != 4) {
        cell.index = file + 1;
        cell.variant = file == files - 1 ? files - 1 : file % 3;
      }
      cells.push_back(cell);
    }
    row.type = "Codeunit";
    row.id = "50123";
    row.name = "Posting Routine";
    row.variants = 3;
    row.cells = cells;
  }
  std::string Expected(int file) const {
    const AcrossCell& cell = cells[static_cast<std::size_t>(file)];
    return cell.HasObject() ? VariantLetters(cell.variant) : "-";
  }
  std::vector<AcrossCell> cells;
  AcrossRow row;
};

// The words of a line from the files' cells on, with where each ends.
std::vector<std::pair<std::string, std::size_t>> Words(const std::string& line) {
  std::vector<std::pair<std::string, std::size_t>> words;
  std::size_t at = 63;
  while (at < line.size()) {
    const std::size_t first = line.find_first_not_of(' ', at);
    if (first == std::string::npos) break;
    const std::size_t end = std::min(line.find(' ', first), line.size());
    words.emplace_back(line.substr(first, end - first), end);
    at = end;
  }
  return words;
}

TEST(AcrossPrintLayout, CellsStandUnderTheirFilesNumbersAndOnlyOtherLettersAreMarked) {
  for (const int files : {2, 12, 31, 100}) {
    SCOPED_TRACE(files);
    const AcrossPrintLayout layout({{}, "Type and ID, Name", "09.12.2026 03:00"}, files);
    const Row row(files);
    const std::vector<PrintedLine> lines = layout.RowLines(row.row);
    const std::vector<std::string> header = layout.HeaderLines(1);
    ASSERT_EQ(static_cast<int>(lines.size()), layout.LinesPerRow());
    ASSERT_EQ(header.size(), 3u + lines.size());
    EXPECT_EQ(lines[0].text.substr(0, 36), "        Codeunit       50123 Posting");
    int file = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
      const std::string& text = lines[l].text;
      EXPECT_EQ(text.substr(0, 8), std::string(8, ' '));
      EXPECT_LE(text.size(), kPrintLineWidth);
      EXPECT_LE(header[3 + l].size(), kPrintLineWidth);
      const auto cells = Words(text);
      const auto numbers = Words(header[3 + l]);
      ASSERT_EQ(cells.size(), numbers.size());
      std::size_t mark = 0;
      for (std::size_t c = 0; c < cells.size(); ++c, ++file) {
        EXPECT_EQ(cells[c].first, row.Expected(file)) << file;
        EXPECT_EQ(numbers[c].first, std::to_string(file + 1));
        EXPECT_EQ(cells[c].second, numbers[c].second) << "not under its number: " << file;
        const AcrossCell& cell = row.cells[static_cast<std::size_t>(file)];
        if (!cell.HasObject() || cell.variant == 0) continue;
        ASSERT_LT(mark, lines[l].marks.size());
        const PrintedMark& m = lines[l].marks[mark++];
        EXPECT_EQ(
            text.substr(static_cast<std::size_t>(m.first), static_cast<std::size_t>(m.length)),
            row.Expected(file));
      }
      EXPECT_EQ(mark, lines[l].marks.size());
    }
    EXPECT_EQ(file, files);
  }
}

TEST(AcrossPrintLayout, PagesHoldEveryRowOnceUnderTheirHeader) {
  const PrintMetrics metrics{12, 10, 700};
  for (const int files : {3, 40}) {
    for (const int rows : {0, 1, 57, 400}) {
      SCOPED_TRACE(std::to_string(files) + " files, " + std::to_string(rows) + " rows");
      const AcrossPrintLayout layout({std::vector<std::string>(files, "site.fob"), "", ""}, files);
      const std::vector<PrintPage> pages = layout.Paginate(rows, metrics);
      ASSERT_FALSE(pages.empty());
      int next = 0;
      const Row row(files);
      for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].first_row, next);
        if (rows > 0) {
          EXPECT_GT(pages[p].row_count, 0);
        }
        next += pages[p].row_count;
        const std::vector<PrintedLine> lines =
            layout.LayOutPage([&](int) -> const AcrossRow& { return row.row; }, metrics, pages[p],
                              static_cast<int>(p) + 1);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines[0].bold);
        EXPECT_NE(lines[0].text.find("Page " + std::to_string(p + 1)), std::string::npos);
        // The file list only on the first page; the rows within the page.
        const auto first_after_header = static_cast<std::size_t>(2 + layout.LinesPerRow());
        const bool legend = lines.size() > first_after_header &&
                            lines[first_after_header].text.find("site.fob") != std::string::npos;
        EXPECT_EQ(legend, p == 0);
        if (pages[p].row_count > 1) {
          EXPECT_LE(lines.back().y + metrics.row_line_height, metrics.page_height);
        }
      }
      EXPECT_EQ(next, rows);
    }
  }
}

}  // namespace
}  // namespace quillet
