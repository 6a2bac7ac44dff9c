#include "qasm/qasm_definitions.h"

#include <algorithm>
#include <functional>
#include <set>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_id.h"
#include "foundation/text_utilities.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_record_text.h"

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

// The argument (or parameter) name of position k: q_a, q_b, ... for qubits,
// c_a, ... for classical bits, p_a, ... for parameters.
std::string PlainArgumentName(char kind, size_t position) {
  return std::string(1, kind) + "_" + ToLetterDigits(static_cast<int64_t>(position));
}

std::string Identity(const std::string& s) { return s; }

// A definition's body template with "$k" and "%k" replaced by the name of
// qubit argument k and parameter k, each line indented.
std::string FillTemplate(const char* body, const std::vector<std::string>& qubits,
                         const std::vector<std::string>& parameters) {
  std::string text = "  ";
  for (const char* c = body; *c != '\0'; ++c) {
    if ((*c == '$' || *c == '%') && c[1] >= '0' && c[1] <= '9') {
      const size_t k = static_cast<size_t>(c[1] - '0');
      text += (*c == '$' ? qubits : parameters).at(k);
      ++c;
    } else {
      text.push_back(*c);
      if (*c == '\n' && c[1] != '\0') text += "  ";
    }
  }
  return text;
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
                                 const QuantumCircuit& circuit, QasmNameAllocator& names)
    : standard_names_(standard_names), names_in_use_(names) {
  std::vector<const GateRecord*> defined;
  for (const GateRecordPtr& record : circuit.gates()) {
    if (NeedsDefinition(*record, standard_names_)) names.Want(record->GetName());
  }
  // Composites share a definition when their labels and their definitions
  // under the plain argument names read alike.
  std::unordered_map<std::string, std::string> by_signature;
  for (const GateRecordPtr& record : circuit.gates()) {
    if (!NeedsDefinition(*record, standard_names_)) continue;
    const std::string key = record->GetName() + '\n' + Signature(*record, PlainArgumentName);
    auto found = by_signature.find(key);
    if (found == by_signature.end()) {
      found = by_signature.emplace(key, names.Give(record->GetName(), 'g')).first;
      defined.push_back(record.get());
    }
    names_.emplace(record.get(), found->second);
  }

  // With every name of the text known, the definitions are written with
  // argument names that none of them is.
  DefineExtensionGates(circuit);
  for (const GateRecord* record : defined) {
    text_ += "gate " + names_.at(record) + Signature(*record, [this](char kind, size_t k) {
               return ArgumentName(kind, k);
             });
  }
  if (!text_.empty()) text_.insert(0, "\n// Custom gate definitions\n");
}

std::string QasmDefinitions::ArgumentName(char kind, size_t position) const {
  const std::string plain = PlainArgumentName(kind, position);
  std::string name = plain;
  for (int n = 1; names_in_use_.IsUsed(name); ++n) name = plain + "_" + std::to_string(n);
  return name;
}

const std::string& QasmDefinitions::NameOf(const GateRecord& composite) const {
  return names_.at(&composite);
}

void QasmDefinitions::DefineExtensionGates(const QuantumCircuit& circuit) {
  // The gates that written lines call: top-level records and the bodies of
  // the defined composites (standard ones hold none of these gates).
  std::set<GateId> used;
  std::function<void(const GateRecordList&)> collect = [&](const GateRecordList& records) {
    for (const GateRecordPtr& record : records) {
      used.insert(record->gate_type);
      if (NeedsDefinition(*record, standard_names_)) collect(record->body);
    }
  };
  collect(circuit.gates());
  for (const QasmExtensionGate& gate : QasmExtensionGates()) {
    if (gate.body == nullptr || used.count(gate.id) == 0) continue;
    std::vector<std::string> qubits;
    std::vector<std::string> parameters;
    const GateArity arity = QasmExtensionArity(gate);
    for (size_t k = 0; k < arity.qubits; ++k) qubits.push_back(ArgumentName('q', k));
    for (size_t k = 0; k < arity.parameters; ++k) parameters.push_back(ArgumentName('p', k));
    text_ += std::string("gate ") + gate.name + " ";
    if (!parameters.empty()) text_ += "(" + Join(parameters, ", ", Identity) + ") ";
    text_ += Join(qubits, ", ", Identity) + " {\n" + FillTemplate(gate.body, qubits, parameters) +
             "}\n";
  }
}

std::string QasmDefinitions::Signature(
    const GateRecord& composite, const std::function<std::string(char, size_t)>& argument) const {
  std::unordered_map<uint64_t, std::string> qubit_names;
  std::unordered_map<uint64_t, std::string> clbit_names;
  std::vector<std::string> arguments;
  for (uint64_t q : Qubits(composite)) {
    const std::string name = argument('q', arguments.size());
    qubit_names.emplace(q, name);
    arguments.push_back(name);
  }
  for (uint64_t c : Clbits(composite)) {
    const std::string name = argument('c', clbit_names.size());
    clbit_names.emplace(c, name);
    arguments.push_back(name);
  }
  const auto qubit = [&](uint64_t q) { return qubit_names.at(q); };
  const auto clbit = [&](uint64_t c) { return clbit_names.at(c); };

  std::string text = " ";
  const size_t parameters = WrittenParameterCount(composite);
  if (parameters > 0) {
    std::vector<std::string> names;
    for (size_t k = 0; k < parameters; ++k) names.push_back(argument('p', k));
    text += "(" + Join(names, ", ", Identity) + ") ";
  }
  text += Join(arguments, ", ", Identity) + " {\n";

  // Body lines; a nested composite that needs a definition is written out
  // in place, through the same argument names.
  std::function<void(const GateRecord&)> write_body = [&](const GateRecord& record) {
    for (const GateRecordPtr& part : record.body) {
      if (NeedsDefinition(*part, standard_names_)) {
        write_body(*part);
        continue;
      }
      if (part->gate_type == GateId::kMeasure || part->gate_type == GateId::kReset ||
          part->conditioned) {
        // A gate body holds unitary gates and barriers only; written
        // otherwise, the text would not read, or not as this circuit.
        throw RunTimeError("The composite " + composite.GetName() +
                           " holds a measurement, a reset or a condition, which an OpenQASM "
                           "2.0 gate definition can't express.");
      }
      const WrittenGate written = WrittenForm(*part);
      text += "  " + written.name + ParameterText(written.name, written.params, ",") + " " +
              Join(part->qubits, ", ", qubit);
      if (part->gate_type == GateId::kMeasure) text += " -> " + Join(part->clbits, ", ", clbit);
      text += ";\n";
    }
  };
  write_body(composite);
  return text + "}\n";
}

}  // namespace taviron
