#pragma once

#include <functional>
#include <string>
#include <vector>

#include "list/object_list.h"

namespace quillet {

// The printed listing is text in a fixed-pitch font: every line is laid out by counting
// characters, every position derives from the line height. The header lines are 94 characters
// wide and every line starts with 8 blanks.
inline constexpr int kPrintLineWidth = 94;

// The one page every printout is laid out on, the command line's PDF and the window's printer
// alike, in points (1/72 inch). By default A4 portrait, 36 pt free at the top and the bottom and
// 30 pt at the sides: the widest line the layout makes (a row's first line, 99 characters) is
// 534.6 pt and fits the 535 pt between the side margins. A printer whose user chose other paper
// or margins gives its own, and the pages follow them.
struct PrintPaper {
  double width = 595;
  double height = 842;
  double left = 30;
  double top = 36;
  double right = 30;
  double bottom = 36;
};

// "Courier New" 9 points, in points. Its ascent and descent are 1705 and 615 units of 2048 per
// em (Liberation Mono, which stands in for it, has the same), and every character advances 0.6
// em. Every device draws at these positions, whatever fixed-pitch font it ends up with, so a
// page breaks at the same row everywhere.
inline constexpr double kPrintFontSize = 9;
inline constexpr double kPrintAscent = kPrintFontSize * 1705 / 2048;
inline constexpr double kPrintLineHeight = kPrintFontSize * (1705 + 615) / 2048;
inline constexpr double kPrintCharWidth = kPrintFontSize * 0.6;

// What the header shows: the texts of the file panels and when it was printed, Windows-1252
// text. The base is named only when one is loaded (not empty).
struct PrintHeader {
  std::string file1;
  std::string file2;
  std::string date_time;
  std::string base = {};
};

// The line heights and the printable height the pages are decided by, in one unit.
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

// The metrics of `paper`, in points.
PrintMetrics MetricsOf(const PrintPaper& paper);

// Header line 0, 1, 2 or 3 of page `page_number` (from 1); line 2 names the base, and is empty
// without one.
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

// Pages to print on one paper, each page's lines laid out when it is asked for, so a printout
// of any length costs one page at a time: what the printer, the PDF writer and the preview draw.
class Printout {
 public:
  virtual ~Printout() = default;

  virtual int PageCount() const = 0;
  virtual const PrintPaper& paper() const = 0;
  // The lines of page `index` (from 0), positions in points from the top of the printable area.
  virtual std::vector<PrintedLine> Page(int index) const = 0;
};

// The printout of a list: its pages decided once. The list must stay as it is while the
// printout is used.
class ListPrintout final : public Printout {
 public:
  ListPrintout(const ObjectList& list, PrintHeader header, const PrintPaper& paper = {});

  int PageCount() const override { return static_cast<int>(pages_.size()); }
  const PrintPaper& paper() const override { return paper_; }
  std::vector<PrintedLine> Page(int index) const override;

 private:
  const ObjectList& list_;
  PrintHeader header_;
  PrintPaper paper_;
  PrintMetrics metrics_;
  std::vector<PrintPage> pages_;
};

// How a printout ended when nothing failed: every page done; cancelled with nothing printed;
// or cancelled on a device that had taken the pages drawn so far and could not give them back.
enum class PrintEnd { kPrinted, kCancelled, kCancelledPartly };

// Told after each page how many of how many pages are done; false stops the printout there.
using PrintProgress = std::function<bool(int done, int total)>;

}  // namespace quillet
