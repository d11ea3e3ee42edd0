#pragma once

#include "commands/workspace.h"

namespace quillet::bench {

// A table, its rows and a filter that report nowhere: what the benchmarks work on.
struct BenchWorkspace {
  ObjectTable table;
  ObjectList list{table};
  RowFilter filter;
  NullStatusSink status;
  NullMessageSink messages;
  Workspace ws{table, list, filter, status, messages};
};

}  // namespace quillet::bench
