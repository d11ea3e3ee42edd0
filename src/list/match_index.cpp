#include "list/match_index.h"

#include <cstring>

namespace quillet {
namespace {

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word;
  hash *= 0x9E3779B97F4A7C15ULL;
  return hash ^ (hash >> 32);
}

// The probe uses the low bits, so they must depend on every byte.
std::uint64_t Finish(std::uint64_t hash) {
  hash ^= hash >> 30;
  hash *= 0xBF58476D1CE4E5B9ULL;
  hash ^= hash >> 27;
  hash *= 0x94D049BB133111EBULL;
  return hash ^ (hash >> 31);
}

}  // namespace

MatchIndex::MatchIndex(const ObjectTable& table, const CompareCriteria& criteria) : table_(table) {
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    if (!criteria.Counts(field)) continue;
    const int offset = FieldOffset(field), length = FieldWidth(field);
    if (!segments_.empty() && segments_.back().offset + segments_.back().length == offset) {
      segments_.back().length += length;
    } else {
      segments_.push_back({offset, length});
    }
  }
}

std::uint64_t MatchIndex::Hash(const char* record) const {
  std::uint64_t hash = 0x243F6A8885A308D3ULL;
  for (const Segment& segment : segments_) {
    const char* at = record + segment.offset;
    int left = segment.length;
    for (; left >= 8; left -= 8, at += 8) {
      std::uint64_t word;
      std::memcpy(&word, at, 8);
      hash = Mix(hash, word);
    }
    if (left > 0) {
      std::uint64_t word = 0;
      std::memcpy(&word, at, static_cast<std::size_t>(left));
      hash = Mix(hash, word);
    }
  }
  return Finish(hash);
}

bool MatchIndex::SameKey(const char* a, const char* b) const {
  for (const Segment& segment : segments_) {
    if (std::memcmp(a + segment.offset, b + segment.offset,
                    static_cast<std::size_t>(segment.length)) != 0) {
      return false;
    }
  }
  return true;
}

void MatchIndex::Build(int file, std::span<const int> indices) {
  file_ = file;
  std::size_t capacity = 16;
  while (capacity < 2 * indices.size()) capacity *= 2;
  const std::size_t mask = capacity - 1;
  slots_.assign(capacity, -1);
  group_hash_.clear();
  group_first_.clear();
  group_of_.assign(indices.empty() ? 0 : static_cast<std::size_t>(indices.back()) + 1, -1);

  std::vector<int> sizes;
  for (const int index : indices) {
    const char* record = RecordOf(file, index);
    const std::uint64_t hash = Hash(record);
    std::size_t slot = hash & mask;
    int group = -1;
    for (; slots_[slot] >= 0; slot = (slot + 1) & mask) {
      const int candidate = slots_[slot];
      if (group_hash_[candidate] == hash &&
          SameKey(RecordOf(file, group_first_[candidate]), record)) {
        group = candidate;
        break;
      }
    }
    if (group < 0) {
      group = static_cast<int>(group_hash_.size());
      slots_[slot] = group;
      group_hash_.push_back(hash);
      group_first_.push_back(index);
      sizes.push_back(0);
    }
    ++sizes[group];
    group_of_[index] = group;
  }

  starts_.assign(sizes.size() + 1, 0);
  for (std::size_t g = 0; g < sizes.size(); ++g) starts_[g + 1] = starts_[g] + sizes[g];
  members_.resize(indices.size());
  std::vector<int> next(starts_.begin(), starts_.end() - 1);
  for (const int index : indices) members_[next[group_of_[index]]++] = index;
}

int MatchIndex::Find(int index) const {
  if (slots_.empty()) return -1;
  const char* record = RecordOf(3 - file_, index);
  const std::uint64_t hash = Hash(record);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask; slots_[slot] >= 0; slot = (slot + 1) & mask) {
    const int group = slots_[slot];
    if (group_hash_[group] == hash && SameKey(RecordOf(file_, group_first_[group]), record)) {
      return group;
    }
  }
  return -1;
}

int MatchIndex::GroupOfIndexed(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= group_of_.size()) return -1;
  return group_of_[index];
}

std::span<const int> MatchIndex::Members(int group) const {
  return {members_.data() + starts_[group],
          static_cast<std::size_t>(starts_[group + 1] - starts_[group])};
}

}  // namespace quillet
