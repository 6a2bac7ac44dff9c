#ifndef TAVIRON_QASM_QASM_DEFINITIONS_H
#define TAVIRON_QASM_QASM_DEFINITIONS_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// The `gate` definitions that the OpenQASM text of a circuit needs: one per
// distinct composite that the standard include does not provide.
//
// A definition names its qubits by their position among the composite's
// operands (q_a, q_b, ...), its parameters p_a, p_b, ..., and holds the
// composite's body with the values it was built with; a composite nested in
// a body is written out in place unless it is standard. Composites whose
// definitions read alike share one; two that differ never do: a composite
// whose label is already taken by another body, or is no valid OpenQASM
// name, is defined under a name of its own (label_1, label_2, ...).
class QasmDefinitions {
 public:
  QasmDefinitions(const std::vector<std::string>& standard_names,
                  const QuantumCircuit& circuit);

  // The definitions, in the order of their composites' first appearance.
  const std::string& text() const { return text_; }

  // The name under which a top-level composite of the circuit is defined.
  const std::string& NameOf(const GateRecord& composite) const;

  // The qubits and classical bits a composite's definition takes, in the
  // order of its arguments.
  static std::vector<uint64_t> Qubits(const GateRecord& composite);
  static std::vector<uint64_t> Clbits(const GateRecord& composite);

 private:
  // The definition text after the name, from " (p_a) q_a, q_b {" on.
  std::string Signature(const GateRecord& composite) const;
  std::string NewName(const std::string& label);

  const std::vector<std::string>& standard_names_;
  std::string text_;
  std::unordered_map<const GateRecord*, std::string> names_;
  // Label and signature to the name of the definition written for them.
  std::unordered_map<std::string, std::string> defined_;
  // Names no definition may take (registers and standard gates), the
  // composites' labels (each free only for a composite of that label), and
  // the names given so far.
  std::unordered_set<std::string> blocked_;
  std::unordered_set<std::string> labels_;
  std::unordered_set<std::string> given_;
};

}  // namespace taviron

#endif
