#pragma once

#include <functional>
#include <string>
#include <vector>

#include "list/across.h"
#include "output/print_layout.h"

namespace quillet {

// What the printout of a comparison across many files says above its rows. Windows-1252 text.
struct AcrossPrintHeader {
  std::vector<std::string> files;  // in order; the rows' cells are numbered after them
  std::string criteria;            // what was compared
  std::string date_time;
};

// Row `row` (from 0) of those printed; it stays valid until the next call.
using AcrossPrintedRow = std::function<const AcrossRow&(int row)>;

// The printout of the matrix as fixed-pitch text, as the list's printout is: every line starts
// with 8 blanks and none passes the header's width. A row is its type, ID, name and number of
// variants, then its files' letters under their numbers, as many a line as fit, the rest on
// the lines below; a file without the object stands as "-". A letter other than A is drawn on a
// tint, so a grey print shows where the files differ from the first. The header block (bold)
// repeats on every page; the first page lists the files by number under it.
class AcrossPrintLayout {
 public:
  AcrossPrintLayout(AcrossPrintHeader header, int file_count);

  // Lines a row takes, and the header's column lines.
  int LinesPerRow() const { return lines_per_row_; }
  // The bold header block of page `page_number` (from 1): the title and the page, what was
  // compared and the date, an empty line, the column titles.
  std::vector<std::string> HeaderLines(int page_number) const;
  // The files by number, under the first page's header.
  std::vector<std::string> LegendLines() const;
  // A row's lines, each with its marks; their y counts lines from 0.
  std::vector<PrintedLine> RowLines(const AcrossRow& row) const;

  // Which rows go on which page: as many as the page holds under its header (and on the first
  // page its file list), at least one. There is always a page.
  std::vector<PrintPage> Paginate(int row_count, const PrintMetrics& metrics) const;
  // Every line of one page with its position.
  std::vector<PrintedLine> LayOutPage(const AcrossPrintedRow& row, const PrintMetrics& metrics,
                                      const PrintPage& page, int page_number) const;

 private:
  double TopOfRows(const PrintMetrics& metrics, bool first_page) const;

  AcrossPrintHeader header_;
  int files_;
  int cell_width_;      // a blank and the widest letters or file number
  int cells_per_line_;  // of the files' cells
  int lines_per_row_;
};

// The matrix's printout on one paper, its pages decided once. The rows must stay as they are
// while the printout is used.
class AcrossPrintout final : public Printout {
 public:
  AcrossPrintout(AcrossPrintHeader header, int file_count, int row_count, AcrossPrintedRow row,
                 const PrintPaper& paper = {});

  int PageCount() const override { return static_cast<int>(pages_.size()); }
  const PrintPaper& paper() const override { return paper_; }
  std::vector<PrintedLine> Page(int index) const override;

 private:
  AcrossPrintLayout layout_;
  AcrossPrintedRow row_;
  PrintPaper paper_;
  PrintMetrics metrics_;
  std::vector<PrintPage> pages_;
};

}  // namespace quillet
