// The two-qubit gate methods and the cx and cu1 appenders. Every matrix is
// 4x4 over the basis index 2 * (second qubit) + (first qubit): the first
// qubit argument, the control of a controlled gate, is the low bit. The
// computed matrices come from gate_matrices.h.

#include <memory>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/gate_matrices.h"
#include "circuit/gate_table_macros.h"
#include "circuit/quantum_circuit.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

const GateMatrixConstants& Constants() { return GateMatrixConstants::Get(); }

// A new handle of class Handle with `label`, holding the record just
// appended to the circuit's gates.
template <class Handle>
std::unique_ptr<Handle> HandleOfLastGate(const QuantumCircuit& circuit,
                                         std::string label) {
  auto handle = circuit.NewHandle<Handle>(std::move(label));
  handle->records.push_back(circuit.gates().back());
  return handle;
}

}  // namespace

int32_t AppendCX(QuantumCircuit& circuit, uint64_t control_qubit,
                 uint64_t target_qubit, GateRecordList& destination,
                 std::string label) {
  return AppendTwoQubitRecord(circuit, GateId::kCX, Constants().MatrixCX, control_qubit,
                              target_qubit, {}, destination, std::move(label));
}

int32_t AppendCU1(QuantumCircuit& circuit, double angle,
                  uint64_t control_qubit, uint64_t target_qubit,
                  GateRecordList& destination, std::string label) {
  // The angle itself, not its phase, sits in (3,3); the simulator applies
  // e^(i angle) to the both-ones component.
  return AppendTwoQubitRecord(circuit, GateId::kCU1, CU1Matrix(angle), control_qubit,
                              target_qubit, {angle}, destination,
                              std::move(label));
}

std::unique_ptr<CXGate> QuantumCircuit::cx(uint64_t control_qubit,
                                           uint64_t target_qubit,
                                           std::string label) {
  AppendCX(*this, control_qubit, target_qubit, gates_, label);
  return HandleOfLastGate<CXGate>(*this, std::move(label));
}

std::unique_ptr<CU1Gate> QuantumCircuit::cu1(double theta,
                                             uint64_t control_qubit,
                                             uint64_t target_qubit,
                                             std::string label) {
  AppendCU1(*this, theta, control_qubit, target_qubit, gates_, label);
  return HandleOfLastGate<CU1Gate>(*this, std::move(label));
}

// method, gate id (GateId), handle class, (angle parameters, each followed by a
// comma), (angle arguments: the record's params), matrix. Each method appends
// one record on (first, second) to the circuit's gates.
#define TAVIRON_TWO_QUBIT_GATES(X)                                             \
  X(cnot, kCX, CXGate, (), (), Constants().MatrixCX)                            \
  X(cy, kCY, CYGate, (), (), Constants().MatrixCY)                              \
  X(cz, kCZ, CZGate, (), (), Constants().MatrixCZ)                              \
  X(ch, kCH, CHGate, (), (), Constants().MatrixCH)                              \
  X(cs, kCS, CSGate, (), (), Constants().MatrixCS)                              \
  X(csdg, kCSdg, CSdgGate, (), (), Constants().MatrixCSdg)                        \
  X(csx, kCSX, CSXGate, (), (), Constants().MatrixCSX)                           \
  X(dcx, kDCX, DCXGate, (), (), Constants().MatrixDCX)                           \
  X(ecr, kECR, ECRGate, (), (), ECRMatrix())                                     \
  X(iswap, kISwap, ISWAPGate, (), (), Constants().MatrixISWAP)                     \
  X(swap, kSwap, SWAPGate, (), (), Constants().MatrixSWAP)                        \
  X(cp, kCP, CPGate, (double theta, ), (theta), CPMatrix(theta))                \
  X(crx, kCRX, CRXGate, (double theta, ), (theta), CRXMatrix(theta))             \
  X(cry, kCRY, CRYGate, (double theta, ), (theta), CRYMatrix(theta))             \
  X(crz, kCRZ, CRZGate, (double theta, ), (theta), CRZMatrix(theta))             \
  X(rxx, kRXX, RXXGate, (double theta, ), (theta), RXXMatrix(theta))             \
  X(ryy, kRYY, RYYGate, (double theta, ), (theta), RYYMatrix(theta))             \
  X(rzx, kRZX, RZXGate, (double theta, ), (theta), RZXMatrix(theta))             \
  X(rzz, kRZZ, RZZGate, (double theta, ), (theta), RZZMatrix(theta))             \
  X(cu, kCU, CUGate,                                                            \
    (double theta, double phi, double lambda, double gamma, ),                 \
    (theta, phi, lambda, gamma), CUMatrix(theta, phi, lambda, gamma))          \
  X(cu3, kCU3, CU3Gate, (double theta, double phi, double lambda, ),             \
    (theta, phi, lambda), CU3Matrix(theta, phi, lambda))

#define TAVIRON_DEFINE_TWO_QUBIT_GATE(method, type_id, Handle, parameters,    \
                                      arguments, matrix)                      \
  std::unique_ptr<Handle> QuantumCircuit::method(                             \
      TAVIRON_UNPARENTHESIZE parameters uint64_t first, uint64_t second,      \
      std::string label) {                                                    \
    AppendTwoQubitRecord(*this, GateId::type_id, matrix, first, second,               \
                         {TAVIRON_UNPARENTHESIZE arguments}, gates_, label);   \
    return HandleOfLastGate<Handle>(*this, std::move(label));                 \
  }
TAVIRON_TWO_QUBIT_GATES(TAVIRON_DEFINE_TWO_QUBIT_GATE)
#undef TAVIRON_DEFINE_TWO_QUBIT_GATE

}  // namespace taviron
