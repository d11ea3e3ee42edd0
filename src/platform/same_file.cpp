#include "platform/same_file.h"

namespace quillet {

namespace fs = std::filesystem;

fs::path ResolvedName(const fs::path& name) {
  std::error_code ec;
  fs::path path = fs::absolute(name, ec);
  if (ec) path = name;
  // A chain of links ends somewhere, or is given up as the system would.
  for (int hop = 0; hop < 40; ++hop) {
    path = fs::weakly_canonical(path, ec).lexically_normal();
    if (ec || !fs::is_symlink(fs::symlink_status(path, ec))) break;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return ResolvedName(a) == ResolvedName(b);
}

bool WrittenInto(const fs::path& name) {
  std::error_code ec;
  const fs::file_status status = fs::status(name, ec);
  return !ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

}  // namespace quillet
