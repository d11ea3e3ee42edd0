#pragma once

#include <filesystem>

namespace quillet {

// The name to give the system for `path`. On Windows a path past the old limit of 260
// characters is made absolute and gets the \\?\ prefix, without which the system refuses it;
// elsewhere, and for shorter paths, it is the path as given.
std::filesystem::path SystemPath(const std::filesystem::path& path);

}  // namespace quillet
