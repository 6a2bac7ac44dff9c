#include "execution/run_snapshot.h"

#include <map>
#include <unordered_map>
#include <memory>

#include "circuit/quantum_circuit.h"
#include "foundation/condition_register_view.h"

namespace taviron {

namespace {

using RegisterCopies =
    std::map<const ConditionRegisterView*, std::shared_ptr<const ConditionRegisterView>>;
// A record that stands in several places (composites the reader shares) is
// copied once, and the copy stands in the same places.
using RecordCopies = std::unordered_map<const GateRecord*, GateRecordPtr>;

GateRecordList CopyRecords(const GateRecordList& records, RegisterCopies& registers,
                           RecordCopies& copied) {
  GateRecordList copies;
  copies.reserve(records.size());
  for (const GateRecordPtr& record : records) {
    GateRecordPtr& copy = copied[record.get()];
    if (!copy) {
      copy = record->Clone();
      if (!record->body.empty()) copy->body = CopyRecords(record->body, registers, copied);
      if (record->condition_register) {
        // One copy per register, shared by every record that names it.
        std::shared_ptr<const ConditionRegisterView>& shared =
            registers[record->condition_register.get()];
        if (!shared) {
          shared = std::make_shared<ConditionRegisterSnapshot>(*record->condition_register);
        }
        copy->condition_register = shared;
      }
    }
    copies.push_back(copy);
  }
  return copies;
}

RunSnapshot Settings(const QuantumCircuit& circuit) {
  RunSnapshot snapshot;
  snapshot.qubit_count = circuit.num_qubits() + circuit.num_ancillas();
  snapshot.shots = circuit.shots();
  snapshot.quiet = circuit.quiet();
  return snapshot;
}

}  // namespace

RunSnapshot ShareCircuit(const QuantumCircuit& circuit) {
  RunSnapshot snapshot = Settings(circuit);
  snapshot.gates = circuit.gates();
  return snapshot;
}

RunSnapshot CopyCircuit(const QuantumCircuit& circuit) {
  RunSnapshot snapshot = Settings(circuit);
  RegisterCopies registers;
  RecordCopies copied;
  snapshot.gates = CopyRecords(circuit.gates(), registers, copied);
  return snapshot;
}

}  // namespace taviron
