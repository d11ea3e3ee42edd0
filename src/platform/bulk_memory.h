#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace quillet {

// Memory for the large arrays a load or a comparison fills at once: the object areas, the list's
// rows, the comparison's hash tables. Where the system offers them, these come in huge pages.
// Filling a fresh small page costs a page fault, and on a virtual machine a fault costs as much
// as filling several pages, so for a file of 250,000 objects the faults cost more than the work.

// Smaller requests are ordinary allocations: a huge page would waste more than it saves.
inline constexpr std::size_t kBulkThreshold = std::size_t{64} << 10;

// Throws std::bad_alloc when the system has no memory left. Free with the same size.
void* AllocateBulk(std::size_t bytes);
void FreeBulk(void* memory, std::size_t bytes) noexcept;

template <typename T>
struct BulkAllocator {
  using value_type = T;

  BulkAllocator() = default;
  template <typename U>
  BulkAllocator(const BulkAllocator<U>&) noexcept {}  // NOLINT(google-explicit-constructor)

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kBulkThreshold) return static_cast<T*>(::operator new(bytes));
    return static_cast<T*>(AllocateBulk(bytes));
  }
  void deallocate(T* memory, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kBulkThreshold) {
      ::operator delete(memory);
    } else {
      FreeBulk(memory, bytes);
    }
  }

  template <typename U>
  bool operator==(const BulkAllocator<U>&) const noexcept {
    return true;
  }
};

template <typename T>
using BulkVector = std::vector<T, BulkAllocator<T>>;

// Bytes that only grow, the old ones kept: one memcpy and one memset where a vector with this
// allocator would fill byte by byte.
class BulkBytes {
 public:
  BulkBytes() = default;
  BulkBytes(const BulkBytes&) = delete;
  BulkBytes& operator=(const BulkBytes&) = delete;
  BulkBytes(BulkBytes&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  BulkBytes& operator=(BulkBytes&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~BulkBytes() { BulkAllocator<char>().deallocate(data_, size_); }

  // At least `size` bytes; the new ones hold `fill`. Throws std::bad_alloc, changing nothing.
  void Grow(std::size_t size, char fill) {
    if (size <= size_) return;
    char* grown = BulkAllocator<char>().allocate(size);
    if (size_ > 0) std::memcpy(grown, data_, size_);
    std::memset(grown + size_, fill, size - size_);
    BulkAllocator<char>().deallocate(data_, size_);
    data_ = grown;
    size_ = size;
  }

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace quillet
