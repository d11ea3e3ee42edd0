#pragma once

#include <filesystem>

#include "commands/workspace.h"
#include "objects/object_file_reader.h"
#include "platform/input_file.h"

namespace quillet {

// The whole load of a named file as file #1 or #2: takes that file's rows out of the list,
// reports the file opened into its slot, reads it, and tells the user what they must know.
// `kinds` says whether a pipe or a device (and "-" for standard input) may stand for the file.
LoadResult LoadObjectFile(Workspace& ws, const std::filesystem::path& file_name, int file,
                          InputKinds kinds = InputKinds::kFiles);

}  // namespace quillet
