// Emptying and counting the instruction list, and the lookups between global
// indices and (register name, local index) pairs.

#include <memory>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// The register of `registers` whose range [first_index, first_index + size)
// holds `index`, as (local index, name); false when none does.
template <class Register>
bool FindHolder(const std::vector<std::shared_ptr<Register>>& registers,
                int64_t index, std::pair<int64_t, std::string>& found) {
  for (const auto& reg : registers) {
    const int64_t first = reg->first_index;
    if (index >= first && index < first + reg->size) {
      found = {index - first, reg->name};
      return true;
    }
  }
  return false;
}

// The quantum or ancilla register named `name`, or nullptr.
template <class Register>
const Register* FindNamed(
    const std::vector<std::shared_ptr<Register>>& registers,
    const std::string& name) {
  for (const auto& reg : registers) {
    if (reg->name == name) return reg.get();
  }
  return nullptr;
}

}  // namespace

void QuantumCircuit::clear() {
  for (const GateRecordPtr& record : gates_) {
    record->clbits.clear();
    MatrixXcd().swap(record->matrix);
    record->label.clear();
    record->qubits.clear();
  }
  gates_.clear();
  composite_index_.Reset();
}

int32_t QuantumCircuit::size() const {
  int32_t count = 0;
  for (const GateRecordPtr& record : gates_) {
    if (!IsBarrier(record->gate_type)) {
      count = WrappingAdd32(count, 1);
    }
  }
  return count;
}

std::pair<int64_t, std::string> QuantumCircuit::FindQubitRegister(
    int64_t index) const {
  std::pair<int64_t, std::string> found;
  if (FindHolder(quantum_registers_, index, found) ||
      FindHolder(ancilla_registers_, index, found)) {
    return found;
  }
  throw RunTimeError("Invalid Qubit Index: " + std::to_string(index));
}

std::pair<int64_t, std::string> QuantumCircuit::FindClbitRegister(
    int64_t index) const {
  std::pair<int64_t, std::string> found;
  if (FindHolder(classical_registers_, index, found)) return found;
  throw RunTimeError("Invalid Classical Bit Index: " + std::to_string(index));
}

int64_t QuantumCircuit::GetQubitIndex(const std::string& register_name,
                                      uint64_t local_index) const {
  int32_t first_index = 0;
  if (const auto* reg = FindNamed(quantum_registers_, register_name)) {
    first_index = reg->first_index;
  } else if (const auto* reg = FindNamed(ancilla_registers_, register_name)) {
    first_index = reg->first_index;
  } else {
    return -1;
  }
  // The local index is not bounded by the register; the sum wraps rather
  // than overflow.
  return static_cast<int64_t>(
      static_cast<uint64_t>(static_cast<int64_t>(first_index)) + local_index);
}

int64_t QuantumCircuit::GetRegisterSize(const std::string& register_name) const {
  if (const auto* reg = FindNamed(quantum_registers_, register_name)) {
    return reg->size;
  }
  if (const auto* reg = FindNamed(ancilla_registers_, register_name)) {
    return reg->size;
  }
  return -1;
}

}  // namespace taviron
