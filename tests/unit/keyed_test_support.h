#pragma once

// What the tests of the changes and of the upgrade analysis share: generated releases roughened
// for keying, a visitor that keeps the rows, and the reference's counts in the engine's form.
#include <array>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "changes_reference.h"
#include "compare_fixtures.h"
#include "gen/generator.h"
#include "list/keyed_listing.h"

namespace quillet {

template <class Status>
void PrintTo(const KeyedRow<Status>& row, std::ostream* out) {
  *out << "{file " << row.file << ", record " << row.index << ", status "
       << static_cast<int>(row.status) << ", changed " << ChangedFieldsText(row.changed)
       << ", group " << row.group << "}";
}

namespace test {

template <class Status>
class CollectKeyed final : public KeyedVisitor<Status> {
 public:
  void ExpectRows(long long count) override { expected = count; }
  bool Row(const KeyedRow<Status>& row) override {
    rows.push_back(row);
    return static_cast<long long>(rows.size()) != stop_after;
  }

  long long expected = -1;
  long long stop_after = -1;  // rows taken before refusing more
  std::vector<KeyedRow<Status>> rows;
};

template <class Status, int kStatusCount>
KeyedCounts<Status, kStatusCount> CountsOf(const RefResult<Status>& result) {
  KeyedCounts<Status, kStatusCount> counts;
  for (const auto& [type, by_status] : result.by_type) {
    counts.by_type.push_back({type, {}});
    for (const auto& [status, n] : by_status) counts.by_type.back().counts[status] = n;
  }
  for (const auto& [status, n] : result.total) counts.total[status] = n;
  return counts;
}

// One field of an object changed: renamed (letter case or blanks too), re-versioned, re-dated,
// re-timed or resized.
inline void Tweak(Obj& object, std::mt19937& rng) {
  switch (rng() % 7) {
    case 0:
      object.name = object.name.empty() ? "Renamed" : object.name + " 2";
      break;
    case 1:  // only the letter case
      for (char& c : object.name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
      }
      break;
    case 2:
      object.name = " " + object.name;
      break;
    case 3:
      object.version += ",FIX" + std::to_string(rng() % 9);
      break;
    case 4:
      object.date = "0" + std::to_string(rng() % 9 + 1) + ".01.09";
      break;
    case 5:
      object.time = "1" + std::to_string(rng() % 9) + ":00:00";
      break;
    default:
      object.size = gen::Number10(rng() % 100000);
      break;
  }
}

// A generated base release and two changed copies of it (file #2 sometimes made from file #1,
// so that both can change alike), roughened: keys from small sets of awkward values (blank IDs,
// "7", "007" and "7" placed differently, letter case, IDs that are no numbers, types outside
// the nine), renamed and otherwise changed objects, and keys repeated within a file.
inline std::array<std::vector<Obj>, 3> MakeReleases(std::uint32_t seed) {
  std::mt19937 rng(seed);
  gen::Options options;
  options.objects = 3 + static_cast<int>(seed % 45);
  options.seed = seed;
  options.system_share = 0.15;
  options.repeated_tables = static_cast<int>(seed % 3);
  auto base = gen::GenerateObjects(options);
  const std::vector<std::string> ids = {"",     "7",    "007", "  7",        "7         ",
                                        "AB12", "ab12", "X 1", "2000000001", "0"};
  const std::vector<std::string> types = {"Query", "table", "Table", " Table", "Codeunit", "Zeta"};
  for (gen::Object& object : base) {
    if (rng() % 4 == 0) object.id = ids[rng() % ids.size()];
    if (rng() % 7 == 0) object.type = types[rng() % types.size()];
  }
  auto one = base;
  gen::Mutate(one, 0.3, seed * 7 + 1);
  const bool from_one = seed % 2 == 0;
  auto two = from_one ? one : base;
  gen::Mutate(two, from_one ? 0.15 : 0.3, seed * 7 + 2);

  std::array<std::vector<Obj>, 3> files;
  const std::vector<gen::Object>* generated[] = {&base, &one, &two};
  for (int f = 0; f < 3; ++f) {
    for (const gen::Object& g : *generated[f]) {
      Obj o{g.type, g.id, g.name, "", g.version, g.date, g.time, g.size, ""};
      if (f > 0 && rng() % 6 == 0) Tweak(o, rng);
      files[f].push_back(o);
    }
    auto& file = files[f];
    for (std::size_t copies = file.size() / 6; copies > 0 && !file.empty(); --copies) {
      Obj copy = file[rng() % file.size()];
      if (rng() % 2 == 0) Tweak(copy, rng);
      file.insert(file.begin() + static_cast<long>(rng() % (file.size() + 1)), copy);
    }
  }
  if (seed % 11 == 5) files[0].clear();
  if (seed % 11 == 6) files[1].clear();
  if (seed % 11 == 7) files[2].clear();
  return files;
}

}  // namespace test
}  // namespace quillet
