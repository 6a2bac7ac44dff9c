#include "qasm/qasm_definitions.h"

#include <algorithm>
#include <functional>

#include "circuit/quantum_circuit.h"
#include "foundation/gate_id.h"
#include "foundation/text_utilities.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_record_text.h"
#include "qasm/qasm_token.h"

namespace taviron {

namespace {

// Each bit of `bits` not yet in `order`, appended in turn.
void AddNew(const std::vector<uint64_t>& bits, std::vector<uint64_t>& order) {
  for (uint64_t bit : bits) {
    if (std::find(order.begin(), order.end(), bit) == order.end()) order.push_back(bit);
  }
}

// The qubits (or classical bits) of a record and of everything in its body.
void CollectBits(const GateRecord& record, bool qubits, std::vector<uint64_t>& order) {
  AddNew(qubits ? record.qubits : record.clbits, order);
  for (const GateRecordPtr& part : record.body) CollectBits(*part, qubits, order);
}

std::string ArgumentName(char kind, size_t position) {
  return std::string(1, kind) + "_" + ToLetterDigits(static_cast<int64_t>(position));
}

// The argument name of each bit, by its position in `order`.
std::unordered_map<uint64_t, std::string> ArgumentNames(const std::vector<uint64_t>& order,
                                                        char kind) {
  std::unordered_map<uint64_t, std::string> names;
  for (size_t k = 0; k < order.size(); ++k) names.emplace(order[k], ArgumentName(kind, k));
  return names;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The label with every character an OpenQASM name can't hold made "_", and
// a leading "g" where it does not begin with a letter.
std::string ValidName(const std::string& label) {
  std::string name;
  for (char c : label) {
    const bool kept = IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
    name.push_back(kept ? c : '_');
  }
  if (name.empty() || !IsLetter(name[0])) name.insert(0, "g");
  return name;
}

}  // namespace

std::vector<uint64_t> QasmDefinitions::Qubits(const GateRecord& composite) {
  std::vector<uint64_t> order;
  CollectBits(composite, true, order);
  return order;
}

std::vector<uint64_t> QasmDefinitions::Clbits(const GateRecord& composite) {
  std::vector<uint64_t> order;
  CollectBits(composite, false, order);
  return order;
}

QasmDefinitions::QasmDefinitions(const std::vector<std::string>& standard_names,
                                 const QuantumCircuit& circuit)
    : standard_names_(standard_names) {
  blocked_.insert(standard_names.begin(), standard_names.end());
  for (const auto& reg : circuit.quantum_registers) blocked_.insert(reg->name);
  for (const auto& reg : circuit.ancilla_registers) blocked_.insert(reg->name);
  for (const auto& reg : circuit.classical_registers) blocked_.insert(reg->name);
  for (const GateRecordPtr& record : circuit.gates) {
    if (record->gate_type == GateId::kComposite) labels_.insert(record->GetName());
  }

  for (const GateRecordPtr& record : circuit.gates) {
    if (!NeedsDefinition(*record, standard_names_)) continue;
    const std::string signature = Signature(*record);
    const std::string key = record->GetName() + '\n' + signature;
    auto found = defined_.find(key);
    if (found == defined_.end()) {
      const std::string name = NewName(record->GetName());
      if (text_.empty()) text_ += "\n// Custom gate definitions\n";
      text_ += "gate " + name + signature;
      found = defined_.emplace(key, name).first;
    }
    names_.emplace(record.get(), found->second);
  }
}

const std::string& QasmDefinitions::NameOf(const GateRecord& composite) const {
  return names_.at(&composite);
}

std::string QasmDefinitions::NewName(const std::string& label) {
  const auto free = [this](const std::string& name) {
    return given_.count(name) == 0 && blocked_.count(name) == 0 &&
           FindKeywordKind(name) == QasmTokenKind::IDENTIFIER;
  };
  // The label itself when it is a valid name that no other body took (or
  // its valid form, unless another composite bears that as its label);
  // otherwise a numbered form that no register, gate or label uses.
  const std::string base = ValidName(label);
  std::string name = base;
  if (!free(base) || (base != label && labels_.count(base) != 0)) {
    int k = 1;
    do {
      name = base + "_" + std::to_string(k++);
    } while (!free(name) || labels_.count(name) != 0);
  }
  given_.insert(name);
  return name;
}

std::string QasmDefinitions::Signature(const GateRecord& composite) const {
  const auto qubit_names = ArgumentNames(Qubits(composite), 'q');
  const auto clbit_names = ArgumentNames(Clbits(composite), 'c');
  const auto qubit = [&](uint64_t q) { return qubit_names.at(q); };
  const auto clbit = [&](uint64_t c) { return clbit_names.at(c); };

  std::string text = " ";
  const size_t parameters = WrittenParameterCount(composite);
  if (parameters > 0) {
    std::vector<std::string> names;
    for (size_t k = 0; k < parameters; ++k) names.push_back(ArgumentName('p', k));
    text += "(" + Join(names, ", ", [](const std::string& s) { return s; }) + ") ";
  }
  std::vector<std::string> arguments;
  for (uint64_t q : Qubits(composite)) arguments.push_back(qubit(q));
  for (uint64_t c : Clbits(composite)) arguments.push_back(clbit(c));
  text += Join(arguments, ", ", [](const std::string& s) { return s; }) + " {\n";

  // Body lines; a nested composite that needs a definition is written out
  // in place, through the same argument names.
  std::function<void(const GateRecord&)> write_body = [&](const GateRecord& record) {
    for (const GateRecordPtr& part : record.body) {
      if (NeedsDefinition(*part, standard_names_)) {
        write_body(*part);
        continue;
      }
      text += "  " + StandardGateName(*part) + ParameterText(*part, ",") + " " +
              Join(part->qubits, ", ", qubit);
      if (part->gate_type == GateId::kMeasure) text += " -> " + Join(part->clbits, ", ", clbit);
      text += ";\n";
    }
  };
  write_body(composite);
  return text + "}\n";
}

}  // namespace taviron
