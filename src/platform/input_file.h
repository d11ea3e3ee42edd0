#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/result.h"

namespace quillet {

// What a name may stand for besides a regular file.
enum class InputKinds {
  kFiles,                    // regular files only: a folder, a pipe or a device is refused
  kStreams,                  // also pipes, FIFOs and character devices, read once from the start
  kStreamsAndStandardInput,  // and the name "-" is standard input
};

// The name that means standard input where InputKinds::kStreamsAndStandardInput allows it.
inline constexpr std::string_view kStandardInputName = "-";

// A file open for reading. A name is looked at before it is opened, so that a device is never
// opened where only files are wanted (opening some devices does something), and what was opened
// is checked after: a name swapped for a pipe between the look and the open cannot hang the
// program, and what is read is what was checked.
class InputFile {
 public:
  // The file by that name; null when there is none (no such file or folder). An error says why
  // a name that is there cannot be read. Where streams are allowed, a FIFO without a writer
  // waits for one, as any Unix tool reading it would.
  [[nodiscard]] static Result<std::unique_ptr<InputFile>> Open(
      const std::filesystem::path& path, InputKinds kinds = InputKinds::kFiles);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // A pipe or a device: read once, from where it stands, and never rewound.
  bool stream() const { return stream_; }
  // Reads up to n bytes. A regular file gives n unless its end comes first; a stream gives what
  // has come, waiting for at least one byte. 0 only at the end or after a failure.
  std::size_t Read(char* destination, std::size_t n);
  // Goes back to the first byte of a regular file.
  [[nodiscard]] Status Rewind();
  // Ok, or why a read or rewind failed (as opposed to reaching the end).
  const Status& status() const { return status_; }

 private:
  struct Native;
  InputFile(std::unique_ptr<Native> native, bool stream);
  static Result<std::unique_ptr<InputFile>> StandardInput();

  std::unique_ptr<Native> native_;
  bool stream_;
  Status status_;
};

}  // namespace quillet
