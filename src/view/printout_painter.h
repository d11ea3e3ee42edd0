#pragma once

#include "list/object_list.h"
#include "output/print_layout.h"
#include "platform/result.h"

class QPagedPaintDevice;

namespace quillet {

// Paints the printed listing on a paged device (a printer, a PDF writer, a preview): the pages
// of the core's layout, in "Courier New" 9 points (or the fixed-pitch font that stands in for
// it), the header block in bold. Fails when the device cannot be painted on, refuses a page or
// cannot finish the document.
[[nodiscard]] Status PaintPrintout(QPagedPaintDevice& device, const ObjectList& list,
                                   const PrintHeader& header);

}  // namespace quillet
