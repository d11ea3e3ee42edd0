#include "output/print_layout.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "objects/code_page.h"
#include "platform/local_time.h"

namespace quillet {
namespace {

const std::string kIndent(8, ' ');
constexpr std::size_t kPanelTail = 55;
// The version stands under the name.
constexpr int kVersionStart = 31;
// Row line counter after a header: the first row takes lines 5 and 6.
constexpr int kFirstRowCounter = 2;

std::string Tail(const std::string& text, std::size_t length) {
  return text.size() <= length ? text : text.substr(text.size() - length);
}

// The left part, blanks, and the right part ending at the line's last character. At least one
// blank stays between them, however long they are.
std::string RightAligned(const std::string& left, const std::string& right) {
  const std::size_t used = left.size() + right.size();
  const std::size_t blanks = used < kPrintLineWidth ? kPrintLineWidth - used : 1;
  return left + std::string(blanks, ' ') + right;
}

}  // namespace

std::string PrintDateTime() {
  const std::tm local = LocalTime(std::time(nullptr));
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%x - %H:%M:%S", &local);
  // A locale may write its date in letters Windows-1252 lacks.
  return Utf8ToWindows1252({text, length});
}

std::string PageHeaderLine(int line, const PrintHeader& header, int page_number) {
  switch (line) {
    case 0:
      return RightAligned(kIndent + "File #1: " + Tail(header.file1, kPanelTail),
                          "Page " + std::to_string(page_number));
    case 1:
      return RightAligned(kIndent + "File #2: " + Tail(header.file2, kPanelTail), header.date_time);
    case 2:
      // The name under the other two, with as much of it as theirs.
      return header.base.empty() ? std::string()
                                 : kIndent + "Base:    " + Tail(header.base, kPanelTail);
    case 3:
      return kIndent + "# Type              ID Name / Version" + std::string(17, ' ') +
             "    Date     Time      BLOB size";
    default:
      return {};
  }
}

std::string RowFirstLine(const RowView& row) {
  std::string line = kIndent;
  line.reserve(kPrintLineWidth);
  line += static_cast<char>('0' + row.file);
  line += ' ';
  for (Column column : {Column::kType, Column::kId, Column::kName, Column::kModified, Column::kDate,
                        Column::kTime, Column::kBlobSize}) {
    line += row.Cell(column);
    line += ' ';
  }
  line += row.Cell(Column::kCompiled);
  return line;
}

std::string RowSecondLine(const RowView& row) {
  std::string line = kIndent;
  line += row.StatusText();
  line.resize(kVersionStart, ' ');
  return line + std::string(row.Cell(Column::kVersion));
}

std::vector<PrintedMark> RowFirstLineMarks(const RowView& row) {
  std::vector<PrintedMark> marks;
  int position = static_cast<int>(kIndent.size()) + 2;
  for (Column column : {Column::kType, Column::kId, Column::kName, Column::kModified, Column::kDate,
                        Column::kTime, Column::kBlobSize}) {
    const int width = FieldWidth(FieldOf(column));
    if ((row.changed & (1u << static_cast<int>(FieldOf(column)))) != 0) {
      marks.push_back({position, width});
    }
    position += width + 1;
  }
  return marks;
}

std::vector<PrintedMark> RowSecondLineMarks(const RowView& row) {
  if ((row.changed & (1u << static_cast<int>(Field::kVersion))) == 0) return {};
  return {{kVersionStart, FieldWidth(Field::kVersion)}};
}

PrintMetrics MetricsOf(const PrintPaper& paper) {
  PrintMetrics metrics;
  metrics.header_line_height = kPrintLineHeight;
  metrics.row_line_height = kPrintLineHeight;
  metrics.page_height = paper.height - paper.top - paper.bottom;
  return metrics;
}

std::vector<PrintPage> PaginateRows(int row_count, const PrintMetrics& metrics) {
  std::vector<PrintPage> pages(1);
  int counter = kFirstRowCounter;
  for (int row = 0; row < row_count; ++row) {
    ++counter;
    ++pages.back().row_count;
    if (2.0 * (counter + 3) * metrics.row_line_height >= metrics.page_height) {
      pages.push_back({row + 1, 0});
      counter = kFirstRowCounter;
    }
  }
  return pages;
}

std::vector<PrintedLine> LayOutPage(const ObjectList& list, const PrintHeader& header,
                                    const PrintMetrics& metrics, const PrintPage& page,
                                    int page_number) {
  std::vector<PrintedLine> lines;
  lines.reserve(4 + 2 * static_cast<std::size_t>(page.row_count));
  const double header_height = metrics.header_line_height;
  for (int line : {0, 1, 2, 3}) {
    std::string text = PageHeaderLine(line, header, page_number);
    if (!text.empty()) lines.push_back({line * header_height, true, std::move(text), {}});
  }
  const double h = metrics.row_line_height;
  int counter = kFirstRowCounter;
  for (int row = page.first_row; row < page.first_row + page.row_count; ++row) {
    ++counter;
    const RowView object = list.View(row + 1);
    lines.push_back(
        {(2 * counter - 1) * h, false, RowFirstLine(object), RowFirstLineMarks(object)});
    lines.push_back({2 * counter * h, false, RowSecondLine(object), RowSecondLineMarks(object)});
  }
  return lines;
}

ListPrintout::ListPrintout(const ObjectList& list, PrintHeader header, const PrintPaper& paper)
    : list_(list),
      header_(std::move(header)),
      paper_(paper),
      metrics_(MetricsOf(paper)),
      pages_(PaginateRows(list.RowCount(), metrics_)) {}

std::vector<PrintedLine> ListPrintout::Page(int index) const {
  return LayOutPage(list_, header_, metrics_, pages_.at(static_cast<std::size_t>(index)),
                    index + 1);
}

}  // namespace quillet
