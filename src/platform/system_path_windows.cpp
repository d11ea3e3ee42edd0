#include <string>

#include "platform/system_path.h"
#include "platform/windows_error.h"

namespace quillet {

namespace fs = std::filesystem;

namespace {

// The old limit is 260 characters with the terminating nul; below 248 even a folder's name
// fits. Longer paths get the prefix a little early, so a name made beside one fits as well.
constexpr std::size_t kLongPath = 240;

}  // namespace

fs::path SystemPath(const fs::path& path) {
  const std::wstring& given = path.native();
  if (given.size() < kLongPath || given.starts_with(LR"(\\?\)") || given.starts_with(LR"(\\.\)")) {
    return path;
  }
  // The prefix turns off the system's own clean-up of the name (separators, "." and ".."), so
  // it is done first, by the system, which also makes a relative path absolute.
  std::wstring full(given.size() + MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                    nullptr)) >= full.size()) {
    full.resize(length + 1);
  }
  if (length == 0) return path;
  full.resize(length);
  if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);  // \\server\share
  return LR"(\\?\)" + full;
}

}  // namespace quillet
