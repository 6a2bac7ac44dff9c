#ifndef TAVIRON_QASM_QASM_DEFINITIONS_H
#define TAVIRON_QASM_QASM_DEFINITIONS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/gate_record.h"
#include "qasm/qasm_names.h"

namespace taviron {

class QuantumCircuit;

// The `gate` definitions that the OpenQASM text of a circuit needs: one per
// gate outside qelib1.inc that it calls (r, cs, dcx, ..., under their own
// names, see QasmExtensionGates), then one per distinct composite that the
// standard include does not provide.
//
// A composite's definition names its qubits by their position among the
// composite's operands (q_a, q_b, ...), its parameters p_a, p_b, ..., and
// holds the composite's body with the values it was built with; a
// composite nested in a body is written out in place unless it is
// standard. Composites whose definitions read alike share one; two that
// differ never do: a composite whose label is already taken by a register,
// a gate or another body, or is no declarable OpenQASM name, is defined
// under a free name made from it (gms for Gms, label_1, label_2, ...).
// Argument and parameter names avoid every name of the text. A composite
// that holds a measurement, a reset or a condition has no definition: the
// constructor throws RunTimeError naming it.
class QasmDefinitions {
 public:
  // Takes the definitions' names from `names`, which already holds the
  // registers'.
  QasmDefinitions(const std::vector<std::string>& standard_names,
                  const QuantumCircuit& circuit, QasmNameAllocator& names);

  // The definitions, gates outside qelib1.inc first, then the composites
  // in the order of their first appearance.
  const std::string& text() const { return text_; }

  // The name under which a top-level composite of the circuit is defined.
  const std::string& NameOf(const GateRecord& composite) const;

  // The qubits and classical bits a composite's definition takes, in the
  // order of its arguments.
  static std::vector<uint64_t> Qubits(const GateRecord& composite);
  static std::vector<uint64_t> Clbits(const GateRecord& composite);

 private:
  // The definition text after the name, from " (p_a) q_a, q_b {" on, with
  // argument names made by `argument`.
  std::string Signature(const GateRecord& composite,
                        const std::function<std::string(char, size_t)>& argument) const;
  // Writes the definition of every gate outside qelib1.inc that a written
  // record calls.
  void DefineExtensionGates(const QuantumCircuit& circuit);
  // The name of argument (or parameter) `position` of kind 'q', 'c' or 'p':
  // q_a, q_b, ..., made longer where a register or gate has that name.
  std::string ArgumentName(char kind, size_t position) const;

  const std::vector<std::string>& standard_names_;
  const QasmNameAllocator& names_in_use_;
  std::string text_;
  std::unordered_map<const GateRecord*, std::string> names_;
};

}  // namespace taviron

#endif
