#include <random>
#include <string>

#include "platform/system_error.h"
#include "platform/temporary_folder.h"

namespace quillet {

Result<std::unique_ptr<TemporaryFolder>> TemporaryFolder::Make() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return Fail(ReasonText(ec));
  // The user's own temporary folder: a new name made exclusively is ours.
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::filesystem::path path = base / ("quillet-" + std::to_string(random()));
    if (std::filesystem::create_directory(path, ec)) {
      return std::unique_ptr<TemporaryFolder>(new TemporaryFolder(path));
    }
    if (ec) return Fail(ReasonText(ec));
  }
  return Fail("no unused name for a temporary folder");
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace quillet
