// What escapes quillet-cli's run ends it as every other failure does: status 2 and one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "cli/cli_support.h"
#include "gen/generator.h"

namespace {

using quillet::test::CliTest;
using quillet::test::Outcome;

bool Sanitized() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return true;
#elif defined(__has_feature)
  return __has_feature(address_sanitizer) || __has_feature(thread_sanitizer);
#else
  return false;
#endif
}

// Memory that runs out somewhere in the run: with the address space cut step by step, a
// comparison fails in the reader, which says so, then in places nothing checks, which throw.
TEST_F(CliTest, MemoryRunningOutEndsWithTwoAndOneLine) {
  if (Sanitized()) GTEST_SKIP() << "the sanitizers need more address space than the limits here";
  if (std::system("command -v prlimit >/dev/null") != 0) GTEST_SKIP() << "prlimit is missing";
  const std::string file = Generated("f.fob", 50000);
  int escaped = 0;
  int megabytes = 4;
  for (; megabytes <= 512; megabytes += 2) {
    const Outcome outcome = Run("compare --changes " + file + " " + file,
                                "prlimit --as=" + std::to_string(megabytes << 20));
    if (outcome.status == 0) break;
    // Too little for the loader to map the C library: the program never started.
    if (outcome.err.find("error while loading shared libraries") != std::string::npos) continue;
    SCOPED_TRACE(std::to_string(megabytes) + " MB");
    ASSERT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_EQ(outcome.err.rfind("quillet-cli: ", 0), 0u) << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    escaped += outcome.err == "quillet-cli: not enough memory\n";
  }
  EXPECT_LE(megabytes, 512) << "the comparison never ran through";
  EXPECT_GT(escaped, 0) << "memory never ran out past the reader";
}

}  // namespace
