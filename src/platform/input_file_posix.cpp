#include <fcntl.h>
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

InputFileOpen Refused(int error_number) {
  if (error_number == ENOENT || error_number == ENOTDIR) return {InputStatus::kMissing, {}, {}};
  return {InputStatus::kUnreadable, nullptr, ReasonText(error_number)};
}

// Why a file of this kind is not read; empty for a regular file.
std::string KindRefusal(mode_t mode) {
  if (S_ISREG(mode)) return {};
  return S_ISDIR(mode) ? "it is a folder" : "it is not a regular file";
}

}  // namespace

InputFile::InputFile(std::unique_ptr<Native> native) : native_(std::move(native)) {}

InputFile::~InputFile() = default;

InputFileOpen InputFile::Open(const fs::path& path) {
  if (path.empty()) return {InputStatus::kMissing, nullptr, {}};
  // A look before the open, so that what is plainly a device is never opened at all: opening
  // some devices does something. It decides nothing about what is then read.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Refused(errno);
  if (std::string refusal = KindRefusal(info.st_mode); !refusal.empty()) {
    return {InputStatus::kUnreadable, nullptr, std::move(refusal)};
  }

  // O_NONBLOCK: a pipe without a writer, swapped in since the look, opens at once instead of
  // waiting for one; the check of what was opened then refuses it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Refused(errno);
  auto native = std::make_unique<Native>();
  native->fd = fd;
  if (::fstat(fd, &info) != 0) return Refused(errno);
  if (std::string refusal = KindRefusal(info.st_mode); !refusal.empty()) {
    return {InputStatus::kUnreadable, nullptr, std::move(refusal)};
  }
  // Reads block again, so a slow disk is waited for instead of reported as an error.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Refused(errno);
  return {InputStatus::kOpened, std::unique_ptr<InputFile>(new InputFile(std::move(native))), {}};
}

std::size_t InputFile::Read(char* destination, std::size_t n) {
  if (failed()) return 0;
  std::size_t count = 0;
  while (count < n) {
    const ssize_t got = ::read(native_->fd, destination + count, n - count);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = ReasonText(errno);
      break;
    }
    if (got == 0) break;
    count += static_cast<std::size_t>(got);
  }
  return count;
}

bool InputFile::Rewind() {
  if (failed()) return false;
  if (::lseek(native_->fd, 0, SEEK_SET) == 0) return true;
  error_ = ReasonText(errno);
  return false;
}

}  // namespace quillet
