#include "list/match_index.h"

#include <algorithm>
#include <cstring>

namespace quillet {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

std::uint64_t Rotl(std::uint64_t value, int bits) {
  return (value << bits) | (value >> (64 - bits));
}

std::uint64_t Word(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, 8);
  return word;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t word) {
  return Rotl(lane + word * kPrime2, 31) * kPrime1;
}

// Four independent lanes keep the multiplier busy: a key is up to 142 bytes, and hashing is
// most of the work of a comparison.
std::uint64_t HashBytes(const char* at, std::size_t length) {
  std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
  std::size_t left = length;
  for (; left >= 32; left -= 32, at += 32) {
    for (std::size_t l = 0; l < 4; ++l) lanes[l] = Round(lanes[l], Word(at + 8 * l));
  }
  std::uint64_t hash =
      Rotl(lanes[0], 1) + Rotl(lanes[1], 7) + Rotl(lanes[2], 12) + Rotl(lanes[3], 18) + length;
  for (; left >= 8; left -= 8, at += 8) hash = Rotl(hash ^ Round(0, Word(at)), 27) * kPrime1;
  if (left > 0) {
    std::uint64_t tail = 0;
    std::memcpy(&tail, at, left);
    hash = Rotl(hash ^ Round(0, tail), 27) * kPrime1;
  }
  // The probe uses the low bits and the tag the high ones: both must depend on every byte.
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime1;
  return hash ^ (hash >> 32);
}

void Prefetch(const void* at) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(at);
#else
  (void)at;
#endif
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
  if (segments_.size() == 1) {
    return HashBytes(record + segments_[0].offset, static_cast<std::size_t>(segments_[0].length));
  }
  char key[kRecordWidth];
  std::size_t length = 0;
  for (const Segment& segment : segments_) {
    std::memcpy(key + length, record + segment.offset, static_cast<std::size_t>(segment.length));
    length += static_cast<std::size_t>(segment.length);
  }
  return HashBytes(key, length);
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

std::size_t MatchIndex::Probe(const char* record, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint32_t>(hash >> 32);
  std::size_t at = hash & mask;
  for (; slots_[at].group >= 0; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.tag == tag && SameKey(RecordOf(file_, slot.first), record)) break;
  }
  return at;
}

void MatchIndex::Build(int file, std::span<const int> indices) {
  file_ = file;
  std::size_t capacity = 16;
  while (capacity < 2 * indices.size()) capacity *= 2;
  slots_.assign(capacity, Slot{0, -1, 0});
  group_first_.clear();
  group_of_.assign(indices.empty() ? 0 : static_cast<std::size_t>(indices.back()) + 1, -1);

  // Each array here is as long as the file: in bulk memory, so filling it costs few page
  // faults, and reserved, so it is never copied as it grows.
  BulkVector<int> sizes;
  sizes.reserve(indices.size());
  group_first_.reserve(indices.size());
  const std::size_t mask = slots_.size() - 1;
  // A batch is hashed and its slots fetched before the first is placed, as in FindBatch; the
  // records are still placed in order, so the groups are numbered as they first come.
  std::uint64_t hashes[kBatch];
  for (std::size_t first = 0; first < indices.size(); first += kBatch) {
    const std::size_t size = std::min<std::size_t>(kBatch, indices.size() - first);
    for (std::size_t b = 0; b < size; ++b) {
      hashes[b] = Hash(RecordOf(file, indices[first + b]));
      Prefetch(&slots_[hashes[b] & mask]);
    }
    for (std::size_t b = 0; b < size; ++b) {
      const int index = indices[first + b];
      const std::uint64_t hash = hashes[b];
      Slot& slot = slots_[Probe(RecordOf(file, index), hash)];
      if (slot.group < 0) {
        slot = {static_cast<std::uint32_t>(hash >> 32), static_cast<int>(group_first_.size()),
                index};
        group_first_.push_back(index);
        sizes.push_back(0);
      }
      ++sizes[slot.group];
      group_of_[index] = slot.group;
    }
  }

  starts_.assign(sizes.size() + 1, 0);
  for (std::size_t g = 0; g < sizes.size(); ++g) starts_[g + 1] = starts_[g] + sizes[g];
  members_.resize(indices.size());
  BulkVector<int> next(starts_.begin(), starts_.end() - 1);
  for (const int index : indices) members_[next[group_of_[index]]++] = index;
}

int MatchIndex::Find(int index) const {
  if (slots_.empty()) return -1;
  const char* record = RecordOf(3 - file_, index);
  return slots_[Probe(record, Hash(record))].group;
}

void MatchIndex::FindBatch(int first, int count, int* groups) const {
  if (slots_.empty()) {
    std::fill(groups, groups + count, -1);
    return;
  }
  const std::size_t mask = slots_.size() - 1;
  const char* records[kBatch];
  std::uint64_t hashes[kBatch];
  for (int done = 0; done < count; done += kBatch) {
    const int size = std::min(kBatch, count - done);
    // Three rounds: each record's slot fetched, then the member it names, then the look-up.
    for (int b = 0; b < size; ++b) {
      records[b] = RecordOf(3 - file_, first + done + b);
      hashes[b] = Hash(records[b]);
      Prefetch(&slots_[hashes[b] & mask]);
    }
    for (int b = 0; b < size; ++b) {
      const Slot& home = slots_[hashes[b] & mask];
      if (home.group >= 0 && home.tag == static_cast<std::uint32_t>(hashes[b] >> 32)) {
        Prefetch(RecordOf(file_, home.first));
      }
    }
    for (int b = 0; b < size; ++b) {
      groups[done + b] = slots_[Probe(records[b], hashes[b])].group;
    }
  }
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
