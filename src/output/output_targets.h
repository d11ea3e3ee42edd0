#pragma once

#include <filesystem>
#include <optional>
#include <span>

#include "platform/result.h"

namespace quillet {

// The name that stands for standard output (and, as an input, standard input).
inline constexpr std::string_view kStandardStream = "-";

inline bool IsStandardStream(const std::filesystem::path& name) {
  return name.native() == std::filesystem::path(kStandardStream).native();
}

// Whether the outputs of one run can all be written without one losing another or an input:
// the rows (standard output without a name) and the printout must not both go to standard
// output, nor into one file; a file that would be replaced must not be one of the inputs
// (by any name: ./, .., a link, a hard link). A device or a pipe is written into, so it may be
// an input too. Says why not.
[[nodiscard]] Status CheckOutputTargets(const std::optional<std::filesystem::path>& rows,
                                        const std::optional<std::filesystem::path>& printout,
                                        std::span<const std::filesystem::path> inputs);

}  // namespace quillet
