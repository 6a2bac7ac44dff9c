#include "simulator/readout_memory.h"

#include <unistd.h>

#include <limits>

#include "foundation/exceptions.h"

namespace taviron {

namespace {

// The machine's physical memory in bytes; a result larger than this can
// only end with the process being killed, so it is refused up front.
uint64_t PhysicalMemoryBytes() {
  static const uint64_t bytes = [] {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return std::numeric_limits<uint64_t>::max();
    const uint64_t p = static_cast<uint64_t>(pages);
    const uint64_t s = static_cast<uint64_t>(page_size);
    if (p > std::numeric_limits<uint64_t>::max() / s) return std::numeric_limits<uint64_t>::max();
    return p * s;
  }();
  return bytes;
}

}  // namespace

uint64_t BasisSizeOrThrow(uint64_t k) {
  if (k >= 63) throw MemoryAllocError();
  return uint64_t{1} << k;
}

uint64_t ReadoutBytesOrThrow(uint64_t count, uint64_t bytes_each) {
  if (bytes_each != 0 && count > std::numeric_limits<uint64_t>::max() / bytes_each) {
    throw MemoryAllocError();
  }
  const uint64_t bytes = count * bytes_each;
  if (bytes > PhysicalMemoryBytes()) throw MemoryAllocError();
  return bytes;
}

void RequireReadoutMemory(uint64_t bytes_a, uint64_t bytes_b) {
  if (bytes_a > std::numeric_limits<uint64_t>::max() - bytes_b) throw MemoryAllocError();
  if (bytes_a + bytes_b > PhysicalMemoryBytes()) throw MemoryAllocError();
}

}  // namespace taviron
