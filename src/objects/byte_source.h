#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/input_file.h"

namespace quillet {

// A file's bytes, read from the start. The reader takes one of these, so the same parser runs
// on a file, on memory in tests and under the fuzzer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes; fewer only at the end of the data or on a read error.
  virtual std::size_t Read(char* destination, std::size_t n) = 0;
  // Goes back to the first byte; false on failure.
  virtual bool Rewind() = 0;
  // True once a read or rewind failed (as opposed to reaching the end).
  virtual bool Failed() const = 0;
  // Why it failed, for the user.
  virtual std::string ErrorText() const = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  std::size_t Read(char* destination, std::size_t n) override;
  bool Rewind() override;
  bool Failed() const override { return false; }
  std::string ErrorText() const override { return {}; }

 private:
  std::string_view data_;
  std::size_t position_ = 0;
};

class FileSource;

using OpenStatus = InputStatus;

struct OpenResult {
  OpenStatus status = OpenStatus::kMissing;
  std::unique_ptr<FileSource> source;  // set when opened
  std::string error;                   // why an unreadable file could not be opened
};

class FileSource final : public ByteSource {
 public:
  // Only regular files are read: a folder, a pipe or a device is refused, and a pipe without a
  // writer cannot block the program, even one put in the file's place while it is opened.
  static OpenResult Open(const std::filesystem::path& file_name);

  std::size_t Read(char* destination, std::size_t n) override {
    return file_->Read(destination, n);
  }
  bool Rewind() override { return file_->Rewind(); }
  bool Failed() const override { return file_->failed(); }
  std::string ErrorText() const override { return file_->error(); }

 private:
  explicit FileSource(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}

  std::unique_ptr<InputFile> file_;
};

}  // namespace quillet
