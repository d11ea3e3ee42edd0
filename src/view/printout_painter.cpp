#include "view/printout_painter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "desktop/text_codec.h"

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

Status PaintPrintout(QPagedPaintDevice& device, const ObjectList& list, const PrintHeader& header) {
  // A printer that cannot be opened (a PDF in a folder that is not there, a printer gone)
  // leaves the painter inactive, and every page drawn would go nowhere.
  QPainter painter(&device);
  if (!painter.isActive()) return Fail("the printer could not be started");
  const QFont regular = PrintFont(false), bold = PrintFont(true);
  const QFontMetricsF regular_metrics(regular, &device), bold_metrics(bold, &device);
  PrintMetrics metrics;
  metrics.row_line_height = regular_metrics.height();
  metrics.header_line_height = bold_metrics.height();
  metrics.page_height = device.pageLayout().paintRectPixels(device.logicalDpiY()).height();

  const std::vector<PrintPage> pages = PaginateRows(list.RowCount(), metrics);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    if (page > 0 && !device.newPage()) {
      painter.end();
      return Fail("the printer could not start page " + std::to_string(page + 1));
    }
    for (const PrintedLine& line :
         LayOutPage(list, header, metrics, pages[page], static_cast<int>(page) + 1)) {
      painter.setFont(line.bold ? bold : regular);
      const QFontMetricsF& font_metrics = line.bold ? bold_metrics : regular_metrics;
      // The fields that changed stand on a grey that any printer shows.
      const double character = font_metrics.horizontalAdvance(QLatin1Char('0'));
      for (const PrintedMark& mark : line.marks) {
        painter.fillRect(
            QRectF(mark.first * character, line.y, mark.length * character, font_metrics.height()),
            QColor(209, 209, 209));
      }
      const double ascent = font_metrics.ascent();
      painter.drawText(QPointF(0, line.y + ascent), FromWindows1252(line.text));
    }
  }
  if (!painter.end()) return Fail("the printer could not finish the document");
  return Ok();
}

}  // namespace quillet
