#include "qasm/qasm_writer.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "circuit/quantum_circuit.h"
#include "foundation/gate_record.h"
#include "foundation/text_utilities.h"

namespace {

// Instruction and body lines write at most this many parameters.
constexpr size_t kMaxWrittenParameters = 4;

template <class Items, class Format>
std::string Join(const Items& items, const std::string& separator,
                 Format format) {
  std::string text;
  bool first = true;
  for (const auto& item : items) {
    if (!first) text += separator;
    text += format(item);
    first = false;
  }
  return text;
}

std::string AngleList(const std::vector<double>& params, size_t limit,
                      const std::string& separator) {
  const std::vector<double> written(
      params.begin(), params.begin() + std::min(params.size(), limit));
  return Join(written, separator, FormatAngle);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string QubitArgument(uint64_t qubit) {
  return "q_" + ToLetterDigits(static_cast<int64_t>(qubit));
}

std::string ClbitArgument(uint64_t clbit) {
  return "c_" + ToLetterDigits(static_cast<int64_t>(clbit));
}

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

// One line of a definition body; operands are named by their circuit-wide
// index, so nothing here can fail.
std::string BodyLine(const GateRecord& record) {
  std::string line = "  " + record.GetName();
  if (!record.params.empty()) {
    line += "(" + AngleList(record.params, kMaxWrittenParameters, ",") + ")";
  }
  line += " " + Join(record.qubits, ", ", QubitArgument);
  if (record.gate_type == GateId::kMeasure) {
    line += " -> " + Join(record.clbits, ", ", ClbitArgument);
  }
  return line + ";\n";
}

std::string Definition(const GateRecord& composite) {
  std::string text = "gate " + composite.GetName() + " ";
  if (!composite.params.empty()) {
    text += "(" + Join(composite.params, ", ", FormatAngle) + ") ";
  }
  std::vector<std::string> arguments;
  for (uint64_t qubit : composite.qubits) arguments.push_back(QubitArgument(qubit));
  for (uint64_t clbit : composite.clbits) arguments.push_back(ClbitArgument(clbit));
  text += Join(arguments, ", ", [](const std::string& s) { return s; });
  text += " {\n";
  for (const GateRecordPtr& part : composite.body) text += BodyLine(*part);
  return text + "}\n";
}

void WriteDefinitions(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit, std::string& text) {
  std::vector<std::string> defined;
  for (const GateRecordPtr& record : circuit.gates) {
    if (record->gate_type != GateId::kComposite) continue;
    const std::string key = Lower(record->GetLabel());
    const auto known = [&key](const std::vector<std::string>& names) {
      return std::find(names.begin(), names.end(), key) != names.end();
    };
    if (known(standard_names) || known(defined)) continue;
    if (defined.empty()) text += "\n// Custom gate definitions\n";
    defined.push_back(key);
    text += Definition(*record);
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
                            const GateRecord& record) {
  std::string line = ConditionPrefix(circuit, record) + record.GetName();
  if (!record.params.empty()) {
    line += "(" + AngleList(record.params, kMaxWrittenParameters, ", ") + ")";
  }
  line += " " + Join(record.qubits, ", ", [&circuit](uint64_t qubit) {
            return QubitReference(circuit, qubit);
          });
  if (record.gate_type == GateId::kMeasure) {
    line += " -> " + Join(record.clbits, ", ", [&circuit](uint64_t clbit) {
              return ClbitReference(circuit, clbit);
            });
  }
  return line + ";\n";
}

}  // namespace

std::string WriteQasm(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit) {
  std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n";
  WriteRegisters(circuit, text);
  WriteDefinitions(standard_names, circuit, text);
  text += "\n// Instructions\n";
  for (const GateRecordPtr& record : circuit.gates) {
    text += InstructionLine(circuit, *record);
  }
  return text;
}
