#include "output/list_file_writer.h"

#include <cerrno>
#include <vector>

#include "platform/system_error.h"

namespace quillet {
namespace {

constexpr std::size_t kPiece = std::size_t{64} * 1024;

}  // namespace

RowOutput::RowOutput(ListFormat format, const ListContext& context)
    : context_(context), format_(format) {
  buffer_.reserve(kPiece + 4096);
}

void RowOutput::SetCounts(std::vector<std::pair<std::string, long long>> counts) {
  context_.counts = std::move(counts);
}

// The format starts with the first row, so what is told before it (the counts) is in the
// report's title block.
void RowOutput::Begin() {
  if (formatter_ != nullptr) return;
  formatter_ = ListFormatter::Make(format_, context_);
  can_fail_ = formatter_->CanFail();
  formatter_->Begin(buffer_);
}

RowOutput::~RowOutput() = default;

bool RowOutput::Formatted() {
  if (ok_ && can_fail_ && !formatter_->Error().empty()) ok_ = false;
  return ok_;
}

std::string RowOutput::Error() const {
  if (formatter_ != nullptr && !formatter_->Error().empty()) return formatter_->Error();
  return WriteError();
}

bool RowOutput::Add(const RowView& row) {
  if (formatter_ == nullptr) Begin();
  formatter_->AddRow(buffer_, row);
  ++rows_;
  return Formatted() && (buffer_.size() < kPiece || Flush());
}

bool RowOutput::WriteText(std::string_view text) {
  text_only_ = true;
  buffer_ += text;
  return buffer_.size() < kPiece || Flush();
}

bool RowOutput::WriteSummary(const SummaryCounts& counts) {
  text_only_ = true;
  if (formatter_ == nullptr) {
    formatter_ = ListFormatter::Make(format_, context_);
    can_fail_ = formatter_->CanFail();
  }
  formatter_->Summary(buffer_, counts);
  return Formatted() && (buffer_.size() < kPiece || Flush());
}

bool RowOutput::Finish() {
  if (!text_only_) {
    Begin();
    formatter_->End(buffer_);
  }
  return Formatted() && Flush() && (ok_ = Complete());
}

bool RowOutput::Flush() {
  ok_ = ok_ && WriteBytes(buffer_);
  buffer_.clear();
  if (ok_ && progress_) progress_(rows_);
  return ok_;
}

Result<std::unique_ptr<FileOutput>> FileOutput::Open(const std::filesystem::path& path,
                                                     ListFormat format, const ListContext& context,
                                                     PipeWait wait) {
  Result<std::unique_ptr<OutputFile>> opened = OutputFile::Open(path, wait);
  if (!opened) return Fail(opened.error());
  if (Status fits = CheckTerminal(format, opened.value()->IsTerminal()); !fits) {
    return Fail(fits.error());
  }
  return std::unique_ptr<FileOutput>(new FileOutput(std::move(opened.value()), format, context));
}

FileOutput::FileOutput(std::unique_ptr<OutputFile> file, ListFormat format,
                       const ListContext& context)
    : RowOutput(format, context), file_(std::move(file)) {}

Status CheckTerminal(ListFormat format, bool terminal) {
  if (!terminal || !InfoOf(format).binary) return Ok();
  return Fail("it is a terminal, and " + std::string(InfoOf(format).token) +
              " is not text (write it to a file)");
}

bool FileOutput::WriteBytes(const std::string& bytes) { return file_->Write(bytes); }

bool FileOutput::Complete() { return file_->Commit(); }

bool StreamOutput::WriteBytes(const std::string& bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size()) return true;
  error_ = ReasonText(errno != 0 ? errno : EIO);
  return false;
}

bool StreamOutput::Complete() {
  errno = 0;
  if (std::fflush(stream_) == 0) return true;
  error_ = ReasonText(errno != 0 ? errno : EIO);
  return false;
}

Status WriteListFile(const std::filesystem::path& path, const ObjectList& list, ListFormat format,
                     const ListContext& context, const std::function<void(int)>& progress,
                     const std::vector<int>* rows) {
  Result<std::unique_ptr<FileOutput>> opened =
      FileOutput::Open(path, format, context, PipeWait::kRefuse);
  if (!opened) return Fail(opened.error());
  FileOutput& output = *opened.value();
  output.SetProgress(progress);
  const int count = rows != nullptr ? static_cast<int>(rows->size()) : list.RowCount();
  for (int i = 0; i < count; ++i) {
    const int row = rows != nullptr ? (*rows)[static_cast<std::size_t>(i)] : i + 1;
    if (!output.Add(list.View(row))) return Fail(output.Error());
  }
  if (!output.Finish()) return Fail(output.Error());
  return Ok();
}

}  // namespace quillet
