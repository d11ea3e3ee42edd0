#include "list/across_variants.h"

#include <cstring>

#include "objects/object_table.h"

namespace quillet {
namespace {

std::uint64_t Word(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word * 0x9E3779B185EBCA87ULL;
  hash = (hash << 31) | (hash >> 33);
  return hash * 0xC2B2AE3D27D4EB4FULL;
}

}  // namespace

std::string VariantLetters(int variant) {
  // Bijective base 26: there is no zero digit, so "A" follows "Z" one place to the left.
  std::string letters;
  for (long long n = static_cast<long long>(variant) + 1; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

void VariantSorter::Start() {
  firsts_.clear();
  if (!hashes_.empty()) {
    hashes_.clear();
    table_.clear();
  }
}

int VariantSorter::Place(const char* record) {
  const int count = Count();
  if (count < kLooked) {
    for (int v = 0; v < count; ++v) {
      if (Same(firsts_[static_cast<std::size_t>(v)], record)) return v;
    }
    firsts_.push_back(record);
    return count;
  }
  if (hashes_.empty()) {  // the first time past the few: hash those met so far
    for (const char* first : firsts_) hashes_.push_back(Hash(first));
    Grow();
  }
  const std::uint64_t hash = Hash(record);
  const std::size_t mask = table_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const int v = table_[at];
    if (v < 0) break;
    const auto index = static_cast<std::size_t>(v);
    if (hashes_[index] == hash && Same(firsts_[index], record)) return v;
  }
  firsts_.push_back(record);
  hashes_.push_back(hash);
  if (2 * firsts_.size() > table_.size()) {
    Grow();
  } else {
    Insert(count);
  }
  return count;
}

std::uint64_t VariantSorter::Hash(const char* record) const {
  std::uint64_t hash = 0x27D4EB2F165667C5ULL;
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if ((counted_ & FieldBit(field)) == 0) continue;
    const char* at = record + FieldOffset(field);
    const auto width = static_cast<std::size_t>(FieldWidth(field));
    hash = Mix(hash, static_cast<std::uint64_t>(f));
    std::size_t done = 0;
    for (; done + 8 <= width; done += 8) hash = Mix(hash, Word(at + done));
    if (done < width) {
      std::uint64_t tail = 0;
      std::memcpy(&tail, at + done, width - done);
      hash = Mix(hash, tail);
    }
  }
  return hash ^ (hash >> 29);
}

bool VariantSorter::Same(const char* a, const char* b) const {
  return DifferingFields({a, static_cast<std::size_t>(kRecordWidth)},
                         {b, static_cast<std::size_t>(kRecordWidth)}, counted_) == 0;
}

void VariantSorter::Insert(int variant) {
  const std::size_t mask = table_.size() - 1;
  std::size_t at = hashes_[static_cast<std::size_t>(variant)] & mask;
  while (table_[at] >= 0) at = (at + 1) & mask;
  table_[at] = variant;
}

void VariantSorter::Grow() {
  std::size_t size = 16;
  while (size < 4 * firsts_.size()) size *= 2;
  table_.assign(size, -1);
  for (int v = 0; v < Count(); ++v) Insert(v);
}

}  // namespace quillet
