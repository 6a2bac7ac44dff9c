#ifndef TAVIRON_CIRCUIT_TESTING_CIRCUIT_INTERNALS_H
#define TAVIRON_CIRCUIT_TESTING_CIRCUIT_INTERNALS_H

// Test-only writes to what no caller of QuantumCircuit may change once the
// circuit is built, for tests that need a state the constructors and gate
// methods never make.

#include <cstdint>
#include <string>
#include <utility>

#include "circuit/quantum_circuit.h"

namespace taviron {

class CircuitInternals {
 public:
  static void SetName(QuantumCircuit& circuit, std::string name) {
    circuit.name_ = std::move(name);
  }
  // Only the count changes; the per-qubit bookkeeping keeps its size.
  static void SetTotalQubits(QuantumCircuit& circuit, uint64_t total_qubits) {
    circuit.total_qubits_ = total_qubits;
  }
};

}  // namespace taviron

#endif
