#include <io.h>

#include "platform/output_file.h"
#include "platform/output_file_common.h"

namespace quillet {

// Windows names no device by a path a user types; every output is a file, replaced whole.
Result<std::unique_ptr<OutputFile>> OutputFile::Open(const std::filesystem::path& target,
                                                     PipeWait /*wait*/) {
  return OpenReplaced(target);
}

bool IsTerminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

}  // namespace quillet
