#pragma once

// What the tests of the comparison across files share: generated installations of one
// application, and a visitor that keeps the rows in the reference's form.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "across_reference.h"
#include "keyed_test_support.h"
#include "list/across.h"
#include "list/across_variants.h"

namespace quillet::test {

// `count` installations of one release: each a copy of the release, or of an installation
// before it, changed on its own, so that files agree in more ways than with the release; keys
// from small sets of awkward values (blank IDs, "7" and "007" placed differently, letter case,
// types outside the nine), keys repeated within a file, now and then a file with no objects.
inline std::vector<std::vector<Obj>> MakeInstallations(std::uint32_t seed, int count,
                                                       int objects = 0) {
  std::mt19937 rng(seed);
  gen::Options options;
  options.objects = objects > 0 ? objects : 3 + static_cast<int>(seed % 40);
  options.seed = seed;
  options.system_share = 0.15;
  options.repeated_tables = static_cast<int>(seed % 3);
  auto release = gen::GenerateObjects(options);
  const std::vector<std::string> ids = {"", "7", "007", "  7", "7         ", "AB12", "ab12", "0"};
  const std::vector<std::string> types = {"Query", "table", "Table", " Table", "Codeunit"};
  for (gen::Object& object : release) {
    if (rng() % 4 == 0) object.id = ids[rng() % ids.size()];
    if (rng() % 7 == 0) object.type = types[rng() % types.size()];
  }

  std::vector<std::vector<gen::Object>> generated;
  std::vector<std::vector<Obj>> files;
  for (int f = 0; f < count; ++f) {
    auto copy = f > 0 && rng() % 3 == 0 ? generated[rng() % generated.size()] : release;
    gen::Mutate(copy, 0.1 + 0.05 * static_cast<double>(rng() % 5), seed * 131 + f);
    generated.push_back(copy);
    std::vector<Obj> file;
    for (const gen::Object& g : copy) {
      Obj o{g.type, g.id, g.name, "", g.version, g.date, g.time, g.size, ""};
      if (rng() % 8 == 0) Tweak(o, rng);
      file.push_back(o);
    }
    for (std::size_t copies = file.size() / 8; copies > 0 && !file.empty(); --copies) {
      Obj repeated = file[rng() % file.size()];
      if (rng() % 2 == 0) Tweak(repeated, rng);
      file.insert(file.begin() + static_cast<long>(rng() % (file.size() + 1)), repeated);
    }
    if (rng() % 23 == 0) file.clear();
    files.push_back(std::move(file));
  }
  return files;
}

// Stores the files in areas `first`, `first` + 1, ... and gives those areas.
inline std::vector<int> StoreFiles(ObjectTable& table, const std::vector<std::vector<Obj>>& files,
                                   int first) {
  std::vector<int> areas;
  for (const auto& file : files) {
    areas.push_back(first + static_cast<int>(areas.size()));
    StoreFile(table, areas.back(), file);
  }
  return areas;
}

// The rows as the reference gives them.
class CollectAcross final : public AcrossVisitor {
 public:
  bool Row(const AcrossRow& row) override {
    RefAcrossRow kept{std::string(row.type),
                      std::string(row.id),
                      row.instance,
                      {},
                      {},
                      row.variants,
                      row.status == AcrossStatus::kDiffers};
    for (const AcrossCell& cell : row.cells) {
      kept.letters.push_back(cell.HasObject() ? VariantLetters(cell.variant) : "");
      kept.indices.push_back(cell.index);
    }
    rows.push_back(kept);
    keys.push_back({row.key, row.instance});
    names.emplace_back(row.name);
    return static_cast<long long>(rows.size()) != stop_after;
  }

  long long stop_after = -1;  // rows taken before refusing more
  std::vector<RefAcrossRow> rows;
  std::vector<std::pair<int, int>> keys;  // each row's key and instance
  std::vector<std::string> names;
};

}  // namespace quillet::test
