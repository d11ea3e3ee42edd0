#include "output/list_file_writer.h"

#include <cerrno>

#include "runtime/system_error.h"

namespace quillet {
namespace {

constexpr std::size_t kPiece = 256 * 1024;

}  // namespace

RowOutput::RowOutput(ListFormat format) : formatter_(format) {
  buffer_.reserve(kPiece + 4096);
  formatter_.Begin(buffer_);
}

RowOutput::~RowOutput() = default;

bool RowOutput::Add(const RowView& row) {
  formatter_.AddRow(buffer_, row);
  ++rows_;
  return buffer_.size() < kPiece || Flush();
}

bool RowOutput::Finish() {
  formatter_.End(buffer_);
  return Flush() && (ok_ = Complete());
}

bool RowOutput::Flush() {
  ok_ = ok_ && WriteBytes(buffer_);
  buffer_.clear();
  if (ok_ && progress_) progress_(rows_);
  return ok_;
}

FileOutputOpen FileOutput::Open(const std::filesystem::path& path, ListFormat format) {
  AtomicFileOpen opened = AtomicFile::Open(path);
  if (opened.file == nullptr) return {nullptr, opened.error};
  return {std::unique_ptr<FileOutput>(new FileOutput(std::move(opened.file), format)), {}};
}

FileOutput::FileOutput(std::unique_ptr<AtomicFile> file, ListFormat format)
    : RowOutput(format), file_(std::move(file)) {}

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
                          ListFormat format, const std::function<void(int)>& progress) {
  FileOutputOpen opened = FileOutput::Open(path, format);
  if (opened.output == nullptr) return opened.error;
  opened.output->SetProgress(progress);
  for (const ObjectRow& row : list.Rows()) {
    if (!opened.output->Add(list.ViewOf(row))) return opened.output->Error();
  }
  return opened.output->Finish() ? std::string() : opened.output->Error();
}

}  // namespace quillet
