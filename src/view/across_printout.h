#pragma once

#include "commands/across_matrix.h"
#include "output/across_print_layout.h"
#include "platform/result.h"

class QPagedPaintDevice;

namespace quillet {

// Paints the matrix's printout (see AcrossPrintLayout) on a paged device, as the list's
// printout is painted: "Courier New" 9 points or its fixed-pitch stand-in, the header in bold,
// the marked letters on grey. Fails when the device cannot be painted on, refuses a page or
// cannot finish the document.
[[nodiscard]] Status PaintAcrossPrintout(QPagedPaintDevice& device, const AcrossMatrix& matrix,
                                         const AcrossPrintHeader& header);

// The header of the matrix's printout: its files as the window names them, what was compared,
// and now.
AcrossPrintHeader AcrossPrintHeaderOf(const AcrossMatrix& matrix);

}  // namespace quillet
