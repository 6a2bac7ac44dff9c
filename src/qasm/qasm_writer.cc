#include "qasm/qasm_writer.h"

#include <cstdint>
#include <string>

#include "circuit/quantum_circuit.h"
#include "foundation/gate_id.h"
#include "foundation/gate_record.h"
#include "qasm/qasm_definitions.h"
#include "qasm/qasm_record_text.h"

namespace taviron {

namespace {

std::string Reference(const std::pair<int64_t, std::string>& place) {
  return place.second + "[" + std::to_string(place.first) + "]";
}

std::string QubitReference(const QuantumCircuit& circuit, uint64_t qubit) {
  return Reference(circuit.FindQubitRegister(static_cast<int64_t>(qubit)));
}

std::string ClbitReference(const QuantumCircuit& circuit, uint64_t clbit) {
  return Reference(circuit.FindClbitRegister(static_cast<int64_t>(clbit)));
}

void WriteRegisters(const QuantumCircuit& circuit, std::string& text) {
  text += "\n// Register definitions\n";
  for (const auto& reg : circuit.quantum_registers) {
    text += "qreg " + reg->name + "[" + std::to_string(reg->size) + "];\n";
  }
  for (const auto& reg : circuit.ancilla_registers) {
    text += "qreg " + reg->name + "[" + std::to_string(reg->size) + "];\n";
  }
  for (const auto& reg : circuit.classical_registers) {
    text += "creg " + reg->name + "[" + std::to_string(reg->size) + "];\n";
  }
}

std::string ConditionPrefix(const QuantumCircuit& circuit,
                            const GateRecord& record) {
  if (!record.conditioned) return "";
  std::string left;
  if (record.condition_on_clbit) {
    left = ClbitReference(circuit, record.condition_clbit) + " ";
  } else if (record.condition_register) {
    left = record.condition_register->name;
  }
  return "if (" + left + " == " + std::to_string(record.condition_value) +
         ") ";
}

std::string InstructionLine(const QuantumCircuit& circuit,
                            const std::vector<std::string>& standard_names,
                            const QasmDefinitions& definitions,
                            const GateRecord& record) {
  const auto qubit = [&circuit](uint64_t q) { return QubitReference(circuit, q); };
  const auto clbit = [&circuit](uint64_t c) { return ClbitReference(circuit, c); };
  std::string line = ConditionPrefix(circuit, record);
  if (NeedsDefinition(record, standard_names)) {
    // A defined gate takes the operands of its definition, in its order.
    line += definitions.NameOf(record) + ParameterText(record, ", ") + " " +
            Join(QasmDefinitions::Qubits(record), ", ", qubit);
    const std::vector<uint64_t> clbits = QasmDefinitions::Clbits(record);
    if (!clbits.empty()) line += ", " + Join(clbits, ", ", clbit);
    return line + ";\n";
  }
  line += StandardGateName(record) + ParameterText(record, ", ") + " " +
          Join(record.qubits, ", ", qubit);
  if (record.gate_type == GateId::kMeasure) line += " -> " + Join(record.clbits, ", ", clbit);
  return line + ";\n";
}

}  // namespace

std::string WriteQasm(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit) {
  std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n";
  WriteRegisters(circuit, text);
  const QasmDefinitions definitions(standard_names, circuit);
  text += definitions.text();
  text += "\n// Instructions\n";
  for (const GateRecordPtr& record : circuit.gates) {
    text += InstructionLine(circuit, standard_names, definitions, *record);
  }
  return text;
}

}  // namespace taviron
