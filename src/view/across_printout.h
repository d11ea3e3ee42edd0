#pragma once

#include <memory>

#include "commands/across_matrix.h"
#include "output/across_print_layout.h"

namespace quillet {

// The matrix's printout on `paper`, its rows as the matrix shows them: the matrix must stay as
// it is while the printout is used.
std::unique_ptr<Printout> MatrixPrintout(const AcrossMatrix& matrix, const PrintPaper& paper);

// The header of the matrix's printout: its files as the window names them, what was compared,
// and now.
AcrossPrintHeader AcrossPrintHeaderOf(const AcrossMatrix& matrix);

}  // namespace quillet
