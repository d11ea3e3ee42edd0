#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "list/row_filter.h"
#include "support/temp_dir.h"

namespace quillet::test {

// Installations of one release, each changed on its own, with repeated tables (keys twice in
// one file) and objects only some files have.
inline std::vector<std::filesystem::path> WriteInstallations(const TempDir& dir, int count,
                                                             int objects = 120) {
  gen::Options options;
  options.objects = objects;
  options.repeated_tables = 6;
  options.system_share = 0.1;
  const std::vector<gen::Object> release = gen::GenerateObjects(options);
  std::vector<std::filesystem::path> names;
  for (int f = 0; f < count; ++f) {
    std::vector<gen::Object> copy = release;
    gen::Mutate(copy, 0.15, static_cast<std::uint32_t>(31 * f + 5));
    // A name only this file gives its object.
    if (f > 0)
      copy[static_cast<std::size_t>(f * 7) % copy.size()].name = "Renamed in " + std::to_string(f);
    names.push_back(dir / ("install" + std::to_string(f) + ".fob"));
    EXPECT_TRUE(gen::WriteFile(names.back().string(), gen::EncodeFile(copy, options)));
  }
  return names;
}

inline RowFilter Everything() {
  RowFilter every;
  every.types.fill(true);
  return every;
}

}  // namespace quillet::test
