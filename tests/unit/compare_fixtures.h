#pragma once

// Objects written straight into the table, for the comparison tests.
#include <random>
#include <string>
#include <vector>

#include "list/compare_criteria.h"
#include "list/row_filter.h"

namespace quillet::test {

// The six boxes from the bits of 0..63: type and ID, name, version, date, time, size.
inline CompareCriteria FromBits(int bits) {
  return {(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
          (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
}

// Most types shown, some hidden, system IDs hidden or not: a filter to compare under.
inline RowFilter RandomFilter(std::mt19937& rng) {
  RowFilter filter;
  for (bool& type : filter.types) type = rng() % 5 != 0;
  filter.hide_system = rng() % 2 == 0;
  return filter;
}

// An object's nine texts in field order; each test changes what it is about.
struct Obj {
  std::string type = "Codeunit", id = "        80", name = "Posting", modified, version = "V1",
              date = "2008-12-31", time = "12:00:00", size = "      1234", compiled;
};

// Replaces the objects of `file`.
inline void StoreFile(ObjectTable& table, int file, const std::vector<Obj>& objects) {
  table.Reserve(file, static_cast<int>(objects.size()));
  int row = 0;
  for (const Obj& o : objects) {
    const std::string* texts[] = {&o.type, &o.id,   &o.name, &o.modified, &o.version,
                                  &o.date, &o.time, &o.size, &o.compiled};
    ++row;
    for (int f = 0; f < kFieldCount; ++f) table.Store(file, row, static_cast<Field>(f), *texts[f]);
  }
  table.SetCount(file, row);
}

}  // namespace quillet::test
