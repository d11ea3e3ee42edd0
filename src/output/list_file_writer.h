#pragma once

#include <QString>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "list/object_list.h"
#include "output/list_formats.h"

class QSaveFile;

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
  bool Add(const ObjectRow& row);
  // Writes the rest and completes the output; false when anything failed.
  bool Finish();
  int rows() const { return rows_; }
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

// Writes to a file through a temporary file that replaces the target only when complete: on
// any failure the file that was there stays exactly as it was. A target that exists but is not
// a regular file (a folder, a device, a pipe) is refused.
class AtomicFileOutput final : public RowOutput {
 public:
  // Null when the file cannot be written.
  static std::unique_ptr<AtomicFileOutput> Open(const QString& path, ListFormat format);
  ~AtomicFileOutput() override;

 private:
  AtomicFileOutput(std::unique_ptr<QSaveFile> file, ListFormat format);
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;

  std::unique_ptr<QSaveFile> file_;
};

// Writes to a stream such as standard output.
class StreamOutput final : public RowOutput {
 public:
  StreamOutput(std::FILE* stream, ListFormat format) : RowOutput(format), stream_(stream) {}

 private:
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;

  std::FILE* stream_;
};

// Every row of the list to `path`, atomically; false on failure.
bool WriteListFile(const QString& path, const ObjectList& list, ListFormat format,
                   const std::function<void(int rows_written)>& progress = {});

}  // namespace quillet
