#ifndef TAVIRON_CIRCUIT_QUBIT_OPERAND_FORMS_H
#define TAVIRON_CIRCUIT_QUBIT_OPERAND_FORMS_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "circuit/record_memory_limit.h"
#include "circuit/registers.h"

namespace taviron {

// The three operand forms shared by every gate method that acts on one qubit
// at a time. `append` is called as append(qubit, gates, label) and appends
// one record at the end of `gates` (a per-gate appender with its angles
// bound). A handle under construction is owned here, so a call that throws
// half-way leaks nothing; the records appended before the failure stay.

// Int form: one qubit; the handle is made only after the append succeeded.
template <class Handle, class Append>
std::unique_ptr<Handle> ApplyToQubit(QuantumCircuit& circuit, uint64_t qubit,
                                     std::string label, Append append) {
  append(qubit, circuit.mutable_gates(), label);
  auto handle = circuit.template NewHandle<Handle>(std::move(label));
  handle->records.push_back(circuit.gates().back());
  return handle;
}

// List form: one record per item, in list order; a negative item is taken
// as an unsigned index and so fails the range check. A list whose records
// could not all be held is refused before any is appended.
template <class Handle, class Append>
std::unique_ptr<Handle> ApplyToQubitList(QuantumCircuit& circuit,
                                         const std::vector<int64_t>& qubits,
                                         std::string label, Append append) {
  EnsureRecordsFitInMemory(
      "A gate over a list of " + std::to_string(qubits.size()) + " qubits", qubits.size(),
      RecordShape{2, 1, 3, label.size()});
  auto handle = circuit.template NewHandle<Handle>(label);
  handle->records.reserve(qubits.size());
  for (int64_t item : qubits) {
    append(static_cast<uint64_t>(item), circuit.mutable_gates(), label);
    handle->records.push_back(circuit.gates().back());
  }
  return handle;
}

// Register form: one record per qubit of the register, ascending. Computed
// in signed 64 bits, so a size of 0 or less gives an empty handle and a
// negative first index fails the range check like a negative list item.
template <class Handle, class Append>
std::unique_ptr<Handle> ApplyToRegister(QuantumCircuit& circuit,
                                        const QuantumRegister& qr,
                                        std::string label, Append append) {
  auto handle = circuit.template NewHandle<Handle>(label);
  const int64_t first = qr.first_index;
  const int64_t end = first + static_cast<int64_t>(qr.size);
  for (int64_t qubit = first; qubit < end; ++qubit) {
    append(static_cast<uint64_t>(qubit), circuit.mutable_gates(), label);
    handle->records.push_back(circuit.gates().back());
  }
  return handle;
}

}  // namespace taviron

#endif
