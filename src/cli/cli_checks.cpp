#include "cli/cli_checks.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillet {
namespace {

// Whether two names are the same file: the same file on disk when both exist, else the same
// absolute name.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  const auto absolute_a = std::filesystem::weakly_canonical(a, ec);
  if (ec) return false;
  const auto absolute_b = std::filesystem::weakly_canonical(b, ec);
  return !ec && absolute_a == absolute_b;
}

}  // namespace

Status CheckOutputs(const CliRequest& request) {
  for (const auto* output : {&request.output, &request.pdf}) {
    if (!*output) continue;
    std::vector<std::filesystem::path> inputs = request.files;
    if (request.base) inputs.push_back(*request.base);
    for (const std::filesystem::path& input : inputs) {
      if (SameFile(**output, input)) {
        return Fail("the output " + (*output)->string() +
                    " is an input file; it would be replaced");
      }
    }
  }
  if (request.output && request.pdf && SameFile(*request.output, *request.pdf)) {
    return Fail("-o and --pdf name the same file");
  }
  return Ok();
}

}  // namespace quillet
