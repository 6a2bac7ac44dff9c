#ifndef TAVIRON_CIRCUIT_APPEND_GATE_H
#define TAVIRON_CIRCUIT_APPEND_GATE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/composite_kind.h"
#include "foundation/gate.h"
#include "foundation/gate_id.h"

namespace taviron {

class QuantumCircuit;

// Gate methods called by what they append rather than by name: the
// one-qubit gates, reset, the two-qubit gates, and the fixed composites
// (ccx, ccz, cswap, rccx, rc3x, c3sqrtx, c3x, c4x), each from its qubits and
// its parameters alone. A reader of gate names (the OpenQASM reader) calls
// the circuit through these instead of through a table of its own.

// The numbers of qubits and parameters that a gate method takes.
struct GateArity {
  size_t qubits = 0;
  size_t parameters = 0;
};

// The arity of the method that appends records of `gate`, or of the
// composite of kind `composite`; nullopt where no method here appends one
// (measure, barrier, the catalogue-only ids, composites of no fixed kind).
// u and u3 append the same record: `GateId::kU` calls u.
std::optional<GateArity> AppendGateArity(GateId gate);
std::optional<GateArity> AppendGateArity(CompositeKind composite);

// Calls that method with the parameters in order, then the qubits in order,
// and an empty label, and returns its handle (null where the method returns
// none). Throws what the method throws. Appends nothing and returns null
// when no method appends `gate` or the numbers of qubits and parameters
// differ from its arity.
std::unique_ptr<Gate> AppendGate(QuantumCircuit& circuit, GateId gate,
                                 const std::vector<uint64_t>& qubits,
                                 const std::vector<double>& parameters);
std::unique_ptr<Gate> AppendGate(QuantumCircuit& circuit, CompositeKind composite,
                                 const std::vector<uint64_t>& qubits,
                                 const std::vector<double>& parameters);

}  // namespace taviron

#endif
