#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "objects/byte_source.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"
#include "platform/result.h"

namespace quillet {

enum class LoadStatus {
  kMissing,     // no such file: nothing was changed
  kUnreadable,  // exists but cannot be read: the file holds no objects now
  kNoObjects,   // no directory, or no object line in it
  kLoaded,      // at least one object was stored
};

struct LoadResult {
  LoadStatus status = LoadStatus::kMissing;
  int objects = 0;                // the file's object count now
  long long lines = 0;            // object lines the directory announces
  bool capacity_reached = false;  // more objects than the table holds; the rest were left out
  bool cut_short = false;         // the file ended inside an object line; later lines were left out
  bool no_directory = false;      // it has bytes but no object directory: not an object file
  bool stream = false;            // read from a pipe or a device, which cannot be read again
  Status read;                    // ok, or why the file could not be read (kUnreadable)
};

// A backup file drops repeated Table lines; its name ends in ".fbk" in any letter case.
bool IsBackupFileName(const std::filesystem::path& file_name);

// Reads the object directory of `source` into area `file` of the table and sets its count.
// Reports the loading status texts; knows nothing of the list or of messages.
LoadResult ReadObjectDirectory(ObjectTable& table, ByteSource& source, int file, bool backup,
                               StatusSink& status);

}  // namespace quillet
