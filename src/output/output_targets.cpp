#include "output/output_targets.h"

#include "platform/same_file.h"

namespace quillet {

namespace fs = std::filesystem;

Status CheckOutputTargets(const std::optional<fs::path>& rows,
                          const std::optional<fs::path>& printout,
                          std::span<const fs::path> inputs) {
  const bool rows_to_standard = !rows || IsStandardStream(*rows);
  if (printout && IsStandardStream(*printout) && rows_to_standard) {
    return Fail("the rows and the printout cannot both go to standard output; give -o a file");
  }
  for (const auto* output : {&rows, &printout}) {
    if (!*output || IsStandardStream(**output) || WrittenInto(**output)) continue;
    for (const fs::path& input : inputs) {
      // An input "-" is whatever standard input is: a file redirected there is an input too.
      const fs::path read = IsStandardStream(input) ? fs::path("/dev/stdin") : input;
      if (SameFile(**output, read)) {
        return Fail("the output " + (*output)->string() +
                    " is an input file; it would be replaced");
      }
    }
  }
  if (rows && printout && !IsStandardStream(*rows) && !IsStandardStream(*printout) &&
      SameFile(*rows, *printout)) {
    return Fail("-o and --pdf name the same file");
  }
  return Ok();
}

}  // namespace quillet
