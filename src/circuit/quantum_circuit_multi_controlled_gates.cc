// The multi-controlled gates mcp, mcrx, mcry, mcrz, mcx and mct: one
// composite whose body is the Gray-code decomposition, or for mcx with one
// to four controls the fixed gate of that size.

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/decomposition_steps.h"
#include "circuit/gray_code_multi_control.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const char kInvalidParameter[] =
    "Invalid Parameter passed to the gate instruction.";
const char kMultiControlError[] = "Error handling multi control gate.";

// Refuses an empty control list, a target among the controls, a target or a
// control outside the circuit (a negative control, read as unsigned, is
// beyond every qubit), then returns the controls ascending without repeats.
std::vector<uint64_t> CheckedControls(const QuantumCircuit& circuit,
                                      std::vector<uint64_t> controls,
                                      uint64_t target) {
  if (controls.empty()) throw RunTimeError(kInvalidParameter);
  if (std::find(controls.begin(), controls.end(), target) != controls.end()) {
    throw RunTimeError(kInvalidParameter);
  }
  const uint64_t last = circuit.total_qubits() - 1;
  if (target > last) throw RunTimeError(kInvalidParameter);
  if (*std::max_element(controls.begin(), controls.end()) > last) {
    throw RunTimeError(kInvalidParameter);
  }
  std::sort(controls.begin(), controls.end());
  controls.erase(std::unique(controls.begin(), controls.end()), controls.end());
  return controls;
}

// The composite of a multi-controlled gate on the controls and the target,
// which are marked active; the body is still empty.
GateRecordPtr StartMultiControlComposite(QuantumCircuit& circuit,
                                         std::vector<uint64_t> controls,
                                         uint64_t target, double angle,
                                         const std::string& label,
                                         const char* default_label) {
  controls.push_back(target);
  GateRecordPtr composite =
      StartComposite(circuit, std::move(controls), label, default_label);
  composite->params = {angle};
  return composite;
}

void AppendGrayCodeBody(QuantumCircuit& circuit, double x,
                        const std::vector<uint64_t>& controls, uint64_t target,
                        GateId leaf_kind,
                        const std::vector<double>& leaf_params,
                        GateRecord& composite, const std::string& label) {
  if (AppendGrayCodeMultiControl(circuit, x, controls, target, leaf_kind,
                                 leaf_params, composite.body, label) != 0) {
    throw RunTimeError(kMultiControlError);
  }
}

// How one multi-controlled rotation or phase is decomposed: the engine's
// angle x and leaf parameters, given the method's angle and the number of
// controls. With one control the engine appends the single leaf
// leaf(x, leaf parameters) on (control, target).
struct GrayCodePlan {
  double x;
  GateId leaf_kind;
  std::vector<double> leaf_params;
};

template <class Handle>
std::unique_ptr<Handle> AppendMultiControlled(
    QuantumCircuit& circuit, double lambda, std::vector<uint64_t> controls,
    uint64_t target, const char* default_label, std::string label,
    GrayCodePlan (*plan)(double lambda, size_t controls)) {
  controls = CheckedControls(circuit, std::move(controls), target);
  GateRecordPtr composite = StartMultiControlComposite(
      circuit, controls, target, lambda, label, default_label);
  const GrayCodePlan p = plan(lambda, controls.size());
  AppendGrayCodeBody(circuit, p.x, controls, target, p.leaf_kind,
                     p.leaf_params, *composite, label);
  return AppendCompositeWithHandle<Handle>(circuit, std::move(composite),
                                           std::move(label));
}

// Controlled phases cp(+-lambda / 2^(n-1)).
GrayCodePlan PhasePlan(double lambda, size_t) {
  return {lambda, kLeafControlledPhase, {}};
}

// Controlled RX(+-lambda / 2^(n-1)) as cu(E, -pi/2, pi/2, 0).
GrayCodePlan RotationXPlan(double lambda, size_t) {
  return {lambda, kLeafControlledU, {-kHalfPi, kHalfPi, 0.0}};
}

// Controlled RY(+-lambda / 2^(n-1)) as cu(E, 0, 0, 0).
GrayCodePlan RotationYPlan(double lambda, size_t) {
  return {lambda, kLeafControlledU, {0.0, 0.0, 0.0}};
}

// Leaves cu(0, 0, lambda / 2^(n-1), 0) and their inverses
// cu(0, -lambda / 2^(n-1), 0, 0): controlled phases, so that the whole is
// the multi-controlled phase diag(1, e^(i lambda)) on the target.
GrayCodePlan RotationZPlan(double lambda, size_t controls) {
  const double leaf_lambda =
      lambda / std::ldexp(1.0, static_cast<int>(controls - 1));
  return {0.0, kLeafControlledU, {0.0, leaf_lambda, 0.0}};
}

// An MCXGate with the label and records of the handle of a smaller gate.
template <class Handle>
std::unique_ptr<MCXGate> AsMultiControlledX(const QuantumCircuit& circuit,
                                            std::unique_ptr<Handle> handle) {
  auto result = circuit.NewHandle<MCXGate>(handle->label);
  result->records = std::move(handle->records);
  return result;
}

}  // namespace

std::unique_ptr<MCPGate> QuantumCircuit::mcp(double lambda,
                                             std::vector<uint64_t> control_qubits,
                                             uint64_t target_qubit,
                                             std::string label) {
  return AppendMultiControlled<MCPGate>(*this, lambda, std::move(control_qubits),
                                        target_qubit, "mcphase",
                                        std::move(label), PhasePlan);
}

// method, handle class, default label, decomposition plan: the
// multi-controlled rotations, whose use_basis_gates is never read.
#define TAVIRON_MULTI_CONTROLLED_ROTATIONS(X)  \
  X(mcrx, MCRXGate, "mcrx", RotationXPlan)     \
  X(mcry, MCRYGate, "mcry", RotationYPlan)     \
  X(mcrz, MCRZGate, "mcrz", RotationZPlan)

#define TAVIRON_DEFINE_MULTI_CONTROLLED_ROTATION(method, Handle,               \
                                                 default_label, plan)          \
  std::unique_ptr<Handle> QuantumCircuit::method(                              \
      double lambda, std::vector<uint64_t> control_qubits,                     \
      uint64_t target_qubit, bool /*use_basis_gates*/, std::string label) {    \
    return AppendMultiControlled<Handle>(*this, lambda,                        \
                                         std::move(control_qubits),            \
                                         target_qubit, default_label,          \
                                         std::move(label), plan);              \
  }
TAVIRON_MULTI_CONTROLLED_ROTATIONS(TAVIRON_DEFINE_MULTI_CONTROLLED_ROTATION)
#undef TAVIRON_DEFINE_MULTI_CONTROLLED_ROTATION

std::unique_ptr<MCXGate> QuantumCircuit::mcx(
    std::vector<uint64_t> control_qubits, uint64_t target_qubit,
    std::vector<uint64_t> /*ancilla_qubits*/, std::string /*mode*/,
    std::string label) {
  const std::vector<uint64_t> c =
      CheckedControls(*this, std::move(control_qubits), target_qubit);
  switch (c.size()) {
    case 1:
      return AsMultiControlledX(*this, cx(c[0], target_qubit, std::move(label)));
    case 2:
      return AsMultiControlledX(*this, ccx(c[0], c[1], target_qubit, std::move(label)));
    case 3:
      return c3x(c[0], c[1], c[2], target_qubit, std::move(label));
    case 4:
      return c4x(c[0], c[1], c[2], c[3], target_qubit, std::move(label));
    default:
      break;
  }
  // H on the target around the multi-controlled phase of pi.
  GateRecordPtr composite =
      StartMultiControlComposite(*this, c, target_qubit, kPi, label, "mcx");
  if (AppendH(*this, target_qubit, composite->body, label) != 0) {
    throw RunTimeError(kMultiControlError);
  }
  AppendGrayCodeBody(*this, kPi, c, target_qubit, kLeafCU1, {}, *composite,
                     label);
  if (AppendH(*this, target_qubit, composite->body, label) != 0) {
    throw RunTimeError(kMultiControlError);
  }
  return AppendCompositeWithHandle<MCXGate>(*this, std::move(composite),
                                            std::move(label));
}

std::unique_ptr<MCXGate> QuantumCircuit::mct(
    std::vector<uint64_t> control_qubits, uint64_t target_qubit,
    std::vector<uint64_t> ancilla_qubits, std::string mode, std::string label) {
  return mcx(std::move(control_qubits), target_qubit, std::move(ancilla_qubits),
             std::move(mode), std::move(label));
}

}  // namespace taviron
