#include "view/printout_painter.h"

#include <QGlyphRun>
#include <QMarginsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "desktop/text_codec.h"
#include "objects/code_page.h"
#include "output/pdf_document.h"
#include "platform/output_file.h"

namespace quillet {
namespace {

QFont PrintFont(bool bold) {
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(kPrintFontSize);
  font.setBold(bold);
  return font;
}

// The fields that changed stand on a grey that any printer shows, the PDF writer's.
const QColor kTint(209, 209, 209);

// The written file is the command line's PDF of the same rows; a cancelled one never replaces
// what was there.
Result<PrintEnd> WritePdfFile(const QString& name, const QString& title, const Printout& printout,
                              const PrintProgress& progress) {
  Result<std::unique_ptr<OutputFile>> opened = OutputFile::Open(ToPath(name), PipeWait::kRefuse);
  // As a printer that cannot be opened says it.
  if (!opened || (*opened)->IsTerminal()) return Fail("the printer could not be started");
  OutputFile& file = **opened;
  PdfDocument pdf([&file](std::string_view bytes) { return file.Write(bytes); },
                  ToWindows1252(title), "Quillet", printout.paper());
  const Result<PrintEnd> printed = PrintToPdf(pdf, printout, progress);
  // The window shows the reason as UTF-8, as it shows every file name.
  const auto cannot_write = [&] {
    return Fail("cannot write " + name.toStdString() + ": " + file.error());
  };
  if (!printed) return cannot_write();
  if (*printed != PrintEnd::kPrinted) return *printed;
  if (!file.Commit()) return cannot_write();
  return PrintEnd::kPrinted;
}

}  // namespace

PrintPaper PaperOf(const QPageLayout& layout) {
  const QRectF page = layout.fullRect(QPageLayout::Point);
  const QMarginsF margins = layout.margins(QPageLayout::Point);
  return {page.width(),  page.height(),   margins.left(),
          margins.top(), margins.right(), margins.bottom()};
}

QPageLayout PageLayoutOf(const PrintPaper& paper) {
  const QPageSize size(QSizeF(paper.width, paper.height), QPageSize::Point, QString(),
                       QPageSize::FuzzyOrientationMatch);
  return QPageLayout(size, QPageLayout::Portrait,
                     QMarginsF(paper.left, paper.top, paper.right, paper.bottom),
                     QPageLayout::Point);
}

PrintedLineDrawer::Face PrintedLineDrawer::FaceOf(bool bold, double pixel_size) {
  Face face;
  face.font = QRawFont::fromFont(PrintFont(bold));
  face.font.setPixelSize(pixel_size);
  QString characters(256, QChar(' '));
  for (int byte = 0; byte < 256; ++byte) {
    characters[byte] = QChar(static_cast<char16_t>(Windows1252ToUnicode(byte)));
  }
  const QList<quint32> glyphs = face.font.glyphIndexesForString(characters);
  for (int byte = 0; byte < 256 && byte < glyphs.size(); ++byte) {
    const char32_t code = Windows1252ToUnicode(byte);
    const bool drawn = code > 0x20 && (code < 0x7F || code > 0xA0);
    face.glyphs[static_cast<std::size_t>(byte)] = drawn ? glyphs[byte] : 0;
  }
  return face;
}

PrintedLineDrawer::PrintedLineDrawer(double scale_x, double scale_y)
    : scale_x_(scale_x),
      scale_y_(scale_y),
      regular_(FaceOf(false, kPrintFontSize * scale_y)),
      bold_(FaceOf(true, kPrintFontSize * scale_y)) {}

void PrintedLineDrawer::Draw(QPainter& painter, const QPointF& origin,
                             const std::vector<PrintedLine>& lines) const {
  const double pitch = kPrintCharWidth * scale_x_;
  for (const PrintedLine& line : lines) {
    for (const PrintedMark& mark : line.marks) {
      painter.fillRect(QRectF(origin.x() + mark.first * pitch, origin.y() + line.y * scale_y_,
                              mark.length * pitch, kPrintLineHeight * scale_y_),
                       kTint);
    }
  }
  QList<quint32> glyphs;
  QList<QPointF> positions;
  for (const Face* face : {&regular_, &bold_}) {
    glyphs.clear();
    positions.clear();
    for (const PrintedLine& line : lines) {
      if (line.bold != (face == &bold_)) continue;
      const double baseline = origin.y() + (line.y + kPrintAscent) * scale_y_;
      for (std::size_t i = 0; i < line.text.size(); ++i) {
        const quint32 glyph = face->glyphs[static_cast<unsigned char>(line.text[i])];
        if (glyph == 0) continue;
        glyphs.append(glyph);
        positions.append(QPointF(origin.x() + static_cast<double>(i) * pitch, baseline));
      }
    }
    if (glyphs.isEmpty()) continue;
    QGlyphRun run;
    run.setRawFont(face->font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
  }
}

Result<PrintEnd> PaintPrintout(QPagedPaintDevice& device, const Printout& printout,
                               const PrintProgress& progress) {
  // A printer that cannot be opened (a PDF in a folder that is not there, a printer gone)
  // leaves the painter inactive, and every page drawn would go nowhere.
  QPainter painter(&device);
  if (!painter.isActive()) return Fail("the printer could not be started");
  const double scale_x = device.logicalDpiX() / 72.0, scale_y = device.logicalDpiY() / 72.0;
  const PrintedLineDrawer drawer(scale_x, scale_y);
  // The painter starts at the paint rectangle, which in full-page mode is the whole sheet.
  const QRectF paint = device.pageLayout().paintRect(QPageLayout::Point);
  const QPointF origin((printout.paper().left - paint.left()) * scale_x,
                       (printout.paper().top - paint.top()) * scale_y);
  const int pages = printout.PageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) {
      painter.end();
      return Fail("the printer could not start page " + std::to_string(page + 1));
    }
    drawer.Draw(painter, origin, printout.Page(page));
    if (progress && !progress(page + 1, pages)) {
      auto* printer = dynamic_cast<QPrinter*>(&device);
      const bool dropped = printer != nullptr && printer->abort();
      painter.end();
      return dropped ? PrintEnd::kCancelled : PrintEnd::kCancelledPartly;
    }
  }
  if (!painter.end()) return Fail("the printer could not finish the document");
  return PrintEnd::kPrinted;
}

Status PaintPrintout(QPagedPaintDevice& device, const ObjectList& list, const PrintHeader& header) {
  const Result<PrintEnd> printed =
      PaintPrintout(device, ListPrintout(list, header, PaperOf(device.pageLayout())), {});
  if (!printed) return Fail(printed.error());
  return Ok();
}

Result<PrintEnd> PrintOn(QPrinter& printer, const ObjectList& list, const PrintHeader& header,
                         const PrintProgress& progress) {
  return PrintOn(printer, ListPrintout(list, header, PaperOf(printer.pageLayout())), progress);
}

Result<PrintEnd> PrintOn(QPrinter& printer, const Printout& printout,
                         const PrintProgress& progress) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    return WritePdfFile(printer.outputFileName(), printer.docName(), printout, progress);
  }
  return PaintPrintout(printer, printout, progress);
}

}  // namespace quillet
