#include "output/list_file_writer.h"

#include <QFileInfo>
#include <QSaveFile>

namespace quillet {
namespace {

constexpr std::size_t kPiece = 256 * 1024;

}  // namespace

RowOutput::RowOutput(ListFormat format) : formatter_(format) {
  buffer_.reserve(kPiece + 4096);
  formatter_.Begin(buffer_);
}

RowOutput::~RowOutput() = default;

bool RowOutput::Add(const ObjectRow& row) {
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

std::unique_ptr<AtomicFileOutput> AtomicFileOutput::Open(const QString& path, ListFormat format) {
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) return nullptr;
  auto file = std::make_unique<QSaveFile>(path);
  // Unbuffered, so a write the disk cuts short reports its real length: through Qt's buffer a
  // full disk went unnoticed and a truncated file replaced the old one.
  if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return nullptr;
  return std::unique_ptr<AtomicFileOutput>(new AtomicFileOutput(std::move(file), format));
}

AtomicFileOutput::AtomicFileOutput(std::unique_ptr<QSaveFile> file, ListFormat format)
    : RowOutput(format), file_(std::move(file)) {}

// Without a commit the temporary file is discarded and the target left alone.
AtomicFileOutput::~AtomicFileOutput() = default;

bool AtomicFileOutput::WriteBytes(const std::string& bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  return file_->write(bytes.data(), size) == size;
}

bool AtomicFileOutput::Complete() { return file_->commit(); }

bool StreamOutput::WriteBytes(const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
}

bool StreamOutput::Complete() { return std::fflush(stream_) == 0; }

bool WriteListFile(const QString& path, const ObjectList& list, ListFormat format,
                   const std::function<void(int)>& progress) {
  const auto output = AtomicFileOutput::Open(path, format);
  if (output == nullptr) return false;
  output->SetProgress(progress);
  for (const ObjectRow& row : list.Rows()) {
    if (!output->Add(row)) return false;
  }
  return output->Finish();
}

}  // namespace quillet
