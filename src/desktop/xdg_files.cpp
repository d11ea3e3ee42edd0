#include "desktop/xdg_files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <array>
#include <filesystem>
#include <system_error>

#include "desktop/text_codec.h"
#include "platform/atomic_file.h"
#include "platform/input_file.h"
#include "platform/system_error.h"

namespace quillet {
namespace {

constexpr int kToolTimeout = 15000;  // milliseconds

QStringList EnvironmentDirs(const char* name, const QStringList& fallback) {
  QStringList dirs;
  // Relative entries are invalid and ignored.
  for (const QString& dir : qEnvironmentVariable(name).split(':', Qt::SkipEmptyParts)) {
    if (QDir::isAbsolutePath(dir)) dirs << dir;
  }
  return dirs.isEmpty() ? fallback : dirs;
}

QString EnvironmentDir(const char* name, const QString& fallback) {
  const QString dir = qEnvironmentVariable(name);
  return QDir::isAbsolutePath(dir) ? dir : fallback;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

XdgDirs XdgDirs::FromEnvironment() {
  const QString home = QDir::homePath();
  XdgDirs dirs;
  dirs.data_home = EnvironmentDir("XDG_DATA_HOME", home + "/.local/share");
  dirs.config_home = EnvironmentDir("XDG_CONFIG_HOME", home + "/.config");
  dirs.data_dirs = EnvironmentDirs("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
  dirs.config_dirs = EnvironmentDirs("XDG_CONFIG_DIRS", {"/etc/xdg"});
  for (const QString& desktop :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts)) {
    dirs.desktops << desktop.toLower();
  }
  return dirs;
}

// Opened as object files are: without blocking and checked once open, so a FIFO, even one put
// there after a look, is refused instead of waited on.
Result<QByteArray> ReadFileBytes(const QString& path) {
  const Result<std::unique_ptr<InputFile>> opened = InputFile::Open(ToPath(path));
  if (!opened) return Fail("cannot read " + Utf8(path) + ": " + opened.error());
  InputFile* file = opened->get();
  if (file == nullptr) return QByteArray();
  QByteArray bytes;
  std::array<char, 16384> block;
  while (const std::size_t got = file->Read(block.data(), block.size())) {
    bytes.append(block.data(), static_cast<qsizetype>(got));
  }
  if (const Status& read = file->status(); !read) {
    return Fail("cannot read " + Utf8(path) + ": " + read.error());
  }
  return bytes;
}

QByteArray ReadFileOrEmpty(const QString& path) {
  Result<QByteArray> bytes = ReadFileBytes(path);
  return bytes ? std::move(bytes).value() : QByteArray();
}

Status WriteFileBytes(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  const QString target = info.isSymLink() ? info.symLinkTarget() : path;
  const QString folder = QFileInfo(target).absolutePath();
  if (!QDir().mkpath(folder)) return Fail("cannot make the folder " + Utf8(folder));
  const AtomicFileOpen opened = AtomicFile::Open(ToPath(path));
  if (opened.file == nullptr) return Fail("cannot write " + Utf8(path) + ": " + opened.error);
  if (!opened.file->Write({bytes.constData(), static_cast<std::size_t>(bytes.size())}) ||
      !opened.file->Commit()) {
    return Fail("cannot write " + Utf8(path) + ": " + opened.file->error());
  }
  return Ok();
}

Status RemoveFile(const QString& path) {
  std::error_code error;
  std::filesystem::remove(ToPath(path), error);
  if (error) return Fail("cannot remove " + Utf8(path) + ": " + ReasonText(error));
  return Ok();
}

Status RunDatabaseTool(const QString& name, const QString& dir) {
  const QString tool = QStandardPaths::findExecutable(name);
  if (tool.isEmpty()) return Ok();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(tool, {dir});
  const std::string failed = Utf8(name) + " failed on " + Utf8(dir) + ": ";
  if (!process.waitForStarted(kToolTimeout)) return Fail(failed + "it could not be started");
  if (!process.waitForFinished(kToolTimeout)) {
    process.kill();
    process.waitForFinished(kToolTimeout);
    return Fail(failed + "it did not finish in time");
  }
  if (process.exitStatus() != QProcess::NormalExit) return Fail(failed + "it crashed");
  if (process.exitCode() != 0) {
    return Fail(failed + "it ended with status " + std::to_string(process.exitCode()));
  }
  return Ok();
}

}  // namespace quillet
