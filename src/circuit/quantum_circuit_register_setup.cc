// Register set-up: first indices, default names, the duplicate-name check,
// the counts, and the re-basing of the process-wide index counters.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "circuit/circuit_condition_targets.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

constexpr int32_t kQuantumKind = 0;
constexpr int32_t kAncillaKind = 1;
constexpr int32_t kClassicalKind = 2;

// Gives an unnamed register the name letter + counter and advances the
// counter.
template <class Register>
void NameIfUnnamed(Register& reg, char letter, int32_t& name_counter) {
  if (!reg.name.empty()) return;
  reg.name = letter + std::to_string(name_counter);
  name_counter = WrappingAdd32(name_counter, 1);
}

// Whether any register of `registers` other than the one at 1-based
// `skip_position` bears `name` (skip_position 0 skips none).
template <class Register>
bool AnyNamed(const std::vector<std::shared_ptr<Register>>& registers,
              const std::string& name, uint64_t skip_position) {
  for (size_t k = 0; k < registers.size(); ++k) {
    if (k + 1 != skip_position && registers[k]->name == name) return true;
  }
  return false;
}

// How many registers bear each name, kept up to date as unnamed registers
// get their default names; a hash map, so that a circuit of many registers
// is checked in time linear in their number.
class RegisterNameCounts {
 public:
  template <class... Lists>
  explicit RegisterNameCounts(const Lists&... lists) {
    (AddAll(lists), ...);
  }
  // Names `reg` if it is unnamed, as NameIfUnnamed does, and tells whether
  // another register bears its name.
  template <class Register>
  bool NameAndCheck(Register& reg, char letter, int32_t& name_counter) {
    if (reg.name.empty()) {
      --counts_[""];
      NameIfUnnamed(reg, letter, name_counter);
      ++counts_[reg.name];
    }
    return counts_[reg.name] > 1;
  }

 private:
  template <class List>
  void AddAll(const List& list) {
    for (const auto& reg : list) ++counts_[reg->name];
  }
  std::unordered_map<std::string, int64_t> counts_;
};

}  // namespace

void QuantumCircuit::SetupRegisters() {
  RegisterNameCounts names(quantum_registers_, ancilla_registers_, classical_registers_);
  num_qubits_ = 0;
  num_ancillas_ = 0;

  int32_t offset = 0;
  for (const auto& reg : quantum_registers_) {
    QuantumRegisterCounter = offset;
    num_qubits_ += static_cast<uint64_t>(static_cast<int64_t>(reg->size));
    reg->first_index = offset;
    if (names.NameAndCheck(*reg, 'q', QuantumRegisterNameCounter)) {
      throw RunTimeError(reg->name + " Register name already defined.");
    }
    offset = WrappingAdd32(QuantumRegisterCounter, reg->size);
  }
  QuantumRegisterCounter = offset;

  AncillaRegisterCounter = 0;
  for (const auto& reg : ancilla_registers_) {
    num_ancillas_ += static_cast<uint64_t>(static_cast<int64_t>(reg->size));
    reg->first_index =
        WrappingAdd32(AncillaRegisterCounter, QuantumRegisterCounter);
    if (names.NameAndCheck(*reg, 'a', AncillaRegisterNameCounter)) {
      throw RunTimeError(reg->name + " Register name already defined.");
    }
    AncillaRegisterCounter = WrappingAdd32(AncillaRegisterCounter, reg->size);
  }

  ClassicalRegisterCounter = 0;
  for (const auto& reg : classical_registers_) {
    reg->first_index = ClassicalRegisterCounter;
    if (names.NameAndCheck(*reg, 'c', ClassicalRegisterNameCounter)) {
      throw RunTimeError(reg->name + " Register name already defined.");
    }
    ClassicalRegisterCounter =
        WrappingAdd32(ClassicalRegisterCounter, reg->size);
  }

  num_clbits_ = clbit_slots_.size();
  clbit_slots_.assign(clbit_slots_.size(), -1);
  condition_targets_ = std::make_shared<CircuitConditionTargets>(classical_registers_);
}

bool QuantumCircuit::IsRegisterNameUsed(const std::string& name,
                                        uint64_t position,
                                        int32_t kind) const {
  return AnyNamed(quantum_registers_, name,
                  kind == kQuantumKind ? position : 0) ||
         AnyNamed(ancilla_registers_, name,
                  kind == kAncillaKind ? position : 0) ||
         AnyNamed(classical_registers_, name,
                  kind == kClassicalKind ? position : 0);
}

}  // namespace taviron
