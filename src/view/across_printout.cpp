#include "view/across_printout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "desktop/text_codec.h"
#include "list/compare_criteria.h"

namespace quillet {
namespace {

QFont PrintFont(bool bold) {
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(9);
  font.setBold(bold);
  return font;
}

}  // namespace

AcrossPrintHeader AcrossPrintHeaderOf(const AcrossMatrix& matrix) {
  AcrossPrintHeader header;
  for (int file = 0; file < matrix.FileCount(); ++file) {
    header.files.push_back(ToWindows1252(FromPath(matrix.File(file).name)));
  }
  header.criteria = CriteriaText(matrix.criteria(), true);
  header.date_time = PrintDateTime();
  return header;
}

Status PaintAcrossPrintout(QPagedPaintDevice& device, const AcrossMatrix& matrix,
                           const AcrossPrintHeader& header) {
  QPainter painter(&device);
  if (!painter.isActive()) return Fail("the printer could not be started");
  const QFont regular = PrintFont(false), bold = PrintFont(true);
  const QFontMetricsF regular_metrics(regular, &device), bold_metrics(bold, &device);
  PrintMetrics metrics;
  metrics.row_line_height = regular_metrics.height();
  metrics.header_line_height = bold_metrics.height();
  metrics.page_height = device.pageLayout().paintRectPixels(device.logicalDpiY()).height();

  const AcrossPrintLayout layout(header, matrix.FileCount());
  const AcrossPrintedRow row = [&matrix](int r) -> const AcrossRow& { return matrix.Row(r); };
  const std::vector<PrintPage> pages = layout.Paginate(matrix.RowCount(), metrics);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    if (page > 0 && !device.newPage()) {
      painter.end();
      return Fail("the printer could not start page " + std::to_string(page + 1));
    }
    for (const PrintedLine& line :
         layout.LayOutPage(row, metrics, pages[page], static_cast<int>(page) + 1)) {
      painter.setFont(line.bold ? bold : regular);
      const QFontMetricsF& font_metrics = line.bold ? bold_metrics : regular_metrics;
      const double character = font_metrics.horizontalAdvance(QLatin1Char('0'));
      for (const PrintedMark& mark : line.marks) {
        painter.fillRect(
            QRectF(mark.first * character, line.y, mark.length * character, font_metrics.height()),
            QColor(209, 209, 209));
      }
      painter.drawText(QPointF(0, line.y + font_metrics.ascent()), FromWindows1252(line.text));
    }
  }
  if (!painter.end()) return Fail("the printer could not finish the document");
  return Ok();
}

}  // namespace quillet
