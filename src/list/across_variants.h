#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "list/changed_fields.h"

namespace quillet {

// A variant's name: 0 is "A", 25 "Z", then "AA", "AB", ... "ZZ", "AAA", as a spreadsheet names
// its columns.
std::string VariantLetters(int variant);

// Sorts the objects of one key instance into variants as they come, in file order: an object
// is of an earlier one's variant when no counted field differs between them, else of the next
// new variant. Most instances have one or two variants, which a look at each is quickest for;
// past a few, a hash table keeps an instance of a hundred different files from costing a
// hundred looks per object.
class VariantSorter {
 public:
  // `counted`: the fields whose texts decide, byte for byte.
  explicit VariantSorter(FieldMask counted) : counted_(counted) {}

  // Forgets the variants of the instance before.
  void Start();
  // The variant (0, 1, ...) of `record` (kRecordWidth bytes, kept until the next Start).
  int Place(const char* record);
  int Count() const { return static_cast<int>(firsts_.size()); }

 private:
  static constexpr int kLooked = 8;  // variants looked at one by one, before hashing

  std::uint64_t Hash(const char* record) const;
  bool Same(const char* a, const char* b) const;
  void Insert(int variant);
  void Grow();

  FieldMask counted_;
  std::vector<const char*> firsts_;  // each variant's first record, which stands for it
  // Once hashing: each variant's hash, and open addressing over them (-1: empty).
  std::vector<std::uint64_t> hashes_;
  std::vector<int> table_;
};

}  // namespace quillet
