// The append core: every one- and two-qubit gate record enters a circuit
// here.

#include "circuit/append_core.h"

#include <memory>
#include <utility>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

void CheckQubit(const QuantumCircuit& circuit, uint64_t qubit) {
  if (qubit > circuit.total_qubits() - 1) {
    throw RunTimeError("Invalid Parameter passed to the gate instruction.");
  }
}

GateRecordPtr NewRecord(GateId gate_type, const MatrixXcd& matrix,
                        const std::vector<double>& params, std::string label) {
  auto record = std::make_shared<GateRecord>();
  record->matrix = matrix;
  record->gate_type = gate_type;
  record->label = std::move(label);
  record->params = params;
  return record;
}

}  // namespace

int32_t AppendOneQubitRecord(QuantumCircuit& circuit, GateId gate_type,
                             const MatrixXcd& matrix, uint64_t qubit,
                             const std::vector<double>& params,
                             GateRecordList& destination, std::string label) {
  CheckQubit(circuit, qubit);
  GateRecordPtr record = NewRecord(gate_type, matrix, params, std::move(label));
  record->qubits.push_back(qubit);
  // Everything that can fail is done before the circuit changes.
  destination.push_back(std::move(record));
  circuit.MarkQubitActive(qubit);
  return 0;
}

int32_t AppendTwoQubitRecord(QuantumCircuit& circuit, GateId gate_type,
                             const MatrixXcd& matrix, uint64_t first_qubit,
                             uint64_t second_qubit,
                             const std::vector<double>& params,
                             GateRecordList& destination, std::string label) {
  if (first_qubit == second_qubit) {
    throw RunTimeError("Invalid Parameter passed to the gate instruction.");
  }
  CheckQubit(circuit, first_qubit);
  CheckQubit(circuit, second_qubit);
  GateRecordPtr record = NewRecord(gate_type, matrix, params, std::move(label));
  record->qubits = {first_qubit, second_qubit};
  destination.push_back(std::move(record));
  circuit.MarkQubitActive(first_qubit);
  circuit.MarkQubitActive(second_qubit);
  return 0;
}

}  // namespace taviron
