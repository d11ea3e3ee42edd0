#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support.h"

namespace quillet::test {

std::vector<std::filesystem::path> MakeSpecialFiles(const std::filesystem::path& dir) {
  const std::filesystem::path fifo = dir / "pipe.fbk";
  EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  return {fifo};
}

}  // namespace quillet::test
