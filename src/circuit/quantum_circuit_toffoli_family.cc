// The three-qubit composites ccx (toffoli), ccz, cswap (fredkin) and rccx:
// each call appends one composite record whose body holds the gate's
// decomposition into one- and two-qubit records.

#include <memory>
#include <utility>
#include <vector>

#include "circuit/decomposition_steps.h"
#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

using Step = DecompositionStep;
using G = GateId;

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

}  // namespace

// Composites on three operands (for cswap the control, then the two
// targets). The operands must differ and lie below total_qubits; the handle
// carries the caller's label and the composite the default label when the
// caller gave none.
TAVIRON_DEFINE_FIXED_COMPOSITE(ccx, CCXGate, CcxBody, "ccx",
                               (uint64_t c1, uint64_t c2, uint64_t t),
                               (c1, c2, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(ccz, CCZGate, CczBody, "ccz",
                               (uint64_t c1, uint64_t c2, uint64_t t),
                               (c1, c2, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(cswap, CSWAPGate, CswapBody, "cswap",
                               (uint64_t c, uint64_t t1, uint64_t t2),
                               (c, t1, t2))
TAVIRON_DEFINE_FIXED_COMPOSITE(rccx, RCCXGate, RccxBody, "Rccx",
                               (uint64_t c1, uint64_t c2, uint64_t t),
                               (c1, c2, t))

std::unique_ptr<CCXGate> QuantumCircuit::toffoli(uint64_t control_qubit1,
                                                 uint64_t control_qubit2,
                                                 uint64_t target_qubit,
                                                 std::string label) {
  return ccx(control_qubit1, control_qubit2, target_qubit, std::move(label));
}

std::unique_ptr<CSWAPGate> QuantumCircuit::fredkin(uint64_t control_qubit1,
                                                   uint64_t control_qubit2,
                                                   uint64_t target_qubit,
                                                   std::string label) {
  return cswap(control_qubit1, control_qubit2, target_qubit, std::move(label));
}

}  // namespace taviron
