#pragma once

#include "commands/message_sink.h"
#include "list/object_list.h"
#include "list/row_filter.h"
#include "objects/object_table.h"
#include "objects/status_sink.h"

namespace quillet {

// What the commands work on: the object table, the list's rows, the row filter, and where they
// report. The window's session and the command line each own one set and bind it here.
struct Workspace {
  ObjectTable& table;
  ObjectList& list;
  RowFilter& filter;
  StatusSink& status;
  MessageSink& messages;
};

}  // namespace quillet
