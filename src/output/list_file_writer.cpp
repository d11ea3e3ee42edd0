#include "output/list_file_writer.h"

#include <QFileInfo>
#include <QSaveFile>
#include <string>

namespace quillet {
namespace {

constexpr std::size_t kChunk = 256 * 1024;

bool Flush(QSaveFile& file, std::string& buffer) {
  const auto size = static_cast<qint64>(buffer.size());
  const bool written = file.write(buffer.data(), size) == size;
  buffer.clear();
  return written;
}

}  // namespace

bool WriteListFile(const QString& path, const ObjectList& list, ListFormat format,
                   const std::function<void(int)>& progress) {
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) return false;
  QSaveFile file(path);
  // Unbuffered, so a write the disk cuts short reports its real length: through Qt's buffer a
  // full disk went unnoticed and a truncated file replaced the old one.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;

  ListFormatter formatter(format);
  std::string buffer;
  buffer.reserve(kChunk + 4096);
  formatter.Begin(buffer);
  int rows = 0;
  for (const ObjectRow& row : list.Rows()) {
    formatter.AddRow(buffer, row);
    ++rows;
    if (buffer.size() >= kChunk) {
      if (!Flush(file, buffer)) return false;  // the temporary file is discarded
      if (progress) progress(rows);
    }
  }
  formatter.End(buffer);
  if (!Flush(file, buffer) || !file.commit()) return false;
  if (progress) progress(rows);
  return true;
}

}  // namespace quillet
