#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/output_file.h"
#include "platform/output_file_common.h"
#include "platform/system_error.h"

namespace quillet {
namespace {

// A device, a pipe or a terminal, written into where it is.
class WrittenInto final : public OutputFile {
 public:
  WrittenInto(int fd, bool terminal) : fd_(fd), terminal_(terminal) {}
  ~WrittenInto() override { ::close(fd_); }
  WrittenInto(const WrittenInto&) = delete;
  WrittenInto& operator=(const WrittenInto&) = delete;

  bool Write(std::string_view bytes) override {
    if (!error_.empty()) return false;
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return Fail(written < 0 ? errno : ENOSPC);
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }
  // Nothing to put in place and nothing a device could sync: every write was checked.
  bool Commit() override { return error_.empty(); }
  const std::string& error() const override { return error_; }
  bool IsTerminal() const override { return terminal_; }

 private:
  bool Fail(int error_number) {
    if (error_.empty()) error_ = ReasonText(error_number);
    return false;
  }

  int fd_;
  bool terminal_;
  std::string error_;
};

}  // namespace

Result<std::unique_ptr<OutputFile>> OutputFile::Open(const std::filesystem::path& target,
                                                     PipeWait wait) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return OpenReplaced(target);
  if (S_ISDIR(info.st_mode)) return Fail("it is a folder");
  // Never created, never cut: what is there takes the bytes.
  int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
  if (wait == PipeWait::kRefuse) flags |= O_NONBLOCK;
  int fd = -1;
  do {
    fd = ::open(target.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENXIO && S_ISFIFO(info.st_mode)) return Fail("no program reads from the pipe");
    return Fail(ReasonText(errno));
  }
  struct stat opened {};
  const int status_flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &opened) != 0 || status_flags < 0 ||
      ::fcntl(fd, F_SETFL, status_flags & ~O_NONBLOCK) != 0) {
    const int error_number = errno;
    ::close(fd);
    return Fail(ReasonText(error_number));
  }
  if (S_ISREG(opened.st_mode) || S_ISDIR(opened.st_mode)) {
    // It changed since it was looked at: replaced the usual way, or refused.
    ::close(fd);
    return OpenReplaced(target);
  }
  return std::unique_ptr<OutputFile>(new WrittenInto(fd, ::isatty(fd) == 1));
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace quillet
