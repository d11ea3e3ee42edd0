#include "cli/cli_checks.h"

#include <filesystem>
#include <string>
#include <vector>

#include "output/output_targets.h"

namespace quillet {

// An output that would replace an input file, or two outputs in one place: the user's object
// file would be lost, or one output would overwrite the other.
Status CheckOutputs(const CliRequest& request) {
  std::vector<std::filesystem::path> inputs = request.files;
  if (request.base) inputs.push_back(*request.base);
  return CheckOutputTargets(request.output, request.pdf, inputs);
}

}  // namespace quillet
