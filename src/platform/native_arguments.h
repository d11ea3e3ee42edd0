#pragma once

#include <filesystem>
#include <vector>

namespace quillet {

// The program's arguments after its name, as the system gave them: the bytes of argv on
// Linux, the UTF-16 command line on Windows. A file name among them opens whatever its
// encoding, and nothing (Qt included) has taken options out of them.
std::vector<std::filesystem::path::string_type> NativeArguments(int argc, char* argv[]);

}  // namespace quillet
