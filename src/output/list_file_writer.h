#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "list/object_list.h"
#include "output/list_formats.h"
#include "runtime/atomic_file.h"

namespace quillet {

// Rows on their way out in one of the list formats, written in large pieces as they come, so
// a list of any length passes through a buffer of fixed size.
class RowOutput {
 public:
  explicit RowOutput(ListFormat format);
  virtual ~RowOutput();
  RowOutput(const RowOutput&) = delete;
  RowOutput& operator=(const RowOutput&) = delete;

  // False once anything could not be written.
  bool Add(const RowView& row);
  // Writes the rest and completes the output; false when anything failed.
  bool Finish();
  int rows() const { return rows_; }
  // Why writing failed: "no space left on device".
  virtual std::string Error() const = 0;
  // Told the number of rows written each time a piece goes out.
  void SetProgress(std::function<void(int rows_written)> progress) {
    progress_ = std::move(progress);
  }

 protected:
  virtual bool WriteBytes(const std::string& bytes) = 0;
  virtual bool Complete() = 0;

 private:
  bool Flush();

  ListFormatter formatter_;
  std::string buffer_;
  std::function<void(int)> progress_;
  int rows_ = 0;
  bool ok_ = true;
};

class FileOutput;

struct FileOutputOpen {
  std::unique_ptr<FileOutput> output;  // null when the file cannot be written
  std::string error;
};

// Writes a file whole or not at all (see AtomicFile).
class FileOutput final : public RowOutput {
 public:
  static FileOutputOpen Open(const std::filesystem::path& path, ListFormat format);
  std::string Error() const override { return file_->error(); }

 private:
  FileOutput(std::unique_ptr<AtomicFile> file, ListFormat format);
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;

  std::unique_ptr<AtomicFile> file_;
};

// Writes to a stream such as standard output.
class StreamOutput final : public RowOutput {
 public:
  StreamOutput(std::FILE* stream, ListFormat format) : RowOutput(format), stream_(stream) {}
  std::string Error() const override { return error_; }

 private:
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;

  std::FILE* stream_;
  std::string error_;
};

// Every row of the list to `path`, whole or not at all. Empty when written, else why not.
std::string WriteListFile(const std::filesystem::path& path, const ObjectList& list,
                          ListFormat format,
                          const std::function<void(int rows_written)>& progress = {});

}  // namespace quillet
