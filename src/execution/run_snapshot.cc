#include "execution/run_snapshot.h"

#include <map>
#include <memory>

#include "circuit/quantum_circuit.h"
#include "circuit/registers.h"

namespace taviron {

namespace {

using RegisterCopies = std::map<const ClassicalRegister*, std::shared_ptr<ClassicalRegister>>;

GateRecordList CopyRecords(const GateRecordList& records, RegisterCopies& registers) {
  GateRecordList copies;
  copies.reserve(records.size());
  for (const GateRecordPtr& record : records) {
    GateRecordPtr copy = record->Clone();
    if (!record->body.empty()) copy->body = CopyRecords(record->body, registers);
    if (record->condition_register) {
      // One copy per register, shared by every record that names it.
      std::shared_ptr<ClassicalRegister>& shared = registers[record->condition_register.get()];
      if (!shared) shared = std::make_shared<ClassicalRegister>(*record->condition_register);
      copy->condition_register = shared;
    }
    copies.push_back(std::move(copy));
  }
  return copies;
}

RunSnapshot Settings(const QuantumCircuit& circuit) {
  RunSnapshot snapshot;
  snapshot.qubit_count = circuit.num_qubits + circuit.num_ancillas;
  snapshot.shots = circuit.shots;
  snapshot.quiet = circuit.quiet;
  return snapshot;
}

}  // namespace

RunSnapshot ShareCircuit(const QuantumCircuit& circuit) {
  RunSnapshot snapshot = Settings(circuit);
  snapshot.gates = circuit.gates;
  return snapshot;
}

RunSnapshot CopyCircuit(const QuantumCircuit& circuit) {
  RunSnapshot snapshot = Settings(circuit);
  RegisterCopies registers;
  snapshot.gates = CopyRecords(circuit.gates, registers);
  return snapshot;
}

}  // namespace taviron
