#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "objects/object_table.h"
#include "platform/bulk_memory.h"

namespace quillet {

// Whether key (type_a, id_a) goes before key (type_b, id_b) in a keyed listing. Types in the
// order of kTypeNames, any other type after them by its bytes; then IDs that are whole numbers
// by value (equal values such as "7" and "007" by their text), then the other IDs by their
// bytes. Texts are the trimmed ones.
bool KeyBefore(std::string_view type_a, std::string_view id_a, std::string_view type_b,
               std::string_view id_b);

// The objects of any number of files grouped by their key: the type text and the ID, each
// without blanks at either end, byte for byte. Within a key each file's records stay in file
// order, so the n-th of one file can be paired with the n-th of another. Built in one pass with
// a hash table; only the distinct keys are ever sorted. It costs a few bytes per object and per
// key, however many files share a key or have it alone.
class ObjectKeys {
 public:
  // A slot is kept in 16 bits beside each member.
  static constexpr int kMaxFiles = 65535;

  // Groups the objects of `files` of `table`; a file's position in `files` is its slot. The
  // keys' texts are read from the table, which must not change while this lives.
  ObjectKeys(const ObjectTable& table, std::initializer_list<int> files)
      : ObjectKeys(table, std::span<const int>(files.begin(), files.size())) {}
  ObjectKeys(const ObjectTable& table, std::span<const int> files);

  int KeyCount() const { return static_cast<int>(keys_.size()); }
  int FileCount() const { return static_cast<int>(files_.size()); }
  // The key's texts, in the record of its first member.
  std::string_view Type(int key) const {
    return Trimmed(FirstRecord(key) + FieldOffset(Field::kType), TypeLength(keys_[key]));
  }
  std::string_view Id(int key) const {
    return Trimmed(FirstRecord(key) + FieldOffset(Field::kId), IdLength(keys_[key]));
  }
  // The records (1-based) of every file that have key `key`: by slot, each slot's in file
  // order. Slots(key) gives the slot of each.
  std::span<const int> Members(int key) const {
    return {members_.data() + starts_[key],
            static_cast<std::size_t>(starts_[key + 1] - starts_[key])};
  }
  std::span<const std::uint16_t> Slots(int key) const {
    return {slots_.data() + starts_[key],
            static_cast<std::size_t>(starts_[key + 1] - starts_[key])};
  }
  // The records (1-based, ascending) of the file in `slot` that have key `key`. Looks along the
  // key's members: quickest for the few a key has in two or three files; a walk over many
  // files reads Members(key) and Slots(key) instead.
  std::span<const int> Members(int key, int slot) const {
    int first = starts_[key];
    const int end = starts_[key + 1];
    while (first < end && slots_[first] < slot) ++first;
    int last = first;
    while (last < end && slots_[last] == slot) ++last;
    return {members_.data() + first, static_cast<std::size_t>(last - first)};
  }
  // Every key, in the order of KeyBefore.
  BulkVector<int> InListOrder() const;

 private:
  // Type (9 bytes), ID (10 bytes), their lengths, zero-filled: equal exactly when the keys are.
  // Nothing else is kept per key, so the keys of a large file stay few cache lines.
  using Packed = std::array<std::uint64_t, 3>;

  struct Slot {
    std::uint32_t tag;
    int key;  // -1 for an empty slot
  };

  static Packed MakeKey(const char* record);
  static std::uint64_t Hash(const Packed& packed);
  // A table twice as long, the keys placed again.
  static void Rehash(BulkVector<Slot>& slots, const BulkVector<Packed>& keys);
  static int TypeLength(const Packed& key) { return static_cast<int>(key[2] >> 24 & 0xFF); }
  static int IdLength(const Packed& key) { return static_cast<int>(key[2] >> 32 & 0xFF); }
  // The `length` bytes of a field that are left when its blanks at both ends are.
  static std::string_view Trimmed(const char* field, int length) {
    while (length > 0 && *field == ' ') ++field;
    return {field, static_cast<std::size_t>(length)};
  }
  const char* FirstRecord(int key) const {
    const int first = starts_[key];
    return table_->Record(files_[slots_[first]], members_[first]).data();
  }

  const ObjectTable* table_;
  std::vector<int> files_;
  BulkVector<Packed> keys_;
  // Members of key k are members_[starts_[k] .. starts_[k + 1]), their slots in slots_ alike.
  BulkVector<int> starts_;
  BulkVector<int> members_;
  BulkVector<std::uint16_t> slots_;
};

}  // namespace quillet
