// Pauli strings: one composite record holding an x, y or z record for each
// letter of the operator text other than I. The operator is read from its
// first letter while the qubit list is walked from its end, so the last
// letter acts on the first listed qubit.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/composite_record.h"
#include "circuit/decomposition_steps.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// A letter of a Pauli string: its text in the record and the appender of its
// body record (none for the identity).
struct PauliLetter {
  char upper;
  const char* text;
  OneQubitAppender appender;
};

constexpr PauliLetter kPauliLetters[] = {
    {'I', "I", nullptr},
    {'X', "X", AppendX},
    {'Y', "Y", AppendY},
    {'Z', "Z", AppendZ},
};

// The letter that `c` names in either case, or nullptr.
const PauliLetter* FindPauliLetter(char c) {
  const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  for (const PauliLetter& letter : kPauliLetters) {
    if (letter.upper == upper) return &letter;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<PAULIGate> QuantumCircuit::pauli(
    std::vector<int64_t> qubit_list, const std::string& pauli_operator,
    std::string label) {
  const size_t count = qubit_list.size();
  if (count != pauli_operator.size()) {
    throw RunTimeError("Invalid Parameter passed to the gate instruction.");
  }
  GateRecordPtr composite = NewCompositeRecord(label, "Pauli");
  for (size_t k = 0; k < count; ++k) {
    const int64_t item = qubit_list[count - 1 - k];
    if (item < 0 || static_cast<uint64_t>(item) >= total_qubits_) {
      throw RunTimeError("Invalid Parameter passed to the gate instruction.");
    }
    const uint64_t qubit = static_cast<uint64_t>(item);
    composite->qubits.push_back(qubit);
    active_qubits_[qubit] = 1;
    const PauliLetter* letter = FindPauliLetter(pauli_operator[k]);
    if (letter == nullptr) {
      throw RunTimeError("Invalid Pauli operator: " + pauli_operator);
    }
    composite->texts.push_back(letter->text);
    if (letter->appender != nullptr) {
      letter->appender(*this, qubit, composite->body, label);
    }
  }
  return AppendCompositeWithHandle<PAULIGate>(*this, std::move(composite),
                                              std::move(label));
}

}  // namespace taviron
