#ifndef TAVIRON_CIRCUIT_DECOMPOSITION_STEPS_H
#define TAVIRON_CIRCUIT_DECOMPOSITION_STEPS_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "foundation/gate_record.h"

// Fixed decompositions written as tables: each step names a gate and its
// operands by position in the composite's operand list.
enum class DecompositionGate { kH, kT, kTdg, kP, kCX, kCU1, kU1, kU2 };

// p, cu1 and u1 read `lambda`; u2 reads `phi` and `lambda`. `second` is the
// target of a cx and of a cu1 (whose control is `first`).
struct DecompositionStep {
  DecompositionGate gate;
  int first;
  int second = 0;
  double phi = 0.0;
  double lambda = 0.0;
};

// Appends one record per step, in order, to `body`, each carrying `label`.
// A non-zero appender status throws RunTimeError "Error handling multi
// control gate."; errors of the append core propagate.
void AppendDecompositionSteps(QuantumCircuit& circuit,
                              const std::vector<DecompositionStep>& steps,
                              const std::vector<uint64_t>& operands,
                              GateRecordList& body, const std::string& label);

// Marks each qubit of `composite` active, as a composite's builder does
// before it fills the body.
void MarkCompositeQubitsActive(QuantumCircuit& circuit,
                               const GateRecord& composite);

// Appends `composite` at the end of the circuit's instruction list and
// returns a new handle of class Handle with `label` holding it.
template <class Handle>
std::unique_ptr<Handle> AppendCompositeWithHandle(QuantumCircuit& circuit,
                                                  GateRecordPtr composite,
                                                  std::string label) {
  auto handle = std::make_unique<Handle>(std::move(label));
  handle->records.push_back(composite);
  circuit.gates.push_back(std::move(composite));
  return handle;
}

#endif
