#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace quillet {

// How an output that is not a regular file is opened.
enum class PipeWait {
  kWait,    // a pipe without a reader waits for one, as the shell's > does
  kRefuse,  // it is refused at once, for a window that must not hang
};

// Where an output goes by name. A regular file, or a name not taken yet, is written whole or
// not at all (AtomicFile). Anything else that is not a folder (a device such as /dev/null, a
// pipe, a terminal, /dev/stdout) is opened and written into, never replaced or removed, as
// any Unix tool does. Every write is checked, and a failure says why.
class OutputFile {
 public:
  [[nodiscard]] static Result<std::unique_ptr<OutputFile>> Open(const std::filesystem::path& target,
                                                                PipeWait wait = PipeWait::kWait);
  virtual ~OutputFile() = default;

  // False once anything failed; every later call fails too.
  [[nodiscard]] virtual bool Write(std::string_view bytes) = 0;
  // Completes the output: a replaced file takes its place, on disk, before it returns.
  [[nodiscard]] virtual bool Commit() = 0;
  virtual const std::string& error() const = 0;
  // A terminal, where only text belongs.
  virtual bool IsTerminal() const { return false; }
};

// Whether a stream (standard output) goes to a terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace quillet
