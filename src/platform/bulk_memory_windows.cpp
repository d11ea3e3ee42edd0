#include "platform/bulk_memory.h"

namespace quillet {

// Large pages on Windows need a privilege users seldom have, so these are ordinary allocations.
void* AllocateBulk(std::size_t bytes) { return ::operator new(bytes); }

void FreeBulk(void* memory, std::size_t /*bytes*/) noexcept { ::operator delete(memory); }

}  // namespace quillet
