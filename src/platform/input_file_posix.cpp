#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/input_file.h"
#include "platform/system_error.h"

namespace quillet {

namespace fs = std::filesystem;

struct InputFile::Native {
  ~Native() {
    if (fd >= 0) ::close(fd);
  }
  int fd = -1;
};

namespace {

using Opened = Result<std::unique_ptr<InputFile>>;

Opened Refused(int error_number) {
  if (error_number == ENOENT || error_number == ENOTDIR) return std::unique_ptr<InputFile>();
  return Fail(ReasonText(error_number));
}

bool IsStreamKind(mode_t mode) { return S_ISFIFO(mode) || S_ISCHR(mode); }

// Why a name of this kind is not read; empty where it is. Where only files are wanted, anything
// but a regular file is "not a regular file", as it always was.
std::string KindRefusal(mode_t mode, InputKinds kinds) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "it is a folder";
  if (kinds == InputKinds::kFiles) return "it is not a regular file";
  if (IsStreamKind(mode)) return {};
  if (S_ISBLK(mode)) return "it is a block device";
  if (S_ISSOCK(mode)) return "it is a socket";
  return "it is not a file, a pipe or a character device";
}

}  // namespace

InputFile::InputFile(std::unique_ptr<Native> native, bool stream)
    : native_(std::move(native)), stream_(stream) {}

InputFile::~InputFile() = default;

Result<std::unique_ptr<InputFile>> InputFile::StandardInput() {
  // A copy of the descriptor: the caller's standard input stays open, and is read from where it
  // stands, as cat would, never rewound.
  const int fd = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd < 0)
    return Fail(errno == EBADF ? std::string("standard input is closed") : ReasonText(errno));
  auto native = std::make_unique<Native>();
  native->fd = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Refused(errno);
  if (S_ISDIR(info.st_mode)) return Fail("it is a folder");
  return std::unique_ptr<InputFile>(new InputFile(std::move(native), true));
}

Result<std::unique_ptr<InputFile>> InputFile::Open(const fs::path& path, InputKinds kinds) {
  if (path.empty()) return std::unique_ptr<InputFile>();
  if (kinds == InputKinds::kStreamsAndStandardInput && path.native() == kStandardInputName) {
    return StandardInput();
  }
  // A look before the open, so that what is plainly a device is never opened where only files
  // are wanted. It decides nothing about what is then read.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Refused(errno);
  if (std::string refusal = KindRefusal(info.st_mode, kinds); !refusal.empty()) {
    return Fail(std::move(refusal));
  }

  // A file opens with O_NONBLOCK: a pipe without a writer, swapped in since the look, opens at
  // once instead of waiting for one, and the check of what was opened then decides. A stream
  // opens as cat opens it: a FIFO waits for its writer.
  const bool looked_like_stream = IsStreamKind(info.st_mode);
  const int fd =
      ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (looked_like_stream ? 0 : O_NONBLOCK));
  if (fd < 0) return Refused(errno);
  auto native = std::make_unique<Native>();
  native->fd = fd;
  if (::fstat(fd, &info) != 0) return Refused(errno);
  if (std::string refusal = KindRefusal(info.st_mode, kinds); !refusal.empty()) {
    return Fail(std::move(refusal));
  }
  if (!looked_like_stream) {
    // Reads block again, so a slow disk is waited for instead of reported as an error.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Refused(errno);
  }
  return std::unique_ptr<InputFile>(new InputFile(std::move(native), !S_ISREG(info.st_mode)));
}

std::size_t InputFile::Read(char* destination, std::size_t n) {
  if (!status_) return 0;
  std::size_t count = 0;
  while (count < n) {
    const ssize_t got = ::read(native_->fd, destination + count, n - count);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A descriptor someone else set non-blocking (standard input may be): wait for data as a
      // blocking read would.
      pollfd wait{native_->fd, POLLIN, 0};
      if (::poll(&wait, 1, -1) >= 0 || errno == EINTR) continue;
    }
    if (got < 0) {
      status_ = Fail(ReasonText(errno));
      break;
    }
    if (got == 0) break;
    count += static_cast<std::size_t>(got);
    // A stream gives what has come: waiting for more could wait for a writer that is done.
    if (stream_) break;
  }
  return count;
}

Status InputFile::Rewind() {
  if (!status_) return status_;
  if (stream_) {
    status_ = Fail("a pipe or a device cannot be read twice");
  } else if (::lseek(native_->fd, 0, SEEK_SET) != 0) {
    status_ = Fail(ReasonText(errno));
  }
  return status_;
}

}  // namespace quillet
