// The three-qubit composites ccx (toffoli), ccz, cswap (fredkin) and rccx:
// each call appends one composite record whose body holds the gate's
// decomposition into one- and two-qubit records.

#include <memory>
#include <utility>
#include <vector>

#include "circuit/composite_record.h"
#include "circuit/decomposition_steps.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kQuarterPi = 0.7853981633974483;

using Step = DecompositionStep;
using G = DecompositionGate;

// Operand positions of a three-qubit composite.
constexpr int kC1 = 0;
constexpr int kC2 = 1;
constexpr int kT = 2;

// Toffoli on (c1, c2, t) from h, t, tdg and cx: 15 records.
const std::vector<Step>& CcxBody() {
  static const std::vector<Step> body = {
      {G::kH, kT},       {G::kCX, kC2, kT}, {G::kTdg, kT},      {G::kCX, kC1, kT},
      {G::kT, kT},       {G::kCX, kC2, kT}, {G::kTdg, kT},      {G::kCX, kC1, kT},
      {G::kT, kC2},      {G::kT, kT},       {G::kH, kT},        {G::kCX, kC1, kC2},
      {G::kT, kC1},      {G::kTdg, kC2},    {G::kCX, kC1, kC2},
  };
  return body;
}

// `middle` with `edge` appended before and after it.
std::vector<Step> Surround(const Step& edge, const std::vector<Step>& middle) {
  std::vector<Step> body;
  body.reserve(middle.size() + 2);
  body.push_back(edge);
  body.insert(body.end(), middle.begin(), middle.end());
  body.push_back(edge);
  return body;
}

// CCZ = H on the target around a Toffoli: 17 records.
const std::vector<Step>& CczBody() {
  static const std::vector<Step> body = Surround({G::kH, kT}, CcxBody());
  return body;
}

// Controlled swap of (t1, t2) under c, the operands being (c, t1, t2): a
// Toffoli on (c, t1, t2) between two cx from t2 to t1: 17 records.
const std::vector<Step>& CswapBody() {
  static const std::vector<Step> body = Surround({G::kCX, 2, 1}, CcxBody());
  return body;
}

// Toffoli up to relative phases, from u1, u2 and cx: 9 records.
const std::vector<Step>& RccxBody() {
  static const std::vector<Step> body = {
      {G::kU2, kT, 0, 0.0, kPi},          {G::kU1, kT, 0, 0.0, kQuarterPi},
      {G::kCX, kC2, kT},                  {G::kU1, kT, 0, 0.0, -kQuarterPi},
      {G::kCX, kC1, kT},                  {G::kU1, kT, 0, 0.0, kQuarterPi},
      {G::kCX, kC2, kT},                  {G::kU1, kT, 0, 0.0, -kQuarterPi},
      {G::kU2, kT, 0, 0.0, kPi},
  };
  return body;
}

// Checks the operands (distinct, each below total_qubits) before anything
// changes, then builds the composite with its body and appends it to the
// circuit's gates. The handle carries the caller's label; the composite
// carries the default label when the caller gave none.
template <class Handle>
std::unique_ptr<Handle> AppendThreeQubitComposite(
    QuantumCircuit& circuit, std::vector<uint64_t> operands,
    const std::vector<Step>& steps, const char* default_label,
    std::string label) {
  const uint64_t a = operands[0], b = operands[1], c = operands[2];
  if (a == b || a == c || b == c || a >= circuit.total_qubits ||
      b >= circuit.total_qubits || c >= circuit.total_qubits) {
    throw RunTimeError("Invalid Parameter passed to the gate instruction.");
  }
  GateRecordPtr composite = NewCompositeRecord(label, default_label);
  composite->qubits = operands;
  MarkCompositeQubitsActive(circuit, *composite);
  AppendDecompositionSteps(circuit, steps, operands, composite->body, label);
  return AppendCompositeWithHandle<Handle>(circuit, std::move(composite),
                                           std::move(label));
}

}  // namespace

std::unique_ptr<CCXGate> QuantumCircuit::ccx(uint64_t control_qubit1,
                                             uint64_t control_qubit2,
                                             uint64_t target_qubit,
                                             std::string label) {
  return AppendThreeQubitComposite<CCXGate>(
      *this, {control_qubit1, control_qubit2, target_qubit}, CcxBody(), "ccx",
      std::move(label));
}

std::unique_ptr<CCXGate> QuantumCircuit::toffoli(uint64_t control_qubit1,
                                                 uint64_t control_qubit2,
                                                 uint64_t target_qubit,
                                                 std::string label) {
  return ccx(control_qubit1, control_qubit2, target_qubit, std::move(label));
}

std::unique_ptr<CCZGate> QuantumCircuit::ccz(uint64_t control_qubit1,
                                             uint64_t control_qubit2,
                                             uint64_t target_qubit,
                                             std::string label) {
  return AppendThreeQubitComposite<CCZGate>(
      *this, {control_qubit1, control_qubit2, target_qubit}, CczBody(), "ccz",
      std::move(label));
}

std::unique_ptr<CSWAPGate> QuantumCircuit::cswap(uint64_t control_qubit,
                                                 uint64_t target_qubit1,
                                                 uint64_t target_qubit2,
                                                 std::string label) {
  return AppendThreeQubitComposite<CSWAPGate>(
      *this, {control_qubit, target_qubit1, target_qubit2}, CswapBody(),
      "cswap", std::move(label));
}

std::unique_ptr<CSWAPGate> QuantumCircuit::fredkin(uint64_t control_qubit1,
                                                   uint64_t control_qubit2,
                                                   uint64_t target_qubit,
                                                   std::string label) {
  return cswap(control_qubit1, control_qubit2, target_qubit, std::move(label));
}

std::unique_ptr<RCCXGate> QuantumCircuit::rccx(uint64_t control_qubit1,
                                               uint64_t control_qubit2,
                                               uint64_t target_qubit,
                                               std::string label) {
  return AppendThreeQubitComposite<RCCXGate>(
      *this, {control_qubit1, control_qubit2, target_qubit}, RccxBody(),
      "Rccx", std::move(label));
}
