#include "list/object_keys.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "list/trimmed_fields.h"
#include "objects/object_types.h"
#include "objects/text.h"

namespace quillet {
namespace {

constexpr int kOtherTypes = kTypeCount;  // the rank of every type outside the nine

int TypeRank(std::string_view type) {
  const int index = TypeIndex(type);
  return index < 0 ? kOtherTypes : index;
}

bool IsWholeNumber(std::string_view id) {
  return !id.empty() &&
         std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const auto first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// IDs are at most ten characters, so every whole number fits, with room to spare above it.
static_assert(FieldWidth(Field::kId) <= 10);
std::uint64_t NumberValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (const char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word * 0x9E3779B185EBCA87ULL;
  hash = (hash << 31) | (hash >> 33);
  return hash * 0xC2B2AE3D27D4EB4FULL;
}

// Three words compared at once, not through a library call: this runs for every object.
bool SamePacked(const std::array<std::uint64_t, 3>& a, const std::array<std::uint64_t, 3>& b) {
  return ((a[0] ^ b[0]) | (a[1] ^ b[1]) | (a[2] ^ b[2])) == 0;
}

std::uint64_t LoadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The first `count` bytes of a word (all for 8 or more, none for 0 or less), the rest zero.
std::uint64_t LowBytes(std::uint64_t word, int count) {
  if (count >= 8) return word;
  return count <= 0 ? 0 : word & ((std::uint64_t{1} << (8 * count)) - 1);
}

void Prefetch(const void* at) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(at);
#else
  (void)at;
#endif
}

// A key and the number that orders most keys (see InListOrder).
struct RoughKey {
  std::uint64_t rough;
  int key;
};

// The rough numbers hold the type's rank above bit 40 and an ID's value or a flag below it.
constexpr int kRoughBits = 44;
static_assert((std::uint64_t{kOtherTypes} << 40) < (std::uint64_t{1} << kRoughBits));

// By rough number, keys of equal numbers in the order they came: a radix sort of four passes of
// eleven bits, a pass skipped where every key has the same digit. Sorting by comparisons costs
// twenty compares a key for a large file; this costs four moves.
void SortByRough(BulkVector<RoughKey>& entries) {
  constexpr int kDigitBits = 11, kDigits = (kRoughBits + kDigitBits - 1) / kDigitBits;
  constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
  if (entries.size() < 2) return;
  std::vector<std::array<std::uint32_t, kBuckets>> counts(kDigits);
  for (const RoughKey& entry : entries) {
    for (int d = 0; d < kDigits; ++d) ++counts[d][entry.rough >> (d * kDigitBits) & (kBuckets - 1)];
  }
  BulkVector<RoughKey> spare(entries.size());
  for (int d = 0; d < kDigits; ++d) {
    const int shift = d * kDigitBits;
    std::array<std::uint32_t, kBuckets>& starts = counts[d];
    if (starts[entries.front().rough >> shift & (kBuckets - 1)] == entries.size()) continue;
    std::uint32_t sum = 0;
    for (std::uint32_t& start : starts) sum += std::exchange(start, sum);
    for (const RoughKey& entry : entries)
      spare[starts[entry.rough >> shift & (kBuckets - 1)]++] = entry;
    entries.swap(spare);
  }
}

}  // namespace

bool KeyBefore(std::string_view type_a, std::string_view id_a, std::string_view type_b,
               std::string_view id_b) {
  const int rank_a = TypeRank(type_a), rank_b = TypeRank(type_b);
  if (rank_a != rank_b) return rank_a < rank_b;
  if (type_a != type_b) return type_a < type_b;  // two types outside the nine
  const bool number_a = IsWholeNumber(id_a), number_b = IsWholeNumber(id_b);
  if (number_a != number_b) return number_a;
  if (number_a) {
    const std::string_view digits_a = WithoutLeadingZeros(id_a);
    const std::string_view digits_b = WithoutLeadingZeros(id_b);
    if (digits_a.size() != digits_b.size()) return digits_a.size() < digits_b.size();
    if (digits_a != digits_b) return digits_a < digits_b;
  }
  return id_a < id_b;
}

ObjectKeys::ObjectKeys(const ObjectTable& table, std::span<const int> files)
    : table_(&table), files_(files.begin(), files.end()) {
  if (files.empty() || files.size() > static_cast<std::size_t>(kMaxFiles)) {
    throw std::invalid_argument("1 to 65535 files");
  }
  std::size_t objects = 0, largest = 0;
  for (const int file : files) {
    const auto count = static_cast<std::size_t>(table.Count(file));
    objects += count;
    largest = std::max(largest, count);
  }
  // Files of one application share most of their keys: sized for every object of twenty
  // files, the table would be mostly empty. It is sized for twice the largest file's keys and
  // grows when there are more, so it is never more than half full.
  const std::size_t expected = std::min(objects, 2 * largest);
  std::size_t capacity = 16;
  while (capacity < 2 * expected) capacity *= 2;
  BulkVector<Slot> slots(capacity, Slot{0, -1});
  std::size_t mask = capacity - 1;
  BulkVector<int> key_of;  // per object, the files one after another
  key_of.reserve(objects);
  BulkVector<int> sizes;  // per key
  sizes.reserve(expected);
  keys_.reserve(expected);

  // A file after the first mostly lists the keys of the first in the same order, so the key
  // after the last record's is tried first: a compare of keys read in order. The others are
  // looked up. The slots are read in no order, so most look-ups would wait for memory: while
  // guesses fail, a batch of keys is hashed and its slots fetched, then the keys those slots
  // hold, before the first is probed. Keys are numbered as they first come, either way.
  constexpr int kBatch = 16;
  // A miss after a hit is looked up at once, so that the record after it can be guessed; after
  // this many misses in a row the records go in batches.
  constexpr int kMissesLookedUpAtOnce = 2;
  struct Pending {
    Packed key;
    std::uint64_t hash;
    std::size_t object;
  };
  Pending batch[kBatch];
  int pending = 0;
  const auto place = [&](const Pending& record) {
    const auto tag = static_cast<std::uint32_t>(record.hash >> 32);
    std::size_t at = record.hash & mask;
    while (slots[at].key >= 0 &&
           (slots[at].tag != tag || !SamePacked(keys_[slots[at].key], record.key))) {
      at = (at + 1) & mask;
    }
    int key = slots[at].key;
    if (key < 0) {
      key = static_cast<int>(keys_.size());
      slots[at] = {tag, key};
      keys_.push_back(record.key);
      sizes.push_back(0);
      if (2 * keys_.size() > slots.size()) {
        Rehash(slots, keys_);
        mask = slots.size() - 1;
      }
    }
    key_of[record.object] = key;
    ++sizes[static_cast<std::size_t>(key)];
    return key;
  };
  const auto flush = [&] {
    for (int b = 0; b < pending; ++b) {
      const Slot& home = slots[batch[b].hash & mask];
      if (home.key >= 0) Prefetch(&keys_[static_cast<std::size_t>(home.key)]);
    }
    for (int b = 0; b < pending; ++b) place(batch[b]);
    pending = 0;
  };
  for (const int file : files) {
    const int count = table.Count(file);
    int guess = -1;  // the key the next record is expected to have, or none
    int misses = 0;
    for (int index = 1; index <= count; ++index) {
      const Packed key = MakeKey(table.Record(file, index).data());
      if (guess >= 0 && static_cast<std::size_t>(guess) < keys_.size() &&
          SamePacked(keys_[static_cast<std::size_t>(guess)], key)) {
        key_of.push_back(guess);
        ++sizes[static_cast<std::size_t>(guess)];
        ++guess;
        misses = 0;
        continue;
      }
      const Pending record{key, Hash(key), key_of.size()};
      key_of.push_back(-1);
      // Only while no batch waits, so the keys keep the order they came in.
      if (misses++ < kMissesLookedUpAtOnce && pending == 0) {
        guess = place(record) + 1;
        continue;
      }
      Prefetch(&slots[record.hash & mask]);
      batch[pending++] = record;
      guess = -1;
      if (pending == kBatch) {
        flush();
        guess = key_of.back() + 1;
      }
    }
    flush();
  }

  starts_.assign(sizes.size() + 1, 0);
  for (std::size_t k = 0; k < sizes.size(); ++k) starts_[k + 1] = starts_[k] + sizes[k];
  // The files are walked in slot order and each in file order, so a key's members come out
  // sorted by slot, then by record.
  members_.resize(objects);
  slots_.resize(objects);
  BulkVector<int> next(starts_.begin(), starts_.end() - 1);
  std::size_t object = 0;
  std::uint16_t slot_of_file = 0;
  for (const int file : files) {
    for (int index = 1; index <= table.Count(file); ++index) {
      const int at = next[static_cast<std::size_t>(key_of[object++])]++;
      members_[at] = index;
      slots_[at] = slot_of_file;
    }
    ++slot_of_file;
  }
}

void ObjectKeys::Rehash(BulkVector<Slot>& slots, const BulkVector<Packed>& keys) {
  BulkVector<Slot> grown(2 * slots.size(), Slot{0, -1});
  const std::size_t mask = grown.size() - 1;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const std::uint64_t hash = Hash(keys[k]);
    std::size_t at = hash & mask;
    while (grown[at].key >= 0) at = (at + 1) & mask;
    grown[at] = {static_cast<std::uint32_t>(hash >> 32), static_cast<int>(k)};
  }
  slots.swap(grown);
}

ObjectKeys::Packed ObjectKeys::MakeKey(const char* record) {
  static_assert(FieldOffset(Field::kType) == 0 && FieldOffset(Field::kId) == 9);
  static_assert(FieldWidth(Field::kType) == 9 && FieldWidth(Field::kId) == 10);
  // The two fields' ends found from their bits, and the words of the key put together from
  // whole words of the texts: no loop and no call per key. The reads end within the first 34
  // bytes of the record.
  static_assert(kRecordWidth >= 9 + 9 + 16);
  const NonBlankBits bits(record, 24);
  const TrimmedSpan type = TrimmedField<Field::kType>(bits);
  const TrimmedSpan id = TrimmedField<Field::kId>(bits);
  const char* type_text = record + type.begin;
  const char* id_text = record + 9 + id.begin;
  const std::uint64_t type_low = LowBytes(LoadWord(type_text), type.length);
  const std::uint64_t type_high = type.length > 8 ? static_cast<unsigned char>(type_text[8]) : 0;
  const std::uint64_t id_low = LowBytes(LoadWord(id_text), id.length);
  const std::uint64_t id_high = LowBytes(LoadWord(id_text + 8), id.length - 8);
  // Bytes 0-8 the type, 9-18 the ID, 19 and 20 their lengths, the rest zero.
  return {type_low, type_high | id_low << 8,
          id_low >> 56 | id_high << 8 | static_cast<std::uint64_t>(type.length) << 24 |
              static_cast<std::uint64_t>(id.length) << 32};
}

std::uint64_t ObjectKeys::Hash(const Packed& packed) {
  std::uint64_t hash = 0x27D4EB2F165667C5ULL;
  for (const std::uint64_t word : packed) hash = Mix(hash, word);
  return hash ^ (hash >> 29);
}

BulkVector<int> ObjectKeys::InListOrder() const {
  // Most keys are told apart by a number: the type's rank, then whether the ID is a whole number
  // and its value. Only ties (types outside the nine, IDs that are not numbers, "7" and "007")
  // need the full rule. The numbers are read from the packed keys, which hold the same texts
  // as the records, without going back to the table.
  BulkVector<RoughKey> entries(keys_.size());
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    const auto* bytes = reinterpret_cast<const char*>(keys_[k].data());
    const std::string_view type(bytes, static_cast<std::size_t>(TypeLength(keys_[k])));
    const auto rank = static_cast<std::uint64_t>(TypeRank(type));
    std::uint64_t rough = rank << 40;
    if (rank != kOtherTypes) {
      const std::string_view id(bytes + 9, static_cast<std::size_t>(IdLength(keys_[k])));
      rough |= IsWholeNumber(id) ? NumberValue(id) : std::uint64_t{1} << 39;
    }
    entries[k] = {rough, static_cast<int>(k)};
  }
  SortByRough(entries);
  // Keys of equal rough numbers stand together now; each such run is put in the full order.
  for (std::size_t first = 0; first < entries.size();) {
    std::size_t end = first + 1;
    while (end < entries.size() && entries[end].rough == entries[first].rough) ++end;
    if (end - first > 1) {
      std::sort(entries.begin() + static_cast<std::ptrdiff_t>(first),
                entries.begin() + static_cast<std::ptrdiff_t>(end),
                [this](const RoughKey& a, const RoughKey& b) {
                  return KeyBefore(Type(a.key), Id(a.key), Type(b.key), Id(b.key));
                });
    }
    first = end;
  }
  BulkVector<int> order(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) order[k] = entries[k].key;
  return order;
}

}  // namespace quillet
