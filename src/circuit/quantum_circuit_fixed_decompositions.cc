// Composites with fixed bodies: the global Molmer-Sorensen gate (gms, ms),
// the relative-phase triple-controlled X (rcccx, rc3x), the triple-controlled
// square root of X (c3sqrtx) and the triple- and quadruple-controlled X (c3x,
// c4x). The last four bodies follow the gate definitions of the OpenQASM 2.0
// standard library record for record.

#include "circuit/quantum_circuit_fixed_decompositions.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/decomposition_steps.h"
#include "circuit/gate_matrices.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using G = GateId;

const char kInvalidParameter[] =
    "Invalid Parameter passed to the gate instruction.";

// Operand positions: three controls, then the target.
constexpr int kC1 = 0;
constexpr int kC2 = 1;
constexpr int kC3 = 2;
constexpr int kT = 3;

// rcccx: 18 u2, u1 and cx records on (c1, c2, c3, t).
const std::vector<DecompositionStep>& RelativePhaseC3XSteps() {
  static const std::vector<DecompositionStep> steps = {
      {G::kU2, kT, 0, 0.0, kPi},      {G::kU1, kT, 0, 0.0, kQuarterPi},
      {G::kCX, kC3, kT},              {G::kU1, kT, 0, 0.0, -kQuarterPi},
      {G::kU2, kT, 0, 0.0, kPi},      {G::kCX, kC1, kT},
      {G::kU1, kT, 0, 0.0, kQuarterPi}, {G::kCX, kC2, kT},
      {G::kU1, kT, 0, 0.0, -kQuarterPi}, {G::kCX, kC1, kT},
      {G::kU1, kT, 0, 0.0, kQuarterPi}, {G::kCX, kC2, kT},
      {G::kU1, kT, 0, 0.0, -kQuarterPi}, {G::kU2, kT, 0, 0.0, kPi},
      {G::kU1, kT, 0, 0.0, kQuarterPi}, {G::kCX, kC3, kT},
      {G::kU1, kT, 0, 0.0, -kQuarterPi}, {G::kU2, kT, 0, 0.0, kPi},
  };
  return steps;
}

// c3sqrtx: 27 h, cu1(+-pi/8) and cx records on (c1, c2, c3, t).
const std::vector<DecompositionStep>& C3SqrtXSteps() {
  static const std::vector<DecompositionStep> steps = [] {
    // (control of the cu1, its angle, the cx that follows it).
    struct Round {
      int control;
      double angle;
      int cx_control;
      int cx_target;
    };
    const Round rounds[] = {
        {kC1, kEighthPi, kC1, kC2},  {kC2, -kEighthPi, kC1, kC2},
        {kC2, kEighthPi, kC2, kC3},  {kC3, -kEighthPi, kC1, kC3},
        {kC3, kEighthPi, kC2, kC3},  {kC3, -kEighthPi, kC1, kC3},
        {kC3, kEighthPi, -1, -1},
    };
    // Each round: h t; cu1; h t; then its cx (none after the last).
    std::vector<DecompositionStep> list;
    for (const Round& round : rounds) {
      list.push_back({G::kH, kT});
      list.push_back({G::kCU1, round.control, kT, 0.0, round.angle});
      list.push_back({G::kH, kT});
      if (round.cx_control >= 0) {
        list.push_back({G::kCX, round.cx_control, round.cx_target});
      }
    }
    return list;
  }();
  return steps;
}

// c3x: 31 h, p(+-pi/8) and cx records on (c1, c2, c3, t).
const std::vector<DecompositionStep>& C3XSteps() {
  constexpr double a = kEighthPi;
  static const std::vector<DecompositionStep> steps = {
      {G::kH, kT},
      {G::kP, kC1, 0, 0.0, a},  {G::kP, kC2, 0, 0.0, a},
      {G::kP, kC3, 0, 0.0, a},  {G::kP, kT, 0, 0.0, a},
      {G::kCX, kC1, kC2},       {G::kP, kC2, 0, 0.0, -a},
      {G::kCX, kC1, kC2},       {G::kCX, kC2, kC3},
      {G::kP, kC3, 0, 0.0, -a}, {G::kCX, kC1, kC3},
      {G::kP, kC3, 0, 0.0, a},  {G::kCX, kC2, kC3},
      {G::kP, kC3, 0, 0.0, -a}, {G::kCX, kC1, kC3},
      {G::kCX, kC3, kT},        {G::kP, kT, 0, 0.0, -a},
      {G::kCX, kC2, kT},        {G::kP, kT, 0, 0.0, a},
      {G::kCX, kC3, kT},        {G::kP, kT, 0, 0.0, -a},
      {G::kCX, kC1, kT},        {G::kP, kT, 0, 0.0, a},
      {G::kCX, kC3, kT},        {G::kP, kT, 0, 0.0, -a},
      {G::kCX, kC2, kT},        {G::kP, kT, 0, 0.0, a},
      {G::kCX, kC3, kT},        {G::kP, kT, 0, 0.0, -a},
      {G::kCX, kC1, kT},        {G::kH, kT},
  };
  return steps;
}

// The controlled phase of +-pi/2 from the fourth control of c4x (position
// 3) onto its target (position 4), between two h on the target.
std::vector<DecompositionStep> C4XEdgeSteps(double angle) {
  return {{G::kH, 4}, {G::kCU1, 3, 4, 0.0, angle}, {G::kH, 4}};
}

}  // namespace

int32_t AppendC3SqrtXDecomposition(QuantumCircuit& circuit, uint64_t control1,
                                   uint64_t control2, uint64_t control3,
                                   uint64_t target, GateRecord& composite,
                                   std::string label) {
  AppendDecompositionSteps(circuit, C3SqrtXSteps(),
                           {control1, control2, control3, target},
                           composite.body, label);
  return 0;
}

int32_t AppendC3XDecomposition(QuantumCircuit& circuit, uint64_t control1,
                               uint64_t control2, uint64_t control3,
                               uint64_t target, GateRecord& composite,
                               std::string label) {
  AppendDecompositionSteps(circuit, C3XSteps(),
                           {control1, control2, control3, target},
                           composite.body, label);
  return 0;
}

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
  if (sorted.back() > total_qubits - 1) throw RunTimeError(kInvalidParameter);

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
  const std::vector<uint64_t> operands = {control_qubit1, control_qubit2,
                                          control_qubit3, control_qubit4,
                                          target_qubit};
  CheckDistinctOperands(*this, operands);
  GateRecordPtr composite = StartComposite(*this, operands, label, "c4x");
  GateRecordList& body = composite->body;
  AppendDecompositionSteps(*this, C4XEdgeSteps(kHalfPi), operands, body, label);
  AppendC3XDecomposition(*this, control_qubit1, control_qubit2, control_qubit3,
                         control_qubit4, *composite, label);
  AppendDecompositionSteps(*this, C4XEdgeSteps(-kHalfPi), operands, body,
                           label);
  AppendC3XDecomposition(*this, control_qubit1, control_qubit2, control_qubit3,
                         control_qubit4, *composite, label);
  AppendC3SqrtXDecomposition(*this, control_qubit1, control_qubit2,
                             control_qubit3, target_qubit, *composite, label);
  return AppendCompositeWithHandle<MCXGate>(*this, std::move(composite),
                                            std::move(label));
}

}  // namespace taviron
