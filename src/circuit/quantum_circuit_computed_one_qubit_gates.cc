// The one-qubit gates whose 2x2 matrix is computed from their arguments:
// the per-gate appenders and the int, list and register forms of each gate
// method. The matrices come from gate_matrices.h.

#include "circuit/quantum_circuit_computed_one_qubit_gates.h"

#include <memory>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/gate_matrices.h"
#include "circuit/gate_table_macros.h"
#include "circuit/quantum_circuit.h"
#include "circuit/qubit_operand_forms.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

// An appender with the circuit and the gate's arguments bound, in the shape
// that the operand forms call: append(qubit, destination, label).
template <class Appender, class... Arguments>
auto BindArguments(QuantumCircuit& circuit, Appender appender,
                   Arguments... arguments) {
  return [&circuit, appender, arguments...](uint64_t qubit,
                                            GateRecordList& destination,
                                            const std::string& label) {
    return appender(circuit, arguments..., qubit, destination, label);
  };
}

}  // namespace

int32_t AppendP(QuantumCircuit& circuit, double theta, uint64_t qubit,
                GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kP, PhaseMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendR(QuantumCircuit& circuit, double theta, double phi, uint64_t qubit,
                GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kR, RMatrix(theta, phi), qubit,
                              {theta, phi}, destination, std::move(label));
}

int32_t AppendRV(QuantumCircuit& circuit, double vx, double vy, double vz,
                 uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kRV, RVMatrix(vx, vy, vz), qubit,
                              {vx, vy, vz}, destination, std::move(label));
}

int32_t AppendRX(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kRX, RXMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendRY(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kRY, RYMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendRZ(QuantumCircuit& circuit, double phi, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kRZ, RZMatrix(phi), qubit, {phi},
                              destination, std::move(label));
}

int32_t AppendU(QuantumCircuit& circuit, double theta, double phi,
                double lambda, uint64_t qubit, GateRecordList& destination,
                std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kU, UMatrix(theta, phi, lambda), qubit,
                              {theta, phi, lambda}, destination,
                              std::move(label));
}

int32_t AppendU0(QuantumCircuit& circuit, double gamma, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kU0, GateMatrixConstants::Get().MatrixI,
                              qubit, {gamma}, destination, std::move(label));
}

int32_t AppendU1(QuantumCircuit& circuit, double lambda, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kU1, PhaseMatrix(lambda), qubit, {lambda},
                              destination, std::move(label));
}

int32_t AppendU2(QuantumCircuit& circuit, double phi, double lambda,
                 uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendOneQubitRecord(circuit, GateId::kU2, U2Matrix(phi, lambda), qubit,
                              {phi, lambda}, destination, std::move(label));
}

int32_t AppendU3(QuantumCircuit& circuit, double theta, double phi,
                 double lambda, uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendU(circuit, theta, phi, lambda, qubit, destination,
                 std::move(label));
}

// method, appender, handle class, (angle parameters), (angle arguments)
#define TAVIRON_COMPUTED_ONE_QUBIT_GATES(X)                                   \
  X(p, AppendP, PhaseGate, (double theta), (theta))                           \
  X(r, AppendR, RGate, (double theta, double phi), (theta, phi))              \
  X(rv, AppendRV, RVGate, (double vx, double vy, double vz), (vx, vy, vz))    \
  X(rx, AppendRX, RXGate, (double theta), (theta))                            \
  X(ry, AppendRY, RYGate, (double theta), (theta))                            \
  X(rz, AppendRZ, RZGate, (double phi), (phi))                                \
  X(u, AppendU, UGate, (double theta, double phi, double lambda),             \
    (theta, phi, lambda))                                                     \
  X(u0, AppendU0, U0Gate, (double gamma), (gamma))                            \
  X(u1, AppendU1, U1Gate, (double lambda), (lambda))                          \
  X(u2, AppendU2, U2Gate, (double phi, double lambda), (phi, lambda))         \
  X(u3, AppendU3, U3Gate, (double theta, double phi, double lambda),          \
    (theta, phi, lambda))

#define TAVIRON_DEFINE_COMPUTED_ONE_QUBIT_GATE(method, appender, Handle,       \
                                               parameters, arguments)          \
  std::unique_ptr<Handle> QuantumCircuit::method(                              \
      TAVIRON_UNPARENTHESIZE parameters, uint64_t qubit, std::string label) {  \
    return ApplyToQubit<Handle>(                                               \
        *this, qubit, std::move(label),                                        \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_list(                       \
      TAVIRON_UNPARENTHESIZE parameters, std::vector<int64_t> qubits,          \
      std::string label) {                                                     \
    return ApplyToQubitList<Handle>(                                           \
        *this, qubits, std::move(label),                                       \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_register(                   \
      TAVIRON_UNPARENTHESIZE parameters, const QuantumRegister& qr,            \
      std::string label) {                                                     \
    return ApplyToRegister<Handle>(                                            \
        *this, qr, std::move(label),                                           \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }

TAVIRON_COMPUTED_ONE_QUBIT_GATES(TAVIRON_DEFINE_COMPUTED_ONE_QUBIT_GATE)

}  // namespace taviron
