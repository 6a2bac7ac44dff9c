#ifndef TAVIRON_QASM_QASM_STATEMENTS_PASS_H
#define TAVIRON_QASM_QASM_STATEMENTS_PASS_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "qasm/qasm_call_records.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_reading.h"
#include "qasm/qasm_records.h"
#include "qasm/qasm_token.h"

namespace taviron {

// The second pass of the reader: reads the input again from its start and
// turns every statement into calls of the circuit that the driver built
// from the declarations of the first pass. A gate word calls the gate it
// names (qasm_apply_statement.cc); measure and if have readers of their
// own; a gate definition is read once more to store its body, and a call of
// a gate of the text appends one composite (qasm_gate_definitions.cc);
// declarations are passed over. Stops at the first failure, with its code.
// Exceptions of the circuit's operations pass unchanged.
class QasmStatementsPass {
 public:
  explicit QasmStatementsPass(QasmReading& reading) : reading_(reading) {}

  // Rewinds the input and runs the pass on `circuit`.
  bool ParseStatements(QuantumCircuit& circuit);

  // A gate statement after its first word (of `kind`, spelled `text`): its
  // parameters and operands, then its operation, conditioned when a
  // condition is given.
  bool ParseAndApply(QuantumCircuit& circuit, QasmTokenKind kind, const std::string& text,
                     const QasmCondition* condition);
  // The operation of a statement whose parameters and operands are read:
  // the gate its word names, or a call of a gate of the text (an
  // identifier). A word without an operation fails without a code.
  bool ApplyStatement(QuantumCircuit& circuit, const QasmStatement& statement);
  // measure after its keyword, from `token`, conditioned when a condition
  // is given; if after its keyword, with the statement it conditions.
  bool ParseMeasure(QuantumCircuit& circuit, QasmToken& token, const QasmCondition* condition);
  bool ParseIf(QuantumCircuit& circuit, QasmToken& token);

  // A gate definition after its keyword: stores its body statements in the
  // definition that the first pass recorded.
  bool ReadGateBody(QuantumCircuit& circuit, QasmToken& token);
  // A call of a gate of the text, as one composite record.
  bool ApplyUserGate(QuantumCircuit& circuit, const QasmStatement& call);

 private:
  class BodyReader;

  // The operands of a measure statement: two registers, whole or indexed.
  struct MeasureOperands {
    std::string quantum_register;
    std::shared_ptr<ClassicalRegister> classical_register;
    bool whole_registers = false;
    int32_t qubit_index = 0;
    int32_t bit_index = 0;
  };

  bool ApplyGate(QuantumCircuit& circuit, const QasmStatement& statement,
                 const QasmStatementWord& word);
  bool ApplyEachQubit(QuantumCircuit& circuit, const QasmStatement& statement, GateId gate);
  bool ApplyBarrier(QuantumCircuit& circuit, const QasmStatement& statement);
  // The qubits a statement names: its operands, or every qubit of its
  // whole-register operand in ascending order.
  static std::vector<int64_t> StatementTargets(const QuantumCircuit& circuit,
                                               const QasmStatement& statement);

  // Passes over a declaration that the first pass read, up to and
  // including its semicolon.
  void SkipDeclaration(QasmToken& token);
  // "<number>]" after a "[", read split.
  bool ReadIndex(QasmToken& token, int32_t& index);
  bool ReadMeasureOperands(QasmToken& token, MeasureOperands& operands);
  bool ApplyMeasure(QuantumCircuit& circuit, const MeasureOperands& operands,
                    const QasmCondition* condition);
  // Qubit `qubit` of the quantum register (of `quantum_size` qubits) into
  // bit `bit` of the classical one.
  bool MeasureQubit(QuantumCircuit& circuit, const MeasureOperands& operands,
                    int64_t quantum_size, int64_t qubit, int64_t bit);
  bool ReadCondition(QasmToken& token, QasmCondition& condition);

  // Calls of gates of the text (qasm_gate_definitions.cc).
  bool ApplyKnownGate(QuantumCircuit& circuit, const QasmGateDefinition& definition,
                      const QasmStatement& call);
  bool ApplyToEachQubit(QuantumCircuit& circuit, const QasmGateDefinition& definition,
                        const QasmStatement& call);
  bool ApplyDefinedGate(QuantumCircuit& circuit, const QasmGateDefinition& definition,
                        const QasmStatement& call);
  // The body statement with the call's values and qubits in place of the
  // gate's parameters and arguments.
  bool BindBodyStatement(const QasmGateDefinition& definition, const QasmStatement& call,
                         const QasmStatement& body_statement, QasmStatement& statement);
  // Evaluates a body statement's parameter text with the gate's parameter
  // names bound to the call's values, on the input's string stream.
  bool EvaluateParameterText(const std::string& text, const std::vector<std::string>& names,
                             const std::vector<double>& values, std::vector<double>& results);
  // Whether the token names a gate outside qelib1.inc whose definition the
  // reader has taken as its own gate, and whose body has been passed.
  bool IsDefinedExtensionGate(const QasmToken& token);

  QasmToken NextToken(bool split) { return reading_.tokens().NextToken(split); }
  QasmToken NextSignificantToken(bool split) {
    return reading_.tokens().NextSignificantToken(split);
  }

  QasmReading& reading_;
  // The composites made by calls of the text's gates in this pass, shared
  // by the calls alike.
  QasmCallRecords call_records_;
};

}  // namespace taviron

#endif
