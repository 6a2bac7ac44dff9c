// The one-qubit gates whose matrix is a constant: their per-gate appenders
// and their int, list and register forms, all generated from one table.

#include <utility>

#include "circuit/append_core.h"
#include "circuit/quantum_circuit.h"
#include "circuit/qubit_operand_forms.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

// method, appender, gate id (GateId), constant matrix, handle class
#define TAVIRON_CONSTANT_ONE_QUBIT_GATES(X) \
  X(h, AppendH, kH, MatrixH, HGate)          \
  X(x, AppendX, kX, MatrixX, XGate)          \
  X(i, AppendI, kI, MatrixI, IGate)          \
  X(t, AppendT, kT, MatrixT, TGate)          \
  X(s, AppendS, kS, MatrixS, SGate)          \
  X(tdg, AppendTdg, kTdg, MatrixTdg, TdgGate)  \
  X(sdg, AppendSdg, kSdg, MatrixSdg, SdgGate)  \
  X(sx, AppendSX, kSX, MatrixSX, SXGate)      \
  X(sxdg, AppendSXdg, kSXdg, MatrixSXdg, SXdgGate) \
  X(y, AppendY, kY, MatrixY, YGate)         \
  X(z, AppendZ, kZ, MatrixZ, ZGate)

#define TAVIRON_DEFINE_CONSTANT_ONE_QUBIT_GATE(method, appender, type_id,      \
                                               matrix, Handle)                 \
  int32_t appender(QuantumCircuit& circuit, uint64_t qubit,                    \
                   GateRecordList& destination, std::string label) {           \
    return AppendOneQubitRecord(circuit, GateId::type_id,                              \
                                GateMatrixConstants::Get().matrix, qubit, {},  \
                                destination, std::move(label));                \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method(uint64_t qubit,               \
                                                 std::string label) {          \
    return ApplyToQubit<Handle>(*this, qubit, std::move(label),                \
                                BindCircuit(*this, appender));                 \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_list(                       \
      std::vector<int64_t> qubits, std::string label) {                        \
    return ApplyToQubitList<Handle>(*this, qubits, std::move(label),           \
                                    BindCircuit(*this, appender));             \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_register(                   \
      const QuantumRegister& qr, std::string label) {                          \
    return ApplyToRegister<Handle>(*this, qr, std::move(label),                \
                                   BindCircuit(*this, appender));              \
  }

namespace {

// An appender with its circuit bound, in the shape the operand forms call.
auto BindCircuit(QuantumCircuit& circuit, OneQubitAppender appender) {
  return [&circuit, appender](uint64_t qubit, GateRecordList& destination,
                              const std::string& label) {
    return appender(circuit, qubit, destination, label);
  };
}

}  // namespace

TAVIRON_CONSTANT_ONE_QUBIT_GATES(TAVIRON_DEFINE_CONSTANT_ONE_QUBIT_GATE)

}  // namespace taviron
