#pragma once

#include <QPageLayout>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <vector>

#include "list/object_list.h"
#include "output/print_layout.h"
#include "platform/result.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace quillet {

// The paper of a page layout, in points, and the page layout of a paper: what the window's
// printer starts with, so that its pages are the command line's.
PrintPaper PaperOf(const QPageLayout& layout);
QPageLayout PageLayoutOf(const PrintPaper& paper);

// Draws the lines of a page as the PDF writer places them: every character in its cell of the
// layout's pitch, whatever the advance of the fixed-pitch font at hand, in "Courier New" 9
// points (or the fixed-pitch font that stands in for it), the header block in bold. Each page
// goes out as one run of glyphs per font, with no text shaping: the lines are plain
// Windows-1252 text, one glyph a character. Blanks and control characters draw nothing and keep
// their place.
class PrintedLineDrawer {
 public:
  // Device units per point, across and down.
  PrintedLineDrawer(double scale_x, double scale_y);

  // The page's lines with the top left of its printable area at `origin`, in device units.
  void Draw(QPainter& painter, const QPointF& origin, const std::vector<PrintedLine>& lines) const;

 private:
  struct Face {
    QRawFont font;
    std::array<quint32, 256> glyphs{};  // by Windows-1252 byte; 0 draws nothing
  };
  static Face FaceOf(bool bold, double pixel_size);

  double scale_x_;
  double scale_y_;
  Face regular_;
  Face bold_;
};

// Paints a printout on a paged device (a printer, a PDF writer) laid out on that device's
// paper (PaperOf its page layout), with `progress` told after each page. Fails when the device
// cannot be painted on, refuses a page or cannot finish the document. Cancelled, a printer is
// asked to drop the job; one that cannot (a job handed on as it is drawn) keeps the pages
// drawn so far, and the end says so.
[[nodiscard]] Result<PrintEnd> PaintPrintout(QPagedPaintDevice& device, const Printout& printout,
                                             const PrintProgress& progress);
// The whole list on the device, on the device's paper.
[[nodiscard]] Status PaintPrintout(QPagedPaintDevice& device, const ObjectList& list,
                                   const PrintHeader& header);

// The printout on the printer the print dialog set up. A PDF file chosen there is written by the
// core's PDF writer, what the command line's --pdf writes, and replaced whole or not at all; any
// other printer is painted.
[[nodiscard]] Result<PrintEnd> PrintOn(QPrinter& printer, const Printout& printout,
                                       const PrintProgress& progress);
// The list's printout, on the printer's paper.
[[nodiscard]] Result<PrintEnd> PrintOn(QPrinter& printer, const ObjectList& list,
                                       const PrintHeader& header, const PrintProgress& progress);

}  // namespace quillet
