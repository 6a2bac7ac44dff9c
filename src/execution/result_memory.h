#ifndef TAVIRON_EXECUTION_RESULT_MEMORY_H
#define TAVIRON_EXECUTION_RESULT_MEMORY_H

#include <cstdint>
#include <new>
#include <string>

namespace taviron {

// How much memory a run's stored shots and a Result's readouts take, and
// the refusal of those that the machine cannot give: a readout of many
// qubits, or a run of billions of shots, would otherwise allocate until the
// system kills the process. Sizes count the native values and the Python
// lists that the binding builds from them, since both are alive at once.

// A refused size. A std::bad_alloc, so Python sees MemoryError, with a text
// that says how much was asked for and how much the machine can give.
class MemoryBudgetError : public std::bad_alloc {
 public:
  explicit MemoryBudgetError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The most that one run's shots or one readout may take: half of the
// machine's physical memory.
double MemoryBudgetBytes();

// Throws MemoryBudgetError "<what> needs <x> GB, more than the <y> GB (half
// of the physical memory) that this machine can give" when bytes is above
// the budget.
void RequireWithinBudget(const std::string& what, double bytes);

// The stored bit strings of `shots` shots of a circuit of `qubits` qubits
// (at most one bit per qubit), with the Python list that reads them back.
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
