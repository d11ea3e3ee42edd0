#pragma once

#include <memory>

#include "output/list_formats.h"

namespace quillet {

// The IDs of the rows as lines the filter's id: word takes, one line for each of the nine types
// that has an ID that is a whole number, in type order, each ended by CR LF:
// "Table: 18|27|5050..5060". IDs ascending, each once, runs of three or more consecutive
// numbers as a range; other IDs, and types outside the nine, are left out.
std::unique_ptr<ListFormatter> MakeIdLines();

}  // namespace quillet
