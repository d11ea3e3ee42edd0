#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "commands/across_matrix.h"
#include "output/format_table.h"
#include "platform/result.h"

namespace quillet {

// Hands rows of the matrix, in the order they are to go out, to a visitor.
using AcrossRows = std::function<void(AcrossVisitor&)>;

// What a saved or copied matrix says beyond its rows.
struct AcrossSaveContext {
  std::vector<std::filesystem::path> files;  // as they were named, in order
  std::string criteria;                      // what was compared, Windows-1252
  const AcrossResult* result = nullptr;      // the counts and the summary, for a report
};

// The matrix's rows on their way out in one of the list's formats: what the window's Save,
// Save selection and Copy write through. The output layer's writers for rows across files
// stand behind it.
class AcrossRowsWriter {
 public:
  virtual ~AcrossRowsWriter() = default;
  // The rows to `path`, whole or not at all; a pipe without a reader is refused.
  [[nodiscard]] virtual Status Write(const std::filesystem::path& path, ListFormat format,
                                     const AcrossSaveContext& context, const AcrossRows& rows) = 0;
  // The same as bytes, for the clipboard.
  [[nodiscard]] virtual Result<std::string> Text(ListFormat format,
                                                 const AcrossSaveContext& context,
                                                 const AcrossRows& rows) = 0;
};

// The writers this build has.
AcrossRowsWriter& BuiltInAcrossWriter();

// What the matrix says of itself for a saved or copied listing.
AcrossSaveContext SaveContextOf(const AcrossMatrix& matrix);

// The matrix's shown rows (or only `rows`, shown rows from 0), in the shown order.
AcrossRows MatrixRows(const AcrossMatrix& matrix, const std::vector<int>* rows = nullptr);

}  // namespace quillet
