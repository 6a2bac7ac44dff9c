#ifndef TAVIRON_QASM_QASM_RECORDS_H
#define TAVIRON_QASM_QASM_RECORDS_H

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "circuit/registers.h"
#include "qasm/qasm_token.h"

namespace taviron {

struct QasmExtensionGate;

// One gate statement. Outside a gate body `qubits` holds global qubit
// indices; inside a stored body a negative entry v stands for the gate's
// qubit argument number -1 - v (its bitwise complement).
struct QasmStatement {
  std::string register_name;       // whole-register operand, else last operand's register
  std::vector<int64_t> qubits;     // operands in order
  std::vector<double> parameters;  // parameter values in order
  QasmTokenKind gate_kind = QasmTokenKind::END_OF_INPUT;  // kind of the first word
  std::string parameter_text;      // body statements: parameter tokens, each followed by a blank
  std::string gate_name;           // text of the first word
};

// One qreg or creg declaration. created_register stays empty until the
// declarations pass has succeeded; the object then goes to the circuit,
// which keeps it.
struct QasmRegisterDeclaration {
  std::string name;
  int64_t size = 0;
  std::variant<std::monostate, std::shared_ptr<QuantumRegister>,
               std::shared_ptr<ClassicalRegister>>
      created_register;
};

// One gate or opaque definition; the body of a gate is filled by the
// statements pass, an opaque definition never has one.
struct QasmGateDefinition {
  std::string name;
  std::vector<std::string> parameter_names;
  std::vector<std::string> argument_names;
  std::vector<QasmStatement> body;
  // Set once the statements pass has read the whole body: from there on the
  // gate may be called.
  bool body_read = false;
  // The reader's own gate that a definition of a gate outside qelib1.inc
  // stands for (same name, same numbers of parameters and qubits): calls
  // apply that gate, and the body is passed over. Null for other gates.
  const QasmExtensionGate* extension = nullptr;
};

// The condition of an if statement: the value of a whole classical register
// (on_bit false) or of one of its bits.
struct QasmCondition {
  std::shared_ptr<ClassicalRegister> classical_register;
  bool on_bit = false;
  uint64_t bit_index = 0;  // inside the register, bit form only
  uint64_t value = 0;
};

// The outcome of an expression evaluation; value is 0 when ok is false.
struct ExpressionResult {
  double value = 0.0;
  bool ok = false;
};

}  // namespace taviron

#endif
