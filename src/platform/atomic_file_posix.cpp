#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/atomic_file.h"
#include "platform/system_error.h"

namespace quillet {

namespace fs = std::filesystem;

struct AtomicFile::Native {
  int fd = -1;
  fs::path temporary;  // empty when writing in place
  fs::path target;     // the file itself, a link followed
  bool committed = false;
};

namespace {

std::string ErrnoText() { return ReasonText(errno); }

// A name beside the target that nothing else uses: created exclusively, so it is ours.
int CreateBeside(const fs::path& target, fs::path& created) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    created = target.parent_path() /
              ("." + target.filename().string() + "." + std::to_string(random() % 1000000) + "~");
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The target itself, opened for writing without truncating it, when it is still the regular
// file that was looked at. -1 when it cannot be written.
int OpenInPlace(const fs::path& target, const struct stat& looked_at) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != looked_at.st_dev ||
      info.st_ino != looked_at.st_ino || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

AtomicFile::AtomicFile(std::unique_ptr<Native> native) : native_(std::move(native)) {}

AtomicFile::~AtomicFile() {
  if (native_->fd >= 0) ::close(native_->fd);
  if (!native_->committed && !native_->temporary.empty()) ::unlink(native_->temporary.c_str());
}

AtomicFileOpen AtomicFile::Open(const fs::path& target) {
  auto native = std::make_unique<Native>();
  std::error_code ec;
  native->target = fs::exists(fs::symlink_status(target, ec)) && fs::is_symlink(target, ec)
                       ? fs::weakly_canonical(target, ec)
                       : target;
  struct stat info {};
  const bool exists = ::stat(native->target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return {nullptr, "it is a folder"};
  if (exists && !S_ISREG(info.st_mode)) return {nullptr, "it is not a regular file"};
  if (!exists && errno != ENOENT) return {nullptr, ErrnoText()};

  native->fd = CreateBeside(native->target, native->temporary);
  if (native->fd < 0) {
    const int error_number = errno;
    native->temporary.clear();
    // A folder the user may not write, holding a file the user may: nothing can be put beside
    // the file, so it is written in place. Not atomic, but the only way the save can be done.
    if (exists && (error_number == EACCES || error_number == EPERM)) {
      native->fd = OpenInPlace(native->target, info);
      if (native->fd >= 0) {
        return {std::unique_ptr<AtomicFile>(new AtomicFile(std::move(native))), {}};
      }
    }
    return {nullptr, ReasonText(error_number)};
  }
  // The new file keeps the old one's permissions; a new one gets the usual ones.
  if (exists) ::fchmod(native->fd, info.st_mode & 07777);
  return {std::unique_ptr<AtomicFile>(new AtomicFile(std::move(native))), {}};
}

bool AtomicFile::Fail(std::string error) {
  if (error_.empty()) error_ = std::move(error);
  return false;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (!error_.empty()) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(native_->fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail(written < 0 ? ErrnoText() : ReasonText(ENOSPC));
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (!error_.empty()) return false;
  if (native_->temporary.empty()) {
    // In place: what is left of a longer old file goes.
    const off_t length = ::lseek(native_->fd, 0, SEEK_CUR);
    if (length < 0 || ::ftruncate(native_->fd, length) != 0) return Fail(ErrnoText());
  }
  if (::fsync(native_->fd) != 0) return Fail(ErrnoText());
  const int fd = native_->fd;
  native_->fd = -1;
  if (::close(fd) != 0) return Fail(ErrnoText());
  if (native_->temporary.empty()) {
    native_->committed = true;
    return true;
  }
  if (::rename(native_->temporary.c_str(), native_->target.c_str()) != 0) return Fail(ErrnoText());
  native_->committed = true;
  return true;
}

}  // namespace quillet
