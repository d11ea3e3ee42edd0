#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "objects/object_table.h"

namespace quillet {

// The kept Table objects of a backup file by their ID text, so a repeated Table line is found
// in constant time. Open addressing over row numbers; the IDs stay in the table.
class TableIdSet {
 public:
  TableIdSet(const ObjectTable& table, int file, long long expected);

  bool Contains(std::string_view id) const;
  void Insert(int row);

 private:
  void Resize(long long entries);
  void Place(int row);
  std::size_t Hash(std::string_view id) const;

  const ObjectTable& table_;
  int file_;
  std::vector<int> slots_;
  std::size_t size_ = 0;
};

}  // namespace quillet
