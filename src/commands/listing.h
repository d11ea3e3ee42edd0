#pragma once

#include "commands/workspace.h"

namespace quillet {

// Appends the row of record `index` (1-based) of `file`, without filtering.
void AddObjectRow(Workspace& ws, int file, int index);

// Appends, in table order, the rows of the objects of `file` that pass the row filter.
void ShowFileObjects(Workspace& ws, int file);

// Rebuilds the list: all of file #1's passing rows, then file #2's.
void RefreshList(Workspace& ws);

// Which comparisons the loaded objects allow.
struct AvailableCommands {
  bool compare = false;   // equal, different and changes: objects in both files
  bool show_all = false;  // objects in either file
  bool upgrade = false;   // objects in the base as well
};
AvailableCommands CommandsFor(const ObjectTable& table);

}  // namespace quillet
