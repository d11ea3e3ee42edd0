#include <algorithm>
#include <random>

#include "platform/atomic_file.h"
#include "platform/system_path.h"
#include "platform/windows_error.h"

namespace quillet {

namespace fs = std::filesystem;

struct AtomicFile::Native {
  HANDLE handle = INVALID_HANDLE_VALUE;
  fs::path temporary;  // empty when writing in place
  fs::path target;     // the file itself, a link followed
  bool committed = false;
};

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

enum class Kind { kNone, kFile, kFolder, kOther, kError };

struct Look {
  Kind kind = Kind::kNone;
  fs::path file;  // the file itself, a link followed
  DWORD error = 0;
};

// What is at `path`, its links followed. Opening with no access only looks, and never waits
// for the other end of a pipe.
Look LookAt(const fs::path& path) {
  const HANDLE handle = CreateFileW(SystemPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {Kind::kNone, path};
    return {Kind::kError, path, error};
  }
  Look look{Kind::kFile, path};
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    look.kind = Kind::kOther;
  } else if (!GetFileInformationByHandle(handle, &info)) {
    look = {Kind::kError, path, GetLastError()};
  } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    look.kind = Kind::kFolder;
  } else {
    // A link is written through: the new file goes beside the file it names.
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      std::wstring final_name(32768, L'\0');
      const DWORD length = GetFinalPathNameByHandleW(
          handle, final_name.data(), static_cast<DWORD>(final_name.size()), FILE_NAME_NORMALIZED);
      if (length > 0 && length < final_name.size()) {
        final_name.resize(length);
        look.file = final_name;
      }
    }
  }
  CloseHandle(handle);
  return look;
}

// A name beside the target that nothing else uses: created exclusively, so it is ours.
HANDLE CreateBeside(const fs::path& target, fs::path& created, DWORD& error) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    created = target.parent_path() / (L"." + target.filename().wstring() + L"." +
                                      std::to_wstring(random() % 1000000) + L"~");
    const HANDLE handle = CreateFileW(SystemPath(created).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

// The target itself, for writing without truncating it, when it is still a file on disk.
HANDLE OpenInPlace(const fs::path& target) {
  const HANDLE handle = CreateFileW(SystemPath(target).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

}  // namespace

AtomicFile::AtomicFile(std::unique_ptr<Native> native) : native_(std::move(native)) {}

AtomicFile::~AtomicFile() {
  if (native_->handle != INVALID_HANDLE_VALUE) CloseHandle(native_->handle);
  if (!native_->committed && !native_->temporary.empty()) {
    DeleteFileW(SystemPath(native_->temporary).c_str());
  }
}

AtomicFileOpen AtomicFile::Open(const fs::path& target) {
  const Look look = LookAt(target);
  if (look.kind == Kind::kFolder) return {nullptr, "it is a folder"};
  if (look.kind == Kind::kOther) return {nullptr, "it is not a regular file"};
  if (look.kind == Kind::kError) return {nullptr, WindowsErrorText(look.error)};

  auto native = std::make_unique<Native>();
  native->target = look.file;
  DWORD error = 0;
  native->handle = CreateBeside(native->target, native->temporary, error);
  if (native->handle == INVALID_HANDLE_VALUE) {
    native->temporary.clear();
    // A folder the user may not write, holding a file the user may: written in place.
    if (look.kind == Kind::kFile && error == ERROR_ACCESS_DENIED) {
      native->handle = OpenInPlace(native->target);
      if (native->handle != INVALID_HANDLE_VALUE) {
        return {std::unique_ptr<AtomicFile>(new AtomicFile(std::move(native))), {}};
      }
    }
    return {nullptr, WindowsErrorText(error)};
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
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(native_->handle, bytes.data(), piece, &written, nullptr)) {
      return Fail(WindowsErrorText(GetLastError()));
    }
    if (written == 0) return Fail(WindowsErrorText(ERROR_DISK_FULL));
    bytes.remove_prefix(written);
  }
  return true;
}

bool AtomicFile::Commit() {
  if (!error_.empty()) return false;
  // In place, what is left of a longer old file goes.
  if (native_->temporary.empty() && !SetEndOfFile(native_->handle)) {
    return Fail(WindowsErrorText(GetLastError()));
  }
  if (!FlushFileBuffers(native_->handle)) return Fail(WindowsErrorText(GetLastError()));
  const HANDLE handle = native_->handle;
  native_->handle = INVALID_HANDLE_VALUE;
  if (!CloseHandle(handle)) return Fail(WindowsErrorText(GetLastError()));
  if (!native_->temporary.empty() &&
      !MoveFileExW(SystemPath(native_->temporary).c_str(), SystemPath(native_->target).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail(WindowsErrorText(GetLastError()));
  }
  native_->committed = true;
  return true;
}

}  // namespace quillet
