// Long paths on Windows: without the \\?\ prefix the system refuses a path past 260 characters
// (Wine does not, so what the prefix does is checked here by its text).
#include <gtest/gtest.h>

#include <string>

#include "platform/system_path.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

TEST(SystemPath, PrefixesLongPathsOnly) {
  const std::wstring part(100, L'a');
  EXPECT_EQ(SystemPath(LR"(C:\short\name.fob)").native(), LR"(C:\short\name.fob)");

  const std::wstring long_name = LR"(C:\)" + part + LR"(\)" + part + LR"(\)" + part + L"\\x.fob";
  EXPECT_EQ(SystemPath(long_name).native(), LR"(\\?\)" + long_name);
  // The prefix turns off the system's clean-up of the name, so it must be done before.
  EXPECT_EQ(
      SystemPath(L"C:/" + part + L"/" + part + L"/../" + part + L"/./" + part + L"/x.fob").native(),
      LR"(\\?\C:\)" + part + LR"(\)" + part + LR"(\)" + part + L"\\x.fob");
  EXPECT_EQ(SystemPath(LR"(\\server\share\)" + part + LR"(\)" + part + LR"(\)" + part).native(),
            LR"(\\?\UNC\server\share\)" + part + LR"(\)" + part + LR"(\)" + part);
  EXPECT_EQ(SystemPath(LR"(\\?\)" + long_name).native(), LR"(\\?\)" + long_name);

  const std::wstring relative = SystemPath(part + LR"(\)" + part + LR"(\)" + part).native();
  EXPECT_EQ(relative.rfind(LR"(\\?\)", 0), 0u);
  EXPECT_TRUE(fs::path(relative.substr(4)).is_absolute());
  EXPECT_EQ(relative.substr(relative.size() - part.size() * 3 - 2),
            part + LR"(\)" + part + LR"(\)" + part);
}

}  // namespace
}  // namespace quillet
