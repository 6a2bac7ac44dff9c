#ifndef TAVIRON_EXECUTION_RESULT_MEMORY_H
#define TAVIRON_EXECUTION_RESULT_MEMORY_H

#include <cstdint>

#include "foundation/memory_budget.h"

namespace taviron {

// How much memory a run's stored shots and a Result's readouts take, and
// the refusal of those that the machine cannot give: a readout of many
// qubits, or a run of billions of shots, would otherwise allocate until the
// system kills the process. Sizes count the native values and the Python
// lists that the binding builds from them, since both are alive at once,
// with the block sizes of their allocators.

// The budget and its refusal (MemoryBudgetError) are those of
// foundation/memory_budget.h.

// What `shots` shots of a circuit of `qubits` qubits (at most one bit per
// qubit) cost through their readouts: the stored bit strings, the Python
// lists of get_memory and to_dict, and the copy that a readout converts.
double ShotStorageBytes(int64_t shots, uint64_t qubits);

// The readouts over all `qubits` qubits of a Result, while they are built:
// probabilities (2^n doubles and the contraction behind them), the density
// matrix (4^n entries, as a matrix, as rows and as Python complex numbers)
// and the state vector (2^n amplitudes).
double ProbabilitiesBytes(uint64_t qubits);
double DensityMatrixBytes(uint64_t qubits);
double StateVectorBytes(uint64_t qubits);

}  // namespace taviron

#endif
