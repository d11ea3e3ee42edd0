#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_file.h"
#include "platform/result.h"

namespace quillet {

// A file's bytes, read from the start. The reader takes one of these, so the same parser runs
// on a file, a pipe, memory in tests and under the fuzzer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes. Fewer while a stream has no more yet; 0 only at the end of the data
  // or after a failure.
  virtual std::size_t Read(char* destination, std::size_t n) = 0;
  // Goes back to the first byte.
  [[nodiscard]] virtual Status Rewind() = 0;
  // Ok, or why a read or a rewind failed (as opposed to reaching the end).
  virtual Status ReadStatus() const = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  std::size_t Read(char* destination, std::size_t n) override;
  Status Rewind() override;
  Status ReadStatus() const override { return Ok(); }

 private:
  std::string_view data_;
  std::size_t position_ = 0;
};

// A regular file, read in blocks.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}
  std::size_t Read(char* destination, std::size_t n) override {
    return file_->Read(destination, n);
  }
  Status Rewind() override { return file_->Rewind(); }
  Status ReadStatus() const override { return file_->status(); }

 private:
  std::unique_ptr<InputFile> file_;
};

// The most a stream is read: what it gives is held in memory, and a device such as /dev/zero
// never ends. An object directory of 6 million objects still fits.
inline constexpr std::size_t kStreamLimit = std::size_t{1} << 30;

// A source that can be read only once (a pipe, a device, standard input), made one that can be
// read again: every byte it gives is held, up to `limit` bytes, so a rewind replays them. Past
// the limit it fails and says why.
class ReplaySource final : public ByteSource {
 public:
  ReplaySource(std::unique_ptr<ByteSource> once, std::size_t limit = kStreamLimit);
  std::size_t Read(char* destination, std::size_t n) override;
  Status Rewind() override;
  Status ReadStatus() const override;

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;

  std::unique_ptr<ByteSource> once_;
  std::size_t limit_;
  std::vector<std::unique_ptr<char[]>> chunks_;  // held bytes, kChunk each but the last
  std::size_t held_ = 0;
  std::size_t position_ = 0;
  Status status_;
};

// An input opened by name: a regular file, or a stream held for a second reading.
struct Input {
  std::unique_ptr<ByteSource> source;  // null: there is no file by that name
  bool stream = false;                 // a pipe or a device, which cannot be read again later
};

// Opens what `name` names, as `kinds` allows; an error says why a name that is there cannot be
// read.
[[nodiscard]] Result<Input> OpenInput(const std::filesystem::path& name,
                                      InputKinds kinds = InputKinds::kFiles);

}  // namespace quillet
