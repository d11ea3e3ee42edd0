#include <algorithm>

#include "platform/input_file.h"
#include "platform/system_path.h"
#include "platform/windows_error.h"

namespace quillet {

namespace fs = std::filesystem;

struct InputFile::Native {
  ~Native() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

using Opened = Result<std::unique_ptr<InputFile>>;

Opened Refused(DWORD code) {
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
    return std::unique_ptr<InputFile>();
  }
  return Fail(WindowsErrorText(code));
}

bool IsStreamType(DWORD type) { return type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR; }

}  // namespace

InputFile::InputFile(std::unique_ptr<Native> native, bool stream)
    : native_(std::move(native)), stream_(stream) {}

InputFile::~InputFile() = default;

Result<std::unique_ptr<InputFile>> InputFile::StandardInput() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE || input == nullptr) return Fail("standard input is closed");
  // A copy of the handle: the caller's standard input stays open, and is read from where it
  // stands, never rewound.
  HANDLE copy = INVALID_HANDLE_VALUE;
  if (!DuplicateHandle(GetCurrentProcess(), input, GetCurrentProcess(), &copy, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return Fail(WindowsErrorText(GetLastError()));
  }
  auto native = std::make_unique<Native>();
  native->handle = copy;
  return std::unique_ptr<InputFile>(new InputFile(std::move(native), true));
}

Result<std::unique_ptr<InputFile>> InputFile::Open(const fs::path& path, InputKinds kinds) {
  if (path.empty()) return std::unique_ptr<InputFile>();
  if (kinds == InputKinds::kStreamsAndStandardInput && path.native() == L"-") {
    return StandardInput();
  }
  const fs::path name = SystemPath(path);
  // Backup semantics let a folder open as well, so it is told apart by what was opened. Opening
  // a pipe never waits for its other end.
  const HANDLE handle = CreateFileW(
      name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return Fail("it is a folder");
    }
    return Refused(error);
  }
  auto native = std::make_unique<Native>();
  native->handle = handle;
  const DWORD type = GetFileType(handle);
  if (type != FILE_TYPE_DISK) {
    if (kinds == InputKinds::kFiles || !IsStreamType(type)) return Fail("it is not a regular file");
    return std::unique_ptr<InputFile>(new InputFile(std::move(native), true));
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return Refused(GetLastError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Fail("it is a folder");
  return std::unique_ptr<InputFile>(new InputFile(std::move(native), false));
}

std::size_t InputFile::Read(char* destination, std::size_t n) {
  if (!status_) return 0;
  std::size_t count = 0;
  while (count < n) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(n - count, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(native_->handle, destination + count, piece, &got, nullptr)) {
      const DWORD error = GetLastError();
      // A pipe whose writer is done ends so.
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;
      status_ = Fail(WindowsErrorText(error));
      break;
    }
    if (got == 0) break;
    count += got;
    // A stream gives what has come: waiting for more could wait for a writer that is done.
    if (stream_) break;
  }
  return count;
}

Status InputFile::Rewind() {
  if (!status_) return status_;
  LARGE_INTEGER start{};
  if (stream_) {
    status_ = Fail("a pipe or a device cannot be read twice");
  } else if (!SetFilePointerEx(native_->handle, start, nullptr, FILE_BEGIN)) {
    status_ = Fail(WindowsErrorText(GetLastError()));
  }
  return status_;
}

}  // namespace quillet
