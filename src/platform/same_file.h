#pragma once

#include <filesystem>

namespace quillet {

// The absolute, normalised name of the file a name reaches: the folders that exist resolved
// (links, "..", "."), and a link at the end followed, also one whose target is not there yet.
std::filesystem::path ResolvedName(const std::filesystem::path& name);

// Whether two names reach the same file: their resolved names agree, or both exist and are one
// file on disk (a hard link, a second mount).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Whether writing to the name goes into something that is there and is not replaced: a device,
// a pipe, a terminal (what OutputFile writes into).
bool WrittenInto(const std::filesystem::path& name);

}  // namespace quillet
