#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quillet {

// Exit statuses, as diff taught everyone: 0 fine, 1 the files differ (compare --different found
// rows), 2 trouble.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitTrouble = 2;

// Runs quillet-cli with its arguments (the program name left out); writes results to `out` and
// messages to `err`; gives the exit status.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace quillet
