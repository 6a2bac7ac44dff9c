#ifndef TAVIRON_CIRCUIT_DECOMPOSITION_STEPS_H
#define TAVIRON_CIRCUIT_DECOMPOSITION_STEPS_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/gate_table_macros.h"
#include "circuit/quantum_circuit.h"
#include "foundation/gate_record.h"

namespace taviron {

// The composites whose body is a fixed decomposition: the steps of such a
// body, written as tables, and the building of the composite record.

// The doubles nearest pi and its fractions: the angles of the fixed
// decompositions.
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kEighthPi = 0.39269908169872414;

// Each step names a gate (one of h, t, tdg, p, cx, cu1, u1 and u2) and its
// operands by position in the composite's operand list.

// p, cu1 and u1 read `lambda`; u2 reads `phi` and `lambda`. `second` is the
// target of a cx and of a cu1 (whose control is `first`).
struct DecompositionStep {
  GateId gate;
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

// Refuses equal operands, then operands outside the circuit, with
// RunTimeError "Invalid Parameter passed to the gate instruction.".
void CheckDistinctOperands(const QuantumCircuit& circuit,
                           const std::vector<uint64_t>& operands);

// A new composite on `qubits`, labelled `label` or `default_label` when
// `label` is empty, its qubits marked active; the body is still empty.
GateRecordPtr StartComposite(QuantumCircuit& circuit,
                             std::vector<uint64_t> qubits,
                             const std::string& label,
                             const char* default_label);

// Appends `composite` at the end of the circuit's instruction list and
// returns a new handle of class Handle with `label` holding it.
template <class Handle>
std::unique_ptr<Handle> AppendCompositeWithHandle(QuantumCircuit& circuit,
                                                  GateRecordPtr composite,
                                                  std::string label) {
  auto handle = circuit.NewHandle<Handle>(std::move(label));
  handle->records.push_back(composite);
  circuit.mutable_gates().push_back(std::move(composite));
  return handle;
}

// A composite on `operands` whose body is `steps`, appended to the circuit's
// gates with a new handle of class Handle: the operands are checked before
// anything changes, every body record carries `label`.
template <class Handle>
std::unique_ptr<Handle> AppendFixedComposite(
    QuantumCircuit& circuit, const std::vector<uint64_t>& operands,
    const std::vector<DecompositionStep>& steps, const char* default_label,
    std::string label) {
  CheckDistinctOperands(circuit, operands);
  GateRecordPtr composite =
      StartComposite(circuit, operands, label, default_label);
  AppendDecompositionSteps(circuit, steps, operands, composite->body, label);
  return AppendCompositeWithHandle<Handle>(circuit, std::move(composite),
                                           std::move(label));
}

// Defines the gate method QuantumCircuit::method(qubit parameters, label)
// as AppendFixedComposite of `steps()` on the operands, e.g.
//   TAVIRON_DEFINE_FIXED_COMPOSITE(ccx, CCXGate, CcxBody, "ccx",
//                                  (uint64_t a, uint64_t b, uint64_t c),
//                                  (a, b, c))
#define TAVIRON_DEFINE_FIXED_COMPOSITE(method, Handle, steps, default_label, \
                                       parameters, operands)                 \
  std::unique_ptr<Handle> QuantumCircuit::method(                            \
      TAVIRON_UNPARENTHESIZE parameters, std::string label) {                \
    return AppendFixedComposite<Handle>(                                     \
        *this, {TAVIRON_UNPARENTHESIZE operands}, steps(), default_label,    \
        std::move(label));                                                   \
  }

}  // namespace taviron

#endif
