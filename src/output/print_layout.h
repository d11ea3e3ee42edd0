#pragma once

#include <string>
#include <vector>

#include "list/object_list.h"

namespace quillet {

// The printed listing is text in a fixed-pitch font: every line is laid out by counting
// characters, every position derives from the line height. The header lines are 94 characters
// wide and every line starts with 8 blanks.
inline constexpr int kPrintLineWidth = 94;

// What the header shows: the texts of the two file panels and when it was printed.
// Windows-1252 text.
struct PrintHeader {
  std::string file1;
  std::string file2;
  std::string date_time;
};

// Measured on the output device, in its units.
struct PrintMetrics {
  double header_line_height = 0;  // in the bold header font
  double row_line_height = 0;
  double page_height = 0;  // of the printable area
};

// Characters of a line drawn over a tint: the fields that differ within a changed pair.
struct PrintedMark {
  int first = 0;  // character position in the line, from 0
  int length = 0;
};

struct PrintedLine {
  double y = 0;  // top of the line
  bool bold = false;
  std::string text;
  std::vector<PrintedMark> marks;
};

// The rows one page holds: [first_row, first_row + row_count), 0-based.
struct PrintPage {
  int first_row = 0;
  int row_count = 0;
};

// The date and time text of the header: the short date of the user's locale and the time of
// day, as Windows-1252 text.
std::string PrintDateTime();

// Header line 0, 1 or 3 of page `page_number` (from 1); line 2 is empty.
std::string PageHeaderLine(int line, const PrintHeader& header, int page_number);
// A row takes two lines: its file number and columns, then its version under the name; where
// the row has a status, it stands before the version, under the file number.
std::string RowFirstLine(const RowView& row);
std::string RowSecondLine(const RowView& row);
// Where the fields that changed stand in those lines.
std::vector<PrintedMark> RowFirstLineMarks(const RowView& row);
std::vector<PrintedMark> RowSecondLineMarks(const RowView& row);

// Which rows go on which page. The page-end test runs after every row, the last one included,
// so a last row that fills its page is followed by a page that holds only the header. There is
// always at least one page.
std::vector<PrintPage> PaginateRows(int row_count, const PrintMetrics& metrics);

// Every line of one page with its position: the bold header block, then two lines per row.
std::vector<PrintedLine> LayOutPage(const ObjectList& list, const PrintHeader& header,
                                    const PrintMetrics& metrics, const PrintPage& page,
                                    int page_number);

}  // namespace quillet
