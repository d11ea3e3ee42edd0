#include "view/across_printout.h"

#include "desktop/text_codec.h"
#include "list/compare_criteria.h"

namespace quillet {
AcrossPrintHeader AcrossPrintHeaderOf(const AcrossMatrix& matrix) {
  AcrossPrintHeader header;
  for (int file = 0; file < matrix.FileCount(); ++file) {
    header.files.push_back(ToWindows1252(FromPath(matrix.File(file).name)));
  }
  header.criteria = CriteriaText(matrix.criteria(), true);
  header.date_time = PrintDateTime();
  return header;
}

std::unique_ptr<Printout> MatrixPrintout(const AcrossMatrix& matrix, const PrintPaper& paper) {
  return std::make_unique<AcrossPrintout>(
      AcrossPrintHeaderOf(matrix), matrix.FileCount(), matrix.RowCount(),
      [&matrix](int row) -> const AcrossRow& { return matrix.Row(row); }, paper);
}

}  // namespace quillet
