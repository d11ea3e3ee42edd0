#include "output/across_output.h"

namespace quillet {
namespace {

// A build without the spreadsheet library: the format is known, and says why it gives nothing.
class NoSheet final : public AcrossFormatter {
 public:
  void AddRow(std::string& /*out*/, const AcrossRow& /*row*/) override {}
  void Summary(std::string& /*out*/, const AcrossSummary& /*summary*/) override {}
  std::string Error() const override { return "this build cannot write spreadsheets"; }
};

}  // namespace

namespace detail {
std::unique_ptr<AcrossFormatter> MakeAcrossXlsx(const AcrossContext& /*context*/) {
  return std::make_unique<NoSheet>();
}
}  // namespace detail

}  // namespace quillet
