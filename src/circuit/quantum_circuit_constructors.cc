// The four QuantumCircuit constructors and the destructor.

#include <stdexcept>
#include <type_traits>
#include <utility>

#include "circuit/quantum_circuit.h"

namespace taviron {

int32_t CircuitNameCounter = 0;

namespace {

constexpr uint64_t kMaxQubits = 100;

const char kInvalidQubitCount[] = "Invalid number of qubits passed.";
const char kInvalidClbitCount[] = "Invalid number of classical bits passed.";

// A qubit count, refused with std::range_error outside 1..kMaxQubits: a
// circuit of another size than the one asked for would surprise every later
// index.
uint64_t CheckedQubitCount(uint64_t count) {
  if (count < 1 || count > kMaxQubits) {
    throw std::range_error(kInvalidQubitCount);
  }
  return count;
}

// The given name, or the next default name "circuit_<n>".
std::string CircuitName(std::string name) {
  if (!name.empty()) return name;
  std::string default_name = "circuit_" + std::to_string(CircuitNameCounter);
  CircuitNameCounter = WrappingAdd32(CircuitNameCounter, 1);
  return default_name;
}

// Whether a constructor argument names a register object.
bool IsRegister(const RegisterArgument& arg) {
  return std::visit(
      [](auto held) {
        if constexpr (std::is_pointer_v<decltype(held)>) {
          return held != nullptr;
        } else {
          return false;
        }
      },
      arg);
}

// Register sizes summed in 64 bits, so that no total can wrap. A negative
// size is refused: it could otherwise shrink the circuit's qubit count.
struct RegisterTotals {
  int64_t qubits = 0;
  int64_t clbits = 0;
  bool negative_qubit_register = false;
  bool negative_clbit_register = false;

  void AddQubits(int32_t size) {
    negative_qubit_register |= size < 0;
    qubits += size;
  }
  void AddClbits(int32_t size) {
    negative_clbit_register |= size < 0;
    clbits += size;
  }
  // Throws std::range_error unless the totals make a valid circuit.
  void Check() const {
    if (negative_qubit_register || qubits < 1 ||
        qubits > static_cast<int64_t>(kMaxQubits)) {
      throw std::range_error(kInvalidQubitCount);
    }
    if (negative_clbit_register) throw std::range_error(kInvalidClbitCount);
  }
};

}  // namespace

QuantumCircuit::QuantumCircuit(uint64_t num_qubits, uint64_t num_cbits,
                               std::string name, double global_phase) {
  num_qubits = CheckedQubitCount(num_qubits);
  if (num_cbits > num_qubits) throw std::range_error(kInvalidClbitCount);
  total_qubits_ = num_qubits;
  clbit_slots_.assign(num_cbits, -1);
  active_qubits_.assign(num_qubits, 0);
  const int32_t size = static_cast<int32_t>(num_qubits);
  quantum_registers_.push_back(std::make_shared<QuantumRegister>(size, ""));
  classical_registers_.push_back(std::make_shared<ClassicalRegister>(size, ""));
  global_phase_ = global_phase;
  name_ = CircuitName(std::move(name));
  SetupRegisters();
}

QuantumCircuit::QuantumCircuit(uint64_t num_qubits, std::string name,
                               double global_phase)
    : QuantumCircuit(CheckedQubitCount(num_qubits), num_qubits,
                     std::move(name), global_phase) {}

QuantumCircuit::QuantumCircuit(const std::vector<RegisterArgument>& args,
                               std::string name, double global_phase) {
  RegisterTotals totals;
  for (const RegisterArgument& arg : args) {
    if (!IsRegister(arg)) {
      throw std::invalid_argument("Invalid argument passed to constructor.");
    }
    if (auto* reg = std::get_if<QuantumRegister*>(&arg)) {
      quantum_registers_.push_back(std::make_shared<QuantumRegister>(**reg));
      totals.AddQubits((*reg)->size);
    } else if (auto* reg = std::get_if<AncillaRegister*>(&arg)) {
      ancilla_registers_.push_back(std::make_shared<AncillaRegister>(**reg));
      totals.AddQubits((*reg)->size);
    } else if (auto* reg = std::get_if<ClassicalRegister*>(&arg)) {
      classical_registers_.push_back(std::make_shared<ClassicalRegister>(**reg));
      totals.AddClbits((*reg)->size);
    }
  }
  totals.Check();
  if (totals.clbits < totals.qubits) {
    const auto missing = static_cast<int32_t>(totals.qubits - totals.clbits);
    classical_registers_.push_back(
        std::make_shared<ClassicalRegister>(missing, ""));
  }
  total_qubits_ = static_cast<uint64_t>(totals.qubits);
  clbit_slots_.assign(total_qubits_, -1);
  active_qubits_.assign(total_qubits_, 0);
  global_phase_ = global_phase;
  name_ = CircuitName(std::move(name));
  SetupRegisters();

  // Write the circuit's first indices and default names back into the
  // caller's objects: the k-th argument of a kind gets the k-th copy.
  size_t quantum = 0, ancilla = 0, classical = 0;
  for (const RegisterArgument& arg : args) {
    if (auto* reg = std::get_if<QuantumRegister*>(&arg)) {
      **reg = *quantum_registers_[quantum++];
    } else if (auto* reg = std::get_if<AncillaRegister*>(&arg)) {
      **reg = *ancilla_registers_[ancilla++];
    } else if (auto* reg = std::get_if<ClassicalRegister*>(&arg)) {
      **reg = *classical_registers_[classical++];
    }
  }
}

QuantumCircuit::QuantumCircuit(
    const std::vector<std::shared_ptr<QuantumRegister>>& quantum,
    const std::vector<std::shared_ptr<AncillaRegister>>& ancilla,
    std::vector<std::shared_ptr<ClassicalRegister>>& classical,
    std::string name, double global_phase) {
  RegisterTotals totals;
  for (const auto& reg : quantum) totals.AddQubits(reg->size);
  for (const auto& reg : ancilla) totals.AddQubits(reg->size);
  for (const auto& reg : classical) totals.AddClbits(reg->size);
  totals.Check();
  if (totals.clbits < totals.qubits) {
    const auto missing = static_cast<int32_t>(totals.qubits - totals.clbits);
    classical.push_back(std::make_shared<ClassicalRegister>(missing, ""));
  }
  total_qubits_ = static_cast<uint64_t>(totals.qubits);
  clbit_slots_.assign(total_qubits_, -1);
  active_qubits_.assign(total_qubits_, 0);
  quantum_registers_ = quantum;
  ancilla_registers_ = ancilla;
  classical_registers_ = classical;
  global_phase_ = global_phase;
  name_ = CircuitName(std::move(name));
  SetupRegisters();
}

QuantumCircuit::~QuantumCircuit() { clear(); }

}  // namespace taviron
