#include "qasm/qasm_writer.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_id.h"
#include "foundation/gate_record.h"
#include "qasm/qasm_definitions.h"
#include "qasm/qasm_names.h"
#include "qasm/qasm_record_text.h"

namespace taviron {

namespace {

// The name each register of the circuit is written under: its own where
// that is a declarable OpenQASM name not taken by an earlier register,
// else a free name made from it (as for composites), so that nothing in a
// name can become part of a statement. Registers are keyed by name, which
// the circuit keeps unique.
class RegisterNames {
 public:
  RegisterNames(const QuantumCircuit& circuit, QasmNameAllocator& names) {
    std::vector<std::pair<std::string, char>> registers;
    for (const auto& reg : circuit.quantum_registers()) registers.emplace_back(reg->name, 'q');
    for (const auto& reg : circuit.ancilla_registers()) registers.emplace_back(reg->name, 'q');
    for (const auto& reg : circuit.classical_registers()) registers.emplace_back(reg->name, 'c');
    // Valid names first, so that no renamed register takes a later one's.
    for (const auto& reg : registers) names.Want(reg.first);
    for (const auto& reg : registers) {
      if (names.Claim(reg.first)) written_.emplace(reg.first, reg.first);
    }
    for (const auto& reg : registers) {
      if (written_.count(reg.first) == 0) {
        written_.emplace(reg.first, names.Give(reg.first, reg.second));
      }
    }
  }

  // The written name of the circuit's register named `name`; throws for a
  // name no register of the circuit has (a condition on another circuit's
  // register).
  const std::string& Of(const std::string& name) const {
    const auto found = written_.find(name);
    if (found == written_.end()) {
      throw RunTimeError("A condition names a classical register that the circuit does not "
                         "hold, which OpenQASM can't express.");
    }
    return found->second;
  }

 private:
  std::unordered_map<std::string, std::string> written_;
};

class Writer {
 public:
  Writer(const std::vector<std::string>& standard_names, const QuantumCircuit& circuit)
      : standard_names_(standard_names),
        circuit_(circuit),
        registers_(circuit, names_),
        definitions_(standard_names, circuit, names_) {}

  std::string Text() const {
    std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n";
    text += "\n// Register definitions\n";
    for (const auto& reg : circuit_.quantum_registers()) text += Declaration("qreg ", *reg);
    for (const auto& reg : circuit_.ancilla_registers()) text += Declaration("qreg ", *reg);
    for (const auto& reg : circuit_.classical_registers()) text += Declaration("creg ", *reg);
    text += definitions_.text();
    text += "\n// Instructions\n";
    for (const GateRecordPtr& record : circuit_.gates()) text += InstructionLine(*record);
    return text;
  }

 private:
  template <class Register>
  std::string Declaration(const char* keyword, const Register& reg) const {
    return keyword + registers_.Of(reg.name) + "[" + std::to_string(reg.size) + "];\n";
  }

  std::string Reference(const std::pair<int64_t, std::string>& place) const {
    return registers_.Of(place.second) + "[" + std::to_string(place.first) + "]";
  }

  std::string QubitReference(uint64_t qubit) const {
    return Reference(circuit_.FindQubitRegister(static_cast<int64_t>(qubit)));
  }

  std::string ClbitReference(uint64_t clbit) const {
    return Reference(circuit_.FindClbitRegister(static_cast<int64_t>(clbit)));
  }

  // "if (c == 1) ", or the single-bit form "if (c[1]  == 1) ", which only
  // TavironLib reads; "" for a record without condition.
  std::string ConditionPrefix(const GateRecord& record) const {
    if (!record.conditioned) return "";
    std::string left;
    if (record.condition_on_clbit) {
      left = ClbitReference(record.condition_clbit) + " ";
    } else if (record.condition_register) {
      left = registers_.Of(record.condition_register->RegisterName());
    }
    return "if (" + left + " == " + std::to_string(record.condition_value) + ") ";
  }

  std::string InstructionLine(const GateRecord& record) const {
    const auto qubit = [this](uint64_t q) { return QubitReference(q); };
    const auto clbit = [this](uint64_t c) { return ClbitReference(c); };
    std::string line = ConditionPrefix(record);
    if (NeedsDefinition(record, standard_names_)) {
      // A defined gate takes the operands of its definition, in its order.
      line += definitions_.NameOf(record) + ParameterText(record, ", ") + " " +
              Join(QasmDefinitions::Qubits(record), ", ", qubit);
      const std::vector<uint64_t> clbits = QasmDefinitions::Clbits(record);
      if (!clbits.empty()) line += ", " + Join(clbits, ", ", clbit);
      return line + ";\n";
    }
    const WrittenGate written = WrittenForm(record);
    line += written.name + ParameterText(written.name, written.params, ", ") + " " +
            Join(record.qubits, ", ", qubit);
    if (record.gate_type == GateId::kMeasure) line += " -> " + Join(record.clbits, ", ", clbit);
    return line + ";\n";
  }

  const std::vector<std::string>& standard_names_;
  const QuantumCircuit& circuit_;
  QasmNameAllocator names_;
  RegisterNames registers_;
  QasmDefinitions definitions_;
};

}  // namespace

std::string WriteQasm(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit) {
  return Writer(standard_names, circuit).Text();
}

}  // namespace taviron
