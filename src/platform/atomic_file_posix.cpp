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

// The file a name stands for, its links followed to the end, also to a file not there yet.
fs::path FollowLinks(const fs::path& target, std::string& error) {
  fs::path path = target;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::error_code ec;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) {
      error = ReasonText(ec);
      return path;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  error = ReasonText(ELOOP);
  return path;
}

// The new file takes the old one's owner, group and permissions; false when it cannot.
bool KeepOwnerAndMode(int fd, const struct stat& old) {
  struct stat created {};
  if (::fstat(fd, &created) != 0) return false;
  if ((created.st_uid != old.st_uid || created.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  // After the owner: a change of owner clears the set-user bits.
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

AtomicFile::AtomicFile(std::unique_ptr<Native> native) : native_(std::move(native)) {}

AtomicFile::~AtomicFile() {
  if (native_->fd >= 0) ::close(native_->fd);
  if (!native_->committed && !native_->temporary.empty()) ::unlink(native_->temporary.c_str());
}

AtomicFileOpen AtomicFile::Open(const fs::path& target) {
  auto native = std::make_unique<Native>();
  // A link stays a link: the file it names is written, also one not there yet.
  std::string link_error;
  native->target = FollowLinks(target, link_error);
  if (!link_error.empty()) return {nullptr, link_error};
  struct stat info {};
  const bool exists = ::stat(native->target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return {nullptr, "it is a folder"};
  if (exists && !S_ISREG(info.st_mode)) return {nullptr, "it is not a regular file"};
  if (!exists && errno != ENOENT) return {nullptr, ErrnoText()};
  if (!exists && native->target != target) {
    struct stat folder {};
    const fs::path parent = native->target.parent_path();
    if (::stat(parent.empty() ? "." : parent.c_str(), &folder) != 0 && errno == ENOENT) {
      return {nullptr,
              "it links to " + native->target.string() + ", in a folder that does not exist"};
    }
  }
  // A file the user may not write is not theirs to replace, as the shell's > would say.
  if (exists && ::faccessat(AT_FDCWD, native->target.c_str(), W_OK, AT_EACCESS) != 0) {
    return {nullptr, ErrnoText()};
  }
  // Other names of the file (hard links) would keep the old bytes after a rename.
  const auto in_place = [&](int error_number) -> AtomicFileOpen {
    native->fd = OpenInPlace(native->target, info);
    if (native->fd < 0) return {nullptr, ReasonText(error_number)};
    return {std::unique_ptr<AtomicFile>(new AtomicFile(std::move(native))), {}};
  };
  if (exists && info.st_nlink > 1) return in_place(EPERM);

  native->fd = CreateBeside(native->target, native->temporary);
  if (native->fd < 0) {
    const int error_number = errno;
    native->temporary.clear();
    // A folder the user may not write, holding a file the user may: nothing can be put beside
    // the file, so it is written in place. Not atomic, but the only way the save can be done.
    if (exists && (error_number == EACCES || error_number == EPERM)) {
      return in_place(error_number);
    }
    return {nullptr, ReasonText(error_number)};
  }
  if (exists && !KeepOwnerAndMode(native->fd, info)) {
    // Only the owner's own file can take another owner: the old file is written in place.
    ::close(native->fd);
    native->fd = -1;
    ::unlink(native->temporary.c_str());
    native->temporary.clear();
    return in_place(EPERM);
  }
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
