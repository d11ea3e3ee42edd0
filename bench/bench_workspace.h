#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "commands/listing.h"
#include "commands/workspace.h"
#include "gen/generator.h"
#include "objects/byte_source.h"
#include "objects/object_file_reader.h"

namespace quillet::bench {

// A table, its rows and a filter that report nowhere: what the benchmarks work on.
struct BenchWorkspace {
  // Reads a file's bytes as file `file`, from memory, so no benchmark times the disk by chance.
  void Read(int file, const std::string& bytes) {
    MemorySource source(bytes);
    ReadObjectDirectory(table, source, file, false, status);
  }

  ObjectTable table;
  ObjectList list{table};
  RowFilter filter;
  NullStatusSink status;
  NullMessageSink messages;
  Workspace ws{table, list, filter, status, messages};
};

// Two files of 20000 generated objects each (seeds 1 and 2), every type listed: 40000 rows.
struct FortyThousandRows : BenchWorkspace {
  FortyThousandRows() {
    filter.types.fill(true);
    for (int file : {1, 2}) {
      gen::Options options;
      options.objects = 20000;
      options.seed = static_cast<std::uint32_t>(file);
      Read(file, gen::EncodeFile(gen::GenerateObjects(options), options));
    }
    RefreshList(ws);
  }
};

// A customer database of `objects` objects as file #1, and as file #2 a copy with about 5 % of
// its objects changed, both cut to `objects`; every type shown, nothing listed yet.
struct ChangedPair : BenchWorkspace {
  explicit ChangedPair(int objects) {
    filter.types.fill(true);
    gen::Options options;
    options.objects = objects;
    options.date_form = gen::DateForm::kMixed;
    const auto original = gen::GenerateObjects(options);
    auto changed = original;
    gen::Mutate(changed, 0.05, 7);
    changed.resize(std::min<std::size_t>(changed.size(), static_cast<std::size_t>(objects)));
    Read(1, gen::EncodeFile(original, options));
    Read(2, gen::EncodeFile(changed, options));
  }
};

}  // namespace quillet::bench
