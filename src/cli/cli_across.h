#pragma once

#include <cstdio>

#include "cli/cli_request.h"

namespace quillet {

// compare --across: reads every file, lines their objects up by key and writes the rows (or
// the summary) as they come. Gives the exit status: 1 when a row differs, 2 for trouble.
int RunAcross(const CliRequest& request, std::FILE* out, std::FILE* err);

}  // namespace quillet
