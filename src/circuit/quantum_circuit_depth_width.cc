// The depth and width queries of a circuit.

#include <algorithm>
#include <exception>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

// Counts the records of `gates` qubit by qubit (a barrier lines every qubit
// up to the highest count so far); a composite counts once on
// each of its qubits, whatever its body holds. A qubit index without a
// counter (not below total_qubits; no gate method appends one) is skipped,
// so nothing outside the counters is ever written.
int32_t QuantumCircuit::depth() const {
  try {
    std::vector<int64_t> counters(total_qubits_, 0);
    if (counters.empty()) return 0;
    for (const GateRecordPtr& record : gates_) {
      if (IsBarrier(record->gate_type)) {
        const int32_t highest =
            static_cast<int32_t>(*std::max_element(counters.begin(), counters.end()));
        std::fill(counters.begin(), counters.end(), highest);
        continue;
      }
      for (uint64_t qubit : record->qubits) {
        if (qubit < counters.size()) ++counters[qubit];
      }
    }
    return static_cast<int32_t>(*std::max_element(counters.begin(), counters.end()));
  } catch (const std::exception&) {
    // In practice only the counters' allocation can fail.
    throw RunTimeError("Error allocating memory in depth");
  }
}

int32_t QuantumCircuit::width() const {
  return static_cast<int32_t>(total_qubits_ + clbit_slots_.size());
}

}  // namespace taviron
