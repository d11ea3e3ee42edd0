#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "list/object_list.h"
#include "output/list_formats.h"
#include "platform/output_file.h"
#include "platform/result.h"

namespace quillet {

// Rows on their way out in one of the list formats, written in large pieces as they come, so
// a list of any length passes through a buffer of fixed size.
class RowOutput {
 public:
  RowOutput(ListFormat format, const ListContext& context);
  virtual ~RowOutput();
  RowOutput(const RowOutput&) = delete;
  RowOutput& operator=(const RowOutput&) = delete;

  // The counts per status, for a report's title block; told before the first row.
  void SetCounts(std::vector<std::pair<std::string, long long>> counts);
  // False once anything could not be written.
  bool Add(const RowView& row);
  // Text of its own instead of rows; nothing of the format goes with it.
  bool WriteText(std::string_view text);
  // The counts instead of rows, in the output's format.
  bool WriteSummary(const SummaryCounts& counts);
  // Writes the rest and completes the output; false when anything failed.
  bool Finish();
  int rows() const { return rows_; }
  // Why writing failed: "no space left on device".
  std::string Error() const;
  // Told the number of rows written each time a piece goes out.
  void SetProgress(std::function<void(int rows_written)> progress) {
    progress_ = std::move(progress);
  }

 protected:
  virtual bool WriteBytes(const std::string& bytes) = 0;
  virtual bool Complete() = 0;
  virtual std::string WriteError() const = 0;

 private:
  bool Flush();
  void Begin();
  bool Formatted();  // false once the format cannot be made

  ListContext context_;
  ListFormat format_;
  std::unique_ptr<ListFormatter> formatter_;
  std::string buffer_;
  std::function<void(int)> progress_;
  int rows_ = 0;
  bool ok_ = true;
  bool can_fail_ = false;  // the formatter's CanFail, once it is made
  bool text_only_ = false;
};

// Writes a file by name (see OutputFile): a regular file whole or not at all, a device or a pipe
// written into. A format that is not text is refused for a terminal.
class FileOutput final : public RowOutput {
 public:
  [[nodiscard]] static Result<std::unique_ptr<FileOutput>> Open(const std::filesystem::path& path,
                                                                ListFormat format,
                                                                const ListContext& context = {},
                                                                PipeWait wait = PipeWait::kWait);

 private:
  FileOutput(std::unique_ptr<OutputFile> file, ListFormat format, const ListContext& context);
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;
  std::string WriteError() const override { return file_->error(); }

  std::unique_ptr<OutputFile> file_;
};

// Why a format cannot go to a terminal, or nothing when it can.
[[nodiscard]] Status CheckTerminal(ListFormat format, bool terminal);

// Writes to a stream such as standard output.
class StreamOutput final : public RowOutput {
 public:
  StreamOutput(std::FILE* stream, ListFormat format, const ListContext& context = {})
      : RowOutput(format, context), stream_(stream) {}

 private:
  bool WriteBytes(const std::string& bytes) override;
  bool Complete() override;
  std::string WriteError() const override { return error_; }

  std::FILE* stream_;
  std::string error_;
};

// Every row the list shows (or only `rows`, shown row numbers from 1) to `path`, whole or not at
// all; a pipe without a reader is refused rather than waited for.
[[nodiscard]] Status WriteListFile(const std::filesystem::path& path, const ObjectList& list,
                                   ListFormat format, const ListContext& context = {},
                                   const std::function<void(int rows_written)>& progress = {},
                                   const std::vector<int>* rows = nullptr);

}  // namespace quillet
