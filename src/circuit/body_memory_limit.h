#ifndef TAVIRON_CIRCUIT_BODY_MEMORY_LIMIT_H
#define TAVIRON_CIRCUIT_BODY_MEMORY_LIMIT_H

#include <cstddef>
#include <cstdint>

namespace taviron {

// Bytes that a decomposition body of `records` two-qubit records takes
// (record, matrix, operand and parameter storage, list slot), each record
// carrying a label of `label_length` characters. Saturates at UINT64_MAX.
uint64_t EstimateBodyBytes(uint64_t records, size_t label_length);

// Bytes the process can still obtain without the system running out of
// memory: the smallest of the memory the system reports available, the
// room left under the process's control group limit and its address-space
// limit. UINT64_MAX when none of them is known.
uint64_t AvailableMemoryBytes();

// Throws MemoryAllocError when a body of `records` records with labels of
// `label_length` characters cannot fit in the memory still available, so
// that a huge decomposition fails at once instead of exhausting memory.
// Bodies below 64 MiB are never refused here.
void EnsureBodyFitsInMemory(uint64_t records, size_t label_length);

}  // namespace taviron

#endif
