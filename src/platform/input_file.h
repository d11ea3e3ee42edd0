#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace quillet {

class InputFile;

enum class InputStatus { kOpened, kMissing, kUnreadable };

struct InputFileOpen {
  InputStatus status = InputStatus::kMissing;
  std::unique_ptr<InputFile> file;  // set when opened
  std::string error;                // why a file that is there cannot be read
};

// A regular file, open for reading. The name is opened first, in a way that cannot block, and
// what was opened is checked after: a folder or anything but a regular file is refused. So a
// name swapped for a pipe between a look and the open cannot hang the program, and what is read
// is what was checked.
class InputFile {
 public:
  static InputFileOpen Open(const std::filesystem::path& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to n bytes; fewer only at the end of the file or on a read error.
  std::size_t Read(char* destination, std::size_t n);
  // Goes back to the first byte; false on failure.
  bool Rewind();
  // True once a read or rewind failed (as opposed to reaching the end).
  bool failed() const { return !error_.empty(); }
  // Why it failed, as the end of a sentence.
  const std::string& error() const { return error_; }

 private:
  struct Native;
  explicit InputFile(std::unique_ptr<Native> native);

  std::unique_ptr<Native> native_;
  std::string error_;
};

}  // namespace quillet
