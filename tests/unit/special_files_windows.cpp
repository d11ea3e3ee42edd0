#include "test_support.h"

namespace quillet::test {

// A pipe on Windows has no name in a folder.
std::vector<std::filesystem::path> MakeSpecialFiles(const std::filesystem::path&) { return {}; }

}  // namespace quillet::test
