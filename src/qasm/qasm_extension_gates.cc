#include "qasm/qasm_extension_gates.h"

namespace taviron {

namespace {

// Each definition was derived from the gate's matrix and is checked against
// it numerically (qasm_extension_gates.test.cc). The first qubit is the low
// bit of the matrices, as everywhere in the circuit.
const std::vector<QasmExtensionGate> kExtensionGates = {
    // R(theta, phi) = U(theta, phi - pi/2, pi/2 - phi).
    {"r", GateId::kR, "u3(%0, %1 - pi/2, pi/2 - %1) $0;\n"},
    {"rv", GateId::kRV, nullptr},
    {"cs", GateId::kCS, "cu1(pi/2) $0, $1;\n"},
    {"csdg", GateId::kCSdg, "cu1(-pi/2) $0, $1;\n"},
    {"dcx", GateId::kDCX, "cx $0, $1;\ncx $1, $0;\n"},
    {"iswap", GateId::kISwap, "s $0;\ns $1;\nh $0;\ncx $0, $1;\ncx $1, $0;\nh $1;\n"},
    // YY turned into ZZ on the second qubit's side by x rotations.
    {"ryy", GateId::kRYY,
     "rx(pi/2) $0;\nrx(pi/2) $1;\ncx $0, $1;\nrz(%0) $1;\ncx $0, $1;\nrx(-pi/2) $0;\n"
     "rx(-pi/2) $1;\n"},
    {"rzx", GateId::kRZX, "h $1;\ncx $0, $1;\nrz(%0) $1;\ncx $0, $1;\nh $1;\n"},
    // rzx(pi/4), x on the first qubit, rzx(-pi/4).
    {"ecr", GateId::kECR,
     "h $1;\ncx $0, $1;\nrz(pi/4) $1;\ncx $0, $1;\nx $0;\ncx $0, $1;\nrz(-pi/4) $1;\n"
     "cx $0, $1;\nh $1;\n"},
};

}  // namespace

const std::vector<QasmExtensionGate>& QasmExtensionGates() { return kExtensionGates; }

GateArity QasmExtensionArity(const QasmExtensionGate& gate) {
  // Every gate of the table has a gate method (qasm_extension_gates.test.cc).
  return AppendGateArity(gate.id).value_or(GateArity{});
}

const QasmExtensionGate* FindQasmExtensionGate(const std::string& name) {
  for (const QasmExtensionGate& gate : kExtensionGates) {
    if (name == gate.name) return &gate;
  }
  return nullptr;
}

const QasmExtensionGate* FindQasmExtensionGate(GateId id) {
  for (const QasmExtensionGate& gate : kExtensionGates) {
    if (id == gate.id) return &gate;
  }
  return nullptr;
}

}  // namespace taviron
