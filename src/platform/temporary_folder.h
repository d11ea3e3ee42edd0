#pragma once

#include <filesystem>
#include <memory>

#include "platform/result.h"

namespace quillet {

// A folder of its own under the system's temporary folder, only the user may enter it; it goes,
// with everything in it, when the object does. For files a library insists on writing by name.
class TemporaryFolder {
 public:
  [[nodiscard]] static Result<std::unique_ptr<TemporaryFolder>> Make();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  explicit TemporaryFolder(std::filesystem::path path) : path_(std::move(path)) {}
  std::filesystem::path path_;
};

}  // namespace quillet
