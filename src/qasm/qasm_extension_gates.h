#ifndef TAVIRON_QASM_QASM_EXTENSION_GATES_H
#define TAVIRON_QASM_QASM_EXTENSION_GATES_H

#include <cstddef>
#include <string>
#include <vector>

#include "circuit/append_gate.h"
#include "foundation/gate_id.h"

namespace taviron {

// A gate of the circuit that qelib1.inc does not provide, known to the
// reader and the writer by name: r, rv, cs, csdg, dcx, iswap, ryy, rzx and
// ecr. Other programs define such a gate before they use it; the reader
// takes a definition with the gate's numbers of parameters and qubits as
// the gate itself, and the writer defines each one it calls.
struct QasmExtensionGate {
  const char* name;
  GateId id;
  // The body of the writer's definition, one statement a line, over
  // qelib1.inc gates only: "$k" stands for qubit argument k and "%k" for
  // parameter k, each expression giving the gate's own values. Null for rv,
  // which no definition over those gates expresses (its axis needs an
  // inverse trigonometric function that OpenQASM 2.0 lacks); the writer
  // writes each rv as the u gate of its matrix instead.
  const char* body;
};

// The numbers of qubits and parameters of the gate: those of its gate
// method (AppendGate, which also appends it).
GateArity QasmExtensionArity(const QasmExtensionGate& gate);

// The gates in a fixed order.
const std::vector<QasmExtensionGate>& QasmExtensionGates();

// The gate of that name or id, or nullptr.
const QasmExtensionGate* FindQasmExtensionGate(const std::string& name);
const QasmExtensionGate* FindQasmExtensionGate(GateId id);

}  // namespace taviron

#endif
