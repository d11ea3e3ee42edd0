#include "output/across_print_layout.h"

#include <algorithm>
#include <utility>

#include "list/across_variants.h"
#include "objects/text.h"

namespace quillet {
namespace {

const std::string kIndent(8, ' ');
// The key, the name and the variants before the files' cells: 8 + 9 + 1 + 10 + 1 + 30 + 1 + 3.
constexpr int kCellsStart = 63;
constexpr std::size_t kNameTail = 80;

std::string Tail(const std::string& text, std::size_t length) {
  return text.size() <= length ? text : text.substr(text.size() - length);
}

std::string RightAligned(const std::string& left, const std::string& right) {
  const std::size_t used = left.size() + right.size();
  const std::size_t blanks = used < kPrintLineWidth ? kPrintLineWidth - used : 1;
  return left + std::string(blanks, ' ') + right;
}

// `text` in `width` characters, at the right; a longer text keeps its start.
std::string RightIn(std::string_view text, int width) {
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) return std::string(text.substr(0, w));
  return std::string(w - text.size(), ' ') + std::string(text);
}

std::string LeftIn(std::string_view text, int width) {
  std::string field(text.substr(0, static_cast<std::size_t>(width)));
  field.resize(static_cast<std::size_t>(width), ' ');
  return field;
}

}  // namespace

AcrossPrintLayout::AcrossPrintLayout(AcrossPrintHeader header, int file_count)
    : header_(std::move(header)), files_(std::max(file_count, 0)) {
  // A row holds at most a letter per file, so the last file's number and letters are the widest.
  const std::size_t letters = VariantLetters(std::max(files_ - 1, 0)).size();
  const std::size_t number = DecimalText(std::max(files_, 1)).size();
  cell_width_ = 1 + static_cast<int>(std::max(letters, number));
  cells_per_line_ = std::max(1, (static_cast<int>(kPrintLineWidth) - kCellsStart) / cell_width_);
  lines_per_row_ = std::max(1, (files_ + cells_per_line_ - 1) / cells_per_line_);
}

std::vector<std::string> AcrossPrintLayout::HeaderLines(int page_number) const {
  std::vector<std::string> lines;
  lines.push_back(RightAligned(kIndent + "Comparison across " + DecimalText(files_) + " files",
                               "Page " + DecimalText(page_number)));
  lines.push_back(RightAligned(kIndent + "Compared: " + header_.criteria, header_.date_time));
  lines.emplace_back();
  for (int line = 0; line < lines_per_row_; ++line) {
    std::string text = line == 0 ? kIndent + LeftIn("Type", 9) + " " + RightIn("ID", 10) + " " +
                                       LeftIn("Name", 30) + " " + RightIn("Var", 3)
                                 : std::string(kCellsStart, ' ');
    const int first = line * cells_per_line_;
    for (int file = first; file < std::min(files_, first + cells_per_line_); ++file) {
      text += RightIn(DecimalText(file + 1), cell_width_);
    }
    lines.push_back(std::move(text));
  }
  return lines;
}

std::vector<std::string> AcrossPrintLayout::LegendLines() const {
  std::vector<std::string> lines;
  const int width = static_cast<int>(DecimalText(std::max(files_, 1)).size());
  for (int file = 0; file < files_; ++file) {
    const std::string name =
        static_cast<std::size_t>(file) < header_.files.size() ? header_.files[file] : "";
    lines.push_back(kIndent + RightIn(DecimalText(file + 1), width) + " " + Tail(name, kNameTail));
  }
  return lines;
}

std::vector<PrintedLine> AcrossPrintLayout::RowLines(const AcrossRow& row) const {
  std::vector<PrintedLine> lines(static_cast<std::size_t>(lines_per_row_));
  lines[0].text = kIndent + LeftIn(row.type, 9) + " " + RightIn(row.id, 10) + " " +
                  LeftIn(row.name, 30) + " " + RightIn(DecimalText(row.variants), 3);
  for (int line = 1; line < lines_per_row_; ++line) {
    lines[static_cast<std::size_t>(line)].text = std::string(kCellsStart, ' ');
  }
  for (int file = 0; file < files_ && static_cast<std::size_t>(file) < row.cells.size(); ++file) {
    const AcrossCell& cell = row.cells[static_cast<std::size_t>(file)];
    PrintedLine& line = lines[static_cast<std::size_t>(file / cells_per_line_)];
    const std::string letters = cell.HasObject() ? VariantLetters(cell.variant) : "-";
    if (cell.HasObject() && cell.variant > 0) {
      line.marks.push_back(
          {static_cast<int>(line.text.size()) + cell_width_ - static_cast<int>(letters.size()),
           static_cast<int>(letters.size())});
    }
    line.text += RightIn(letters, cell_width_);
  }
  for (std::size_t line = 0; line < lines.size(); ++line) lines[line].y = static_cast<double>(line);
  return lines;
}

double AcrossPrintLayout::TopOfRows(const PrintMetrics& metrics, bool first_page) const {
  const double header = static_cast<double>(3 + lines_per_row_) * metrics.header_line_height;
  // The first page's file list, then an empty line.
  const double legend = first_page ? (files_ + 1) * metrics.row_line_height : 0;
  return header + metrics.row_line_height + legend;
}

std::vector<PrintPage> AcrossPrintLayout::Paginate(int row_count,
                                                   const PrintMetrics& metrics) const {
  std::vector<PrintPage> pages(1);
  const double row_height = lines_per_row_ * metrics.row_line_height;
  for (int row = 0; row < row_count; ++row) {
    const double top = TopOfRows(metrics, pages.size() == 1);
    const double bottom = top + (pages.back().row_count + 1) * row_height;
    if (pages.back().row_count > 0 && bottom > metrics.page_height) pages.push_back({row, 0});
    ++pages.back().row_count;
  }
  return pages;
}

std::vector<PrintedLine> AcrossPrintLayout::LayOutPage(const AcrossPrintedRow& row,
                                                       const PrintMetrics& metrics,
                                                       const PrintPage& page,
                                                       int page_number) const {
  std::vector<PrintedLine> lines;
  double y = 0;
  for (std::string& text : HeaderLines(page_number)) {
    if (!text.empty()) lines.push_back({y, true, std::move(text), {}});
    y += metrics.header_line_height;
  }
  y += metrics.row_line_height;
  if (page_number == 1) {
    for (std::string& text : LegendLines()) {
      lines.push_back({y, false, std::move(text), {}});
      y += metrics.row_line_height;
    }
    y += metrics.row_line_height;
  }
  for (int r = page.first_row; r < page.first_row + page.row_count; ++r) {
    for (PrintedLine& line : RowLines(row(r))) {
      line.y = y + line.y * metrics.row_line_height;
      lines.push_back(std::move(line));
    }
    y += lines_per_row_ * metrics.row_line_height;
  }
  return lines;
}

AcrossPrintout::AcrossPrintout(AcrossPrintHeader header, int file_count, int row_count,
                               AcrossPrintedRow row, const PrintPaper& paper)
    : layout_(std::move(header), file_count),
      row_(std::move(row)),
      paper_(paper),
      metrics_(MetricsOf(paper)),
      pages_(layout_.Paginate(row_count, metrics_)) {}

std::vector<PrintedLine> AcrossPrintout::Page(int index) const {
  return layout_.LayOutPage(row_, metrics_, pages_.at(static_cast<std::size_t>(index)), index + 1);
}

}  // namespace quillet
