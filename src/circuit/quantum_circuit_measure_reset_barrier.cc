// Measurement, reset and barrier. Their records carry no matrix and no
// parameters, are built here rather than by the append core, and mark no
// qubit active.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "circuit/record_memory_limit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// Appends a record of one of the three kinds at the end of `gates`.
GateRecordPtr AppendPlainRecord(GateRecordList& gates, GateId gate_type,
                                uint64_t qubit, std::string label) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = gate_type;
  record->label = std::move(label);
  record->qubits.push_back(qubit);
  gates.push_back(std::move(record));
  return gates.back();
}

// Refuses a list form whose records could not all be held, before any is
// appended: one record of one qubit per item.
void EnsurePlainRecordsFit(const char* operation, const std::vector<int64_t>& items,
                           const std::string& label) {
  EnsureRecordsFitInMemory(
      std::string(operation) + " over a list of " + std::to_string(items.size()) + " qubits",
      items.size(), RecordShape{0, 1, 0, label.size()});
}

// Appends a measure record after checking both indices against the
// circuit's qubit count (the classical bit too: every shot keeps one
// classical value per qubit).
GateRecordPtr AppendMeasureRecord(QuantumCircuit& circuit, uint64_t qubit,
                                  uint64_t classical_bit, std::string label) {
  if (qubit > circuit.total_qubits() - 1 ||
      classical_bit > circuit.total_qubits() - 1) {
    throw RunTimeError("Invalid Parameter passed to the gate instruction.");
  }
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kMeasure;
  record->label = std::move(label);
  record->qubits.push_back(qubit);
  record->clbits.push_back(classical_bit);
  circuit.mutable_gates().push_back(std::move(record));
  return circuit.gates().back();
}

// Measures qubit i into classical bit i for every qubit that `include`
// accepts, in ascending order.
template <class Include>
std::unique_ptr<MeasGate> MeasureEach(QuantumCircuit& circuit,
                                      std::string label, Include include) {
  auto handle = circuit.NewHandle<MeasGate>(label);
  for (uint64_t qubit = 0; qubit < circuit.total_qubits(); ++qubit) {
    if (!include(qubit)) continue;
    handle->records.push_back(
        AppendMeasureRecord(circuit, qubit, qubit, label));
  }
  return handle;
}

}  // namespace

std::unique_ptr<MeasGate> QuantumCircuit::measure(uint64_t qubit,
                                                  uint64_t classical_bit,
                                                  std::string label) {
  GateRecordPtr record = AppendMeasureRecord(*this, qubit, classical_bit, label);
  auto handle = NewHandle<MeasGate>(std::move(label));
  handle->records.push_back(record);
  return handle;
}

std::unique_ptr<MeasGate> QuantumCircuit::measure_qubit(uint64_t qubit,
                                                        std::string label) {
  return measure(qubit, qubit, std::move(label));
}

std::unique_ptr<MeasGate> QuantumCircuit::measure_all(std::string label) {
  return MeasureEach(*this, std::move(label), [](uint64_t) { return true; });
}

std::unique_ptr<MeasGate> QuantumCircuit::measure_active(std::string label) {
  return MeasureEach(*this, std::move(label), [this](uint64_t qubit) {
    return active_qubits_[qubit] == 1;
  });
}

std::unique_ptr<ResetGate> QuantumCircuit::reset(uint64_t qubit,
                                                 std::string label) {
  if (qubit > total_qubits_ - 1) return nullptr;
  GateRecordPtr record = AppendPlainRecord(gates_, GateId::kReset, qubit, label);
  auto handle = NewHandle<ResetGate>(std::move(label));
  handle->records.push_back(record);
  return handle;
}

std::unique_ptr<ResetGate> QuantumCircuit::reset_list(
    std::vector<int64_t> qubit_list, std::string label) {
  EnsurePlainRecordsFit("A reset", qubit_list, label);
  auto handle = NewHandle<ResetGate>(label);
  for (int64_t item : qubit_list) {
    const auto qubit = static_cast<uint64_t>(item);
    if (qubit > total_qubits_ - 1) continue;
    handle->records.push_back(
        AppendPlainRecord(gates_, GateId::kReset, qubit, label));
  }
  return handle;
}

int32_t QuantumCircuit::barrier(std::string label) {
  int32_t status = BarrierNothingAppended;
  for (uint64_t qubit = 0; qubit < total_qubits_; ++qubit) {
    AppendPlainRecord(gates_, GateId::kBarrier, qubit, label);
    status = 0;
  }
  return status;
}

int32_t QuantumCircuit::barrier_list(std::vector<int64_t> qubit_list,
                                     std::string label) {
  EnsurePlainRecordsFit("A barrier", qubit_list, label);
  int32_t status = BarrierNothingAppended;
  for (int64_t item : qubit_list) {
    if (item < 0 || static_cast<uint64_t>(item) > total_qubits_ - 1) break;
    AppendPlainRecord(gates_, GateId::kBarrier, static_cast<uint64_t>(item), label);
    status = 0;
  }
  return status;
}

}  // namespace taviron
