#pragma once

#include "cli/cli_request.h"
#include "platform/result.h"

namespace quillet {

// What a request's names stand for on disk, looked at before anything is read or written: an
// output that would replace an input file (the user's object file would be lost), or both
// outputs in one file (one would overwrite the other).
Status CheckOutputs(const CliRequest& request);

}  // namespace quillet
