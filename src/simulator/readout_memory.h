#ifndef TAVIRON_SIMULATOR_READOUT_MEMORY_H
#define TAVIRON_SIMULATOR_READOUT_MEMORY_H

#include <cstdint>

namespace taviron {

// Size checks of the readouts whose results grow as 2^k: each throws
// MemoryAllocError when the size cannot be represented or cannot be held in
// the machine's memory, before anything is allocated.

// 2^k.
uint64_t BasisSizeOrThrow(uint64_t k);

// count * bytes_each, when it fits in the machine's physical memory.
uint64_t ReadoutBytesOrThrow(uint64_t count, uint64_t bytes_each);

// Throws unless the sum of the given byte counts fits as well.
void RequireReadoutMemory(uint64_t bytes_a, uint64_t bytes_b);

}  // namespace taviron

#endif
