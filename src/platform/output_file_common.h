#pragma once

// The part of OutputFile every system shares: a regular file through AtomicFile.
#include <memory>

#include "platform/atomic_file.h"
#include "platform/output_file.h"

namespace quillet {

class ReplacedFile final : public OutputFile {
 public:
  explicit ReplacedFile(std::unique_ptr<AtomicFile> file) : file_(std::move(file)) {}
  bool Write(std::string_view bytes) override { return file_->Write(bytes); }
  bool Commit() override { return file_->Commit(); }
  const std::string& error() const override { return file_->error(); }

 private:
  std::unique_ptr<AtomicFile> file_;
};

inline Result<std::unique_ptr<OutputFile>> OpenReplaced(const std::filesystem::path& target) {
  AtomicFileOpen opened = AtomicFile::Open(target);
  if (opened.file == nullptr) return Fail(opened.error);
  return std::unique_ptr<OutputFile>(new ReplacedFile(std::move(opened.file)));
}

}  // namespace quillet
