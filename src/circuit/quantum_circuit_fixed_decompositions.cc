// Composites with fixed bodies: the global Molmer-Sorensen gate (gms, ms),
// the relative-phase triple-controlled X (rcccx, rc3x), the triple-controlled
// square root of X (c3sqrtx) and the triple- and quadruple-controlled X (c3x,
// c4x), whose step tables are in fixed_composite_steps.cc.

#include <algorithm>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/decomposition_steps.h"
#include "circuit/fixed_composite_steps.h"
#include "circuit/gate_matrices.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const char kInvalidParameter[] =
    "Invalid Parameter passed to the gate instruction.";

}  // namespace

std::unique_ptr<GMSGate> QuantumCircuit::gms(double theta,
                                             std::vector<uint64_t> qubit_list,
                                             std::string label) {
  // An empty list names no qubit to act on.
  if (qubit_list.empty()) throw RunTimeError(kInvalidParameter);
  std::vector<uint64_t> sorted = qubit_list;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
    throw RunTimeError(kInvalidParameter);
  }
  // Read as signed, a negative index is the smallest; as unsigned it is the
  // largest, so one comparison with the qubit count refuses both.
  if (sorted.back() > total_qubits_ - 1) throw RunTimeError(kInvalidParameter);

  GateRecordPtr composite = StartComposite(*this, qubit_list, label, "Gms");
  composite->params = {theta};
  const MatrixXcd matrix = RXXMatrix(theta);
  const size_t n = qubit_list.size();
  for (size_t j = 0; j < n; ++j) {
    for (size_t i = j + 1; i < n; ++i) {
      if (AppendTwoQubitRecord(*this, GateId::kRXX, matrix, qubit_list[j],
                               qubit_list[i], {theta}, composite->body,
                               label) != 0) {
        throw RunTimeError("Error handling multi control gate.");
      }
    }
  }
  return AppendCompositeWithHandle<GMSGate>(*this, std::move(composite),
                                            std::move(label));
}

std::unique_ptr<GMSGate> QuantumCircuit::ms(double theta,
                                            std::vector<uint64_t> qubit_list,
                                            std::string label) {
  return gms(theta, std::move(qubit_list), std::move(label));
}

// Composites on (control1, control2, control3, target) whose body is one
// table.
TAVIRON_DEFINE_FIXED_COMPOSITE(rcccx, RCCCXGate, RelativePhaseC3XSteps, "rc3x",
                               (uint64_t c1, uint64_t c2, uint64_t c3,
                                uint64_t t),
                               (c1, c2, c3, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(c3sqrtx, C3SQRTX, C3SqrtXSteps, "c3sqrtx",
                               (uint64_t c1, uint64_t c2, uint64_t c3,
                                uint64_t t),
                               (c1, c2, c3, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(c3x, MCXGate, C3XSteps, "c3x",
                               (uint64_t c1, uint64_t c2, uint64_t c3,
                                uint64_t t),
                               (c1, c2, c3, t))

std::unique_ptr<RCCCXGate> QuantumCircuit::rc3x(uint64_t control_qubit1,
                                                uint64_t control_qubit2,
                                                uint64_t control_qubit3,
                                                uint64_t target_qubit,
                                                std::string label) {
  return rcccx(control_qubit1, control_qubit2, control_qubit3, target_qubit,
               std::move(label));
}

std::unique_ptr<MCXGate> QuantumCircuit::c4x(
    uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
    uint64_t control_qubit4, uint64_t target_qubit, std::string label) {
  return AppendFixedComposite<MCXGate>(
      *this,
      {control_qubit1, control_qubit2, control_qubit3, control_qubit4, target_qubit},
      C4XSteps(), "c4x", std::move(label));
}

}  // namespace taviron
