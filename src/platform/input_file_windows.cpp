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

InputFileOpen Refused(DWORD code) {
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
    return {InputStatus::kMissing, nullptr, {}};
  }
  return {InputStatus::kUnreadable, nullptr, WindowsErrorText(code)};
}

InputFileOpen NotAFile(std::string why) {
  return {InputStatus::kUnreadable, nullptr, std::move(why)};
}

}  // namespace

InputFile::InputFile(std::unique_ptr<Native> native) : native_(std::move(native)) {}

InputFile::~InputFile() = default;

InputFileOpen InputFile::Open(const fs::path& path) {
  if (path.empty()) return {InputStatus::kMissing, nullptr, {}};
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
      return NotAFile("it is a folder");
    }
    return Refused(error);
  }
  auto native = std::make_unique<Native>();
  native->handle = handle;
  if (GetFileType(handle) != FILE_TYPE_DISK) return NotAFile("it is not a regular file");
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return Refused(GetLastError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return NotAFile("it is a folder");
  return {InputStatus::kOpened, std::unique_ptr<InputFile>(new InputFile(std::move(native))), {}};
}

std::size_t InputFile::Read(char* destination, std::size_t n) {
  if (failed()) return 0;
  std::size_t count = 0;
  while (count < n) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(n - count, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(native_->handle, destination + count, piece, &got, nullptr)) {
      error_ = WindowsErrorText(GetLastError());
      break;
    }
    if (got == 0) break;
    count += got;
  }
  return count;
}

bool InputFile::Rewind() {
  if (failed()) return false;
  LARGE_INTEGER start{};
  if (SetFilePointerEx(native_->handle, start, nullptr, FILE_BEGIN)) return true;
  error_ = WindowsErrorText(GetLastError());
  return false;
}

}  // namespace quillet
