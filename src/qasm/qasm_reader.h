#ifndef TAVIRON_QASM_QASM_READER_H
#define TAVIRON_QASM_QASM_READER_H

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "qasm/name_index.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_call_records.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_records.h"
#include "qasm/qasm_token.h"
#include "qasm/text_mode_file_stream.h"

namespace taviron {

// The OpenQASM 2.0 reader. One object serves any number of load/loads calls,
// one at a time; each call reads its input in two passes (declarations, then
// statements) and returns a new circuit. Inside the reader a failure is a
// false result plus a code in error_code; only load and loads throw.
class qasm2 {
 public:
  bool version_seen = false;
  bool qelib1_included = false;
  std::vector<QasmGateDefinition> gate_definitions;
  std::vector<QasmGateDefinition> opaque_definitions;
  std::vector<QasmRegisterDeclaration> qreg_declarations;
  std::vector<QasmRegisterDeclaration> creg_declarations;
  uint64_t file_line = 0;
  uint64_t file_column = 0;
  char file_last_char = 0;
  uint64_t string_line = 0;
  uint64_t string_column = 0;
  char string_last_char = 0;
  // The 36 delimiter characters; a character's position is its token kind.
  std::string delimiters;
  TextModeFileStream file_stream;
  std::stringstream string_stream;
  bool reading_file = true;
  std::string include_path;
  QasmErrorCode error_code = QasmErrorCode::NO_ERROR;

  qasm2();

  // The driver. Both return a new circuit or throw: RunTimeError with the
  // reader's message, or the circuit model's own exception.
  std::shared_ptr<QuantumCircuit> load(const std::string& filename,
                                       const std::string& include_path = "",
                                       const std::string& include_input_directory = "append",
                                       bool strict = false);
  std::shared_ptr<QuantumCircuit> loads(const std::string& qasm2string,
                                        const std::string& include_path = "",
                                        const std::string& include_input_directory = "append",
                                        bool strict = false);

  // Characters of the active stream, with its line and column counters.
  int ReadChar();
  void UnreadChar();
  void UnreadToken(const QasmToken& token);
  void Rewind();
  bool IsQuantumRegister(std::string name) const;
  bool IsClassicalRegister(std::string name) const;

  // Tokens. The split flag also ends a word where it changes between digits
  // and other characters.
  QasmToken ScanToken(bool split);
  QasmToken NextToken(bool split);
  void SkipNewlines(QasmToken& token);

  // Syntax tables: a number's text, and a gate statement after its name up
  // to its semicolon (fills register_name, qubits and parameters).
  std::string ReadNumber(QasmToken token);
  bool ParseGateStatement(QuantumCircuit& circuit, QasmToken& token,
                          QasmStatement& statement);

  // Expressions.
  ExpressionResult EvaluateExpression(QasmToken& token, bool function_argument,
                                      std::vector<std::string> names,
                                      std::vector<double> values);
  ExpressionResult ApplyBinaryOperator(double left, double right, QasmTokenKind kind);

  // Declarations pass.
  bool ParseDeclarations();
  bool ParseInclude();
  bool ParseQreg();
  bool ParseCreg();
  bool ParseGateDefinition();
  bool ParseOpaqueDefinition();
  bool IsNameFree(std::string name);

  // Statements pass.
  bool ParseStatements(QuantumCircuit& circuit);
  bool ParseAndApply(QuantumCircuit& circuit, QasmTokenKind kind, const std::string& text,
                     const QasmCondition* condition);
  bool ApplyStatement(QuantumCircuit& circuit, const QasmStatement& statement);
  bool ParseMeasure(QuantumCircuit& circuit, QasmToken& token,
                    const QasmCondition* condition);
  bool ParseIf(QuantumCircuit& circuit, QasmToken& token);
  bool ApplyBarrier(QuantumCircuit& circuit, const QasmStatement& statement);

  // Gate definitions.
  bool ReadGateBody(QuantumCircuit& circuit, QasmToken& token);
  bool ApplyUserGate(QuantumCircuit& circuit, const QasmStatement& call);

 private:
  // Parentheses open in the expressions that enclose the function argument
  // being evaluated.
  int expression_nesting = 0;
  // Names of the four declaration lists; brought up to date on each lookup.
  mutable QasmNameIndex name_index;
  // The composites made by calls of the text's gates during the statements
  // pass, shared by the calls alike.
  QasmCallRecords call_records;
  const QasmNameIndex::Entry* FindName(const std::string& name) const;
  // The register object made for a classical register declaration that
  // IsClassicalRegister has accepted.
  std::shared_ptr<ClassicalRegister> DeclaredClassicalRegister(const std::string& name) const;
  // The gate definition of that name, or nullptr.
  QasmGateDefinition* FindGateDefinition(const std::string& name);
  // Shared by load and loads once the input stream is ready: both passes,
  // the checks between them and the circuit.
  std::shared_ptr<QuantumCircuit> ReadCircuit(bool require_include,
                                              bool require_version);
  void ResetForCall();
  std::istream& ActiveStream();
  // NextToken followed by SkipNewlines.
  QasmToken NextSignificantToken(bool split);
  // The reader of one declaration keyword of the first pass.
  bool ParseDeclaration(QasmTokenKind keyword);
  // A register declaration (qreg or creg) into the given list.
  bool ParseRegisterDeclaration(std::vector<QasmRegisterDeclaration>& list);
  // The head, argument list and (for a gate) skipped body of a definition.
  bool ParseDefinition(bool is_gate);
  // A gate of exact counts, as its word names it.
  bool ApplyGate(QuantumCircuit& circuit, const QasmStatement& statement,
                 const QasmStatementWord& word);
  // A one-qubit gate (or reset) applied to each operand or a whole register.
  bool ApplyEachQubit(QuantumCircuit& circuit, const QasmStatement& statement, GateId gate);
  // The qubits a statement names: its operands, or every qubit of its
  // whole-register operand in ascending order.
  static std::vector<int64_t> StatementTargets(const QuantumCircuit& circuit,
                                               const QasmStatement& statement);
  // Whether the token names a gate outside qelib1.inc whose definition the
  // reader has taken as its own gate, and whose body has been passed.
  bool IsDefinedExtensionGate(const QasmToken& token);
  // Evaluates a body statement's parameter text with the gate's parameter
  // names bound to the call's values, on the reader's string stream.
  bool EvaluateParameterText(const std::string& text,
                             const std::vector<std::string>& names,
                             const std::vector<double>& values,
                             std::vector<double>& results);
};

}  // namespace taviron

#endif
