#include <sys/mman.h>

#include <cstdint>

#include "platform/bulk_memory.h"

namespace quillet {
namespace {

// The huge page size of x86-64 and of most ARM64 systems; elsewhere the hint does no harm.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Whole huge pages: the kernel gives huge pages only to aligned, whole 2 MiB stretches.
std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateBulk(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  const std::size_t size = Rounded(bytes);
  // Mapped one huge page longer, then trimmed at both ends to an aligned start.
  void* mapped =
      mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::size_t tail = kHugePage - (aligned - start);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* memory = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  madvise(memory, size, MADV_HUGEPAGE);  // only a hint: small pages serve as well
#endif
  return memory;
}

void FreeBulk(void* memory, std::size_t bytes) noexcept {
  if (memory != nullptr) munmap(memory, Rounded(bytes));
}

}  // namespace quillet
