#include <stdlib.h>

#include <cerrno>
#include <string>

#include "platform/system_error.h"
#include "platform/temporary_folder.h"

namespace quillet {

Result<std::unique_ptr<TemporaryFolder>> TemporaryFolder::Make() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return Fail(ReasonText(ec));
  // mkdtemp makes it exclusively, mode 0700: nobody else can see in or put anything there.
  std::string name = (base / "quillet-XXXXXX").string();
  if (::mkdtemp(name.data()) == nullptr) return Fail(ReasonText(errno));
  return std::unique_ptr<TemporaryFolder>(new TemporaryFolder(name));
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace quillet
