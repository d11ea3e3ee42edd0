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
  formatter_->Begin(buffer_);
}

RowOutput::~RowOutput() = default;

bool RowOutput::Add(const RowView& row) {
  Begin();
  formatter_->AddRow(buffer_, row);
  ++rows_;
  return buffer_.size() < kPiece || Flush();
}

bool RowOutput::WriteText(std::string_view text) {
  text_only_ = true;
  buffer_ += text;
  return buffer_.size() < kPiece || Flush();
}

bool RowOutput::Finish() {
  if (!text_only_) {
    Begin();
    formatter_->End(buffer_);
  }
  return Flush() && (ok_ = Complete());
}

bool RowOutput::Flush() {
  ok_ = ok_ && WriteBytes(buffer_);
  buffer_.clear();
  if (ok_ && progress_) progress_(rows_);
  return ok_;
}

FileOutputOpen FileOutput::Open(const std::filesystem::path& path, ListFormat format,
                                const ListContext& context) {
  AtomicFileOpen opened = AtomicFile::Open(path);
  if (opened.file == nullptr) return {nullptr, opened.error};
  return {std::unique_ptr<FileOutput>(new FileOutput(std::move(opened.file), format, context)), {}};
}

FileOutput::FileOutput(std::unique_ptr<AtomicFile> file, ListFormat format,
                       const ListContext& context)
    : RowOutput(format, context), file_(std::move(file)) {}

bool FileOutput::WriteBytes(const std::string& bytes) { return file_->Write(bytes); }

bool FileOutput::Complete() { return file_->Commit(); }

bool StreamOutput::WriteBytes(const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size()) return true;
  error_ = ReasonText(errno);
  return false;
}

bool StreamOutput::Complete() {
  if (std::fflush(stream_) == 0) return true;
  error_ = ReasonText(errno);
  return false;
}

std::string WriteListFile(const std::filesystem::path& path, const ObjectList& list,
                          ListFormat format, const ListContext& context,
                          const std::function<void(int)>& progress, const std::vector<int>* rows) {
  FileOutputOpen opened = FileOutput::Open(path, format, context);
  if (opened.output == nullptr) return opened.error;
  opened.output->SetProgress(progress);
  const int count = rows != nullptr ? static_cast<int>(rows->size()) : list.RowCount();
  for (int i = 0; i < count; ++i) {
    const int row = rows != nullptr ? (*rows)[static_cast<std::size_t>(i)] : i + 1;
    if (!opened.output->Add(list.View(row))) return opened.output->Error();
  }
  return opened.output->Finish() ? std::string() : opened.output->Error();
}

}  // namespace quillet
