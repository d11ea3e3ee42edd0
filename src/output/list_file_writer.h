#pragma once

#include <QString>
#include <functional>

#include "list/object_list.h"
#include "output/list_formats.h"

namespace quillet {

// Writes every row of the list to `path` in `format`, in one pass, through a temporary file
// that replaces the target only when it is complete: on any failure the file that was there
// stays exactly as it was. A target that exists but is not a regular file (a folder, a device,
// a pipe) is refused. `progress` hears the number of rows written now and then. Gives false on
// failure.
bool WriteListFile(const QString& path, const ObjectList& list, ListFormat format,
                   const std::function<void(int rows_written)>& progress = {});

}  // namespace quillet
