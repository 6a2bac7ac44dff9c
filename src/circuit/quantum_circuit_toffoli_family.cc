// The three-qubit composites ccx (toffoli), ccz, cswap (fredkin) and rccx:
// each call appends one composite record whose body holds the gate's
// decomposition into one- and two-qubit records.

#include <memory>
#include <utility>
#include <vector>

#include "circuit/decomposition_steps.h"
#include "circuit/fixed_composite_steps.h"
#include "circuit/quantum_circuit.h"

namespace taviron {

// Composites on three operands (for cswap the control, then the two
// targets). The operands must differ and lie below total_qubits; the handle
// carries the caller's label and the composite the default label when the
// caller gave none.
TAVIRON_DEFINE_FIXED_COMPOSITE(ccx, CCXGate, CcxSteps, "ccx",
                               (uint64_t c1, uint64_t c2, uint64_t t),
                               (c1, c2, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(ccz, CCZGate, CczSteps, "ccz",
                               (uint64_t c1, uint64_t c2, uint64_t t),
                               (c1, c2, t))
TAVIRON_DEFINE_FIXED_COMPOSITE(cswap, CSWAPGate, CswapSteps, "cswap",
                               (uint64_t c, uint64_t t1, uint64_t t2),
                               (c, t1, t2))
TAVIRON_DEFINE_FIXED_COMPOSITE(rccx, RCCXGate, RccxSteps, "Rccx",
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
