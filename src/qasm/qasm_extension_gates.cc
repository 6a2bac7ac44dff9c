#include "qasm/qasm_extension_gates.h"

#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

using Qubits = std::vector<uint64_t>;
using Parameters = std::vector<double>;

// Each definition was derived from the gate's matrix and is checked against
// it numerically (qasm_extension_gates.test.cc). The first qubit is the low
// bit of the matrices, as everywhere in the circuit.
const std::vector<QasmExtensionGate> kExtensionGates = {
    {"r", GateId::kR, 2, 1,
     // R(theta, phi) = U(theta, phi - pi/2, pi/2 - phi).
     "u3(%0, %1 - pi/2, pi/2 - %1) $0;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.r(p[0], p[1], q[0], "") != nullptr; }},
    {"rv", GateId::kRV, 3, 1, nullptr,
     [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rv(p[0], p[1], p[2], q[0], "") != nullptr; }},
    {"cs", GateId::kCS, 0, 2, "cu1(pi/2) $0, $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.cs(q[0], q[1], "") != nullptr; }},
    {"csdg", GateId::kCSdg, 0, 2, "cu1(-pi/2) $0, $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.csdg(q[0], q[1], "") != nullptr; }},
    {"dcx", GateId::kDCX, 0, 2, "cx $0, $1;\ncx $1, $0;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.dcx(q[0], q[1], "") != nullptr; }},
    {"iswap", GateId::kISwap, 0, 2, "s $0;\ns $1;\nh $0;\ncx $0, $1;\ncx $1, $0;\nh $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.iswap(q[0], q[1], "") != nullptr; }},
    {"ryy", GateId::kRYY, 1, 2,
     // YY turned into ZZ on the second qubit's side by x rotations.
     "rx(pi/2) $0;\nrx(pi/2) $1;\ncx $0, $1;\nrz(%0) $1;\ncx $0, $1;\nrx(-pi/2) $0;\n"
     "rx(-pi/2) $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.ryy(p[0], q[0], q[1], "") != nullptr; }},
    {"rzx", GateId::kRZX, 1, 2, "h $1;\ncx $0, $1;\nrz(%0) $1;\ncx $0, $1;\nh $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rzx(p[0], q[0], q[1], "") != nullptr; }},
    {"ecr", GateId::kECR, 0, 2,
     // rzx(pi/4), x on the first qubit, rzx(-pi/4).
     "h $1;\ncx $0, $1;\nrz(pi/4) $1;\ncx $0, $1;\nx $0;\ncx $0, $1;\nrz(-pi/4) $1;\n"
     "cx $0, $1;\nh $1;\n",
     [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.ecr(q[0], q[1], "") != nullptr; }},
};

}  // namespace

const std::vector<QasmExtensionGate>& QasmExtensionGates() { return kExtensionGates; }

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
