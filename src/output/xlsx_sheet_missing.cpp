#include "output/xlsx_sheet.h"

namespace quillet {
namespace {

// A build without the spreadsheet library: the format is known, and says why it gives nothing.
class NoSheet final : public ListFormatter {
 public:
  void AddRow(std::string& /*out*/, const RowView& /*row*/) override {}
  void Summary(std::string& /*out*/, const SummaryCounts& /*counts*/) override {}
  std::string Error() const override { return "this build cannot write spreadsheets"; }
};

}  // namespace

std::unique_ptr<ListFormatter> MakeXlsxSheet(const ListContext& /*context*/) {
  return std::make_unique<NoSheet>();
}

}  // namespace quillet
