// How much memory a call's records need, and whether the process may take
// that much.

#include "circuit/record_memory_limit.h"

#include <complex>
#include <limits>

#include "foundation/gate_record.h"
#include "foundation/memory_budget.h"

namespace taviron {

namespace {

constexpr uint64_t kSaturated = std::numeric_limits<uint64_t>::max();

// Bookkeeping of the allocator per allocation.
constexpr uint64_t kAllocationOverhead = 16;
// Labels up to this length live inside the string object itself.
constexpr size_t kShortLabel = 15;
// Calls up to this size are built without asking how much memory is left.
constexpr uint64_t kAlwaysAttempted = uint64_t{64} << 20;

uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
  if (a != 0 && b > kSaturated / a) return kSaturated;
  return a * b;
}

uint64_t Allocation(uint64_t bytes) { return bytes == 0 ? 0 : bytes + kAllocationOverhead; }

}  // namespace

RecordShape BodyRecordShape(size_t label_length) { return {4, 2, 4, label_length}; }

uint64_t EstimateRecordBytes(uint64_t records, const RecordShape& shape) {
  const uint64_t per_record =
      // The record and the shared count in one allocation.
      Allocation(sizeof(GateRecord) + 2 * sizeof(void*)) +
      Allocation(shape.matrix_side * shape.matrix_side * sizeof(std::complex<double>)) +
      Allocation(shape.operands * sizeof(uint64_t)) + Allocation(shape.params * sizeof(double)) +
      (shape.label_length > kShortLabel ? Allocation(shape.label_length + 1) : 0) +
      // Its slot in the list that holds it.
      sizeof(GateRecordPtr);
  return SaturatingMultiply(records, per_record);
}

void EnsureRecordsFitInMemory(const std::string& what, uint64_t records,
                              const RecordShape& shape) {
  const uint64_t bytes = EstimateRecordBytes(records, shape);
  if (bytes <= kAlwaysAttempted) return;
  RequireWithinBudget(what, static_cast<double>(bytes));
}

}  // namespace taviron
