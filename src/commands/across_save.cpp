#include "commands/across_save.h"

#include "list/compare_criteria.h"
#include "output/across_output.h"

namespace quillet {
namespace {

AcrossContext OutputContext(const AcrossSaveContext& context) {
  AcrossContext output;
  for (const std::filesystem::path& file : context.files) {
    output.files.push_back(AcrossFileName(file.string()));
  }
  output.criteria = context.criteria;
  return output;
}

class OutputWriter final : public AcrossRowsWriter {
 public:
  Status Write(const std::filesystem::path& path, ListFormat format,
               const AcrossSaveContext& context, const AcrossRows& rows) override {
    const AcrossResult none;
    return WriteAcrossFile(path, format, OutputContext(context), rows,
                           context.result != nullptr ? *context.result : none);
  }

  Result<std::string> Text(ListFormat format, const AcrossSaveContext& context,
                           const AcrossRows& rows) override {
    const std::unique_ptr<AcrossFormatter> formatter =
        AcrossFormatter::Make(format, OutputContext(context));
    std::string text;
    formatter->Begin(text);
    struct Collect final : AcrossVisitor {
      Collect(AcrossFormatter& f, std::string& t) : formatter(f), out(t) {}
      bool Row(const AcrossRow& row) override {
        formatter.AddRow(out, row);
        return true;
      }
      AcrossFormatter& formatter;
      std::string& out;
    } collect(*formatter, text);
    rows(collect);
    const AcrossResult none;
    formatter->End(text, context.result != nullptr ? *context.result : none);
    if (std::string error = formatter->Error(); !error.empty()) return Fail(std::move(error));
    return text;
  }
};

}  // namespace

AcrossRowsWriter& BuiltInAcrossWriter() {
  static OutputWriter writer;
  return writer;
}

AcrossSaveContext SaveContextOf(const AcrossMatrix& matrix) {
  AcrossSaveContext context;
  for (int file = 0; file < matrix.FileCount(); ++file) {
    context.files.push_back(matrix.File(file).name);
  }
  context.criteria = CriteriaText(matrix.criteria(), true);
  context.result = &matrix.result();
  return context;
}

AcrossRows MatrixRows(const AcrossMatrix& matrix, const std::vector<int>* rows) {
  return [&matrix, rows](AcrossVisitor& visitor) {
    if (rows != nullptr) {
      for (const int row : *rows) {
        if (!visitor.Row(matrix.Row(row))) return;
      }
      return;
    }
    for (int row = 0; row < matrix.RowCount(); ++row) {
      if (!visitor.Row(matrix.Row(row))) return;
    }
  };
}

}  // namespace quillet
