// Gates defined in the text: reading their bodies, and applying a call of
// one as a single composite record.
#include <memory>
#include <new>
#include <utility>

#include "circuit/append_gate.h"
#include "qasm/decimal_index.h"
#include "qasm/qasm_expression_evaluator.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_statements_pass.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

}  // namespace

// Reads the statements of one gate body into its definition. A body
// statement is stored with its parameters as text (each token followed by
// a blank), evaluated anew at every call, and its operands as fixed global
// qubits or, for the gate's arguments, the complement of the argument's
// position.
class QasmStatementsPass::BodyReader {
 public:
  BodyReader(QasmStatementsPass& pass, const QuantumCircuit& circuit, QasmToken& token,
             QasmGateDefinition& definition)
      : pass_(pass),
        reading_(pass.reading_),
        circuit_(circuit),
        token_(token),
        definition_(definition) {}

  // Reads from the token after the "{" to the "}".
  bool ReadStatements() {
    while (true) {
      token_ = Next(false);
      if (token_.kind == Kind::RIGHT_BRACE) return true;
      if (token_.kind == Kind::END_OF_INPUT) return reading_.Fail(Code::RIGHT_PAREN_EXPECTED);
      QasmStatement statement;
      if (!ReadStatement(statement)) return false;
      definition_.body.push_back(std::move(statement));
    }
  }

 private:
  QasmToken Next(bool split) { return reading_.tokens().NextSignificantToken(split); }

  // One statement, from its first word to its ";".
  bool ReadStatement(QasmStatement& statement) {
    // Only built-in gate and statement words, and the gates outside
    // qelib1.inc defined before, start a body statement; a call of another
    // defined gate is refused here.
    if (FindStatementWord(token_.kind) == nullptr && !pass_.IsDefinedExtensionGate(token_)) {
      return reading_.Fail(Code::INVALID_INSTRUCTION);
    }
    statement.gate_kind = token_.kind;
    statement.gate_name = token_.text;
    token_ = Next(false);
    if (token_.kind == Kind::LEFT_PAREN && !ReadParameterText(statement)) return false;
    return ReadOperands(statement);
  }

  // The parameters end at the matching ")", which must come before the
  // statement's ";" and the body's braces.
  bool ReadParameterText(QasmStatement& statement) {
    int depth = 1;
    while (true) {
      token_ = Next(false);
      if (token_.kind == Kind::END_OF_INPUT || token_.kind == Kind::SEMICOLON ||
          token_.kind == Kind::LEFT_BRACE || token_.kind == Kind::RIGHT_BRACE) {
        return reading_.Fail(Code::RIGHT_PAREN_EXPECTED);
      }
      if (token_.kind == Kind::LEFT_PAREN) {
        ++depth;
      } else if (token_.kind == Kind::RIGHT_PAREN && --depth == 0) {
        break;
      }
      statement.parameter_text += token_.text + " ";
    }
    token_ = Next(false);
    return true;
  }

  // Operands up to the ";", commas between them optional; any other token
  // between them is passed over.
  bool ReadOperands(QasmStatement& statement) {
    while (token_.kind != Kind::SEMICOLON) {
      // The statement must end before the body does or the next statement
      // begins.
      if (token_.kind == Kind::END_OF_INPUT || token_.kind == Kind::LEFT_BRACE ||
          token_.kind == Kind::RIGHT_BRACE || FindStatementWord(token_.kind) != nullptr) {
        return reading_.Fail(Code::SEMICOLON_EXPECTED);
      }
      if (!ReadOperand(statement)) return false;
      token_ = Next(false);
      if (token_.kind == Kind::COMMA) token_ = Next(false);
    }
    return true;
  }

  bool ReadOperand(QasmStatement& statement) {
    if (token_.kind == Kind::NUMBER) return ReadQubitNumber(statement);
    if (token_.kind != Kind::IDENTIFIER) return true;
    if (reading_.declarations().IsQuantumRegister(token_.text)) return ReadRegisterQubit(statement);
    return ReadArgument(statement);
  }

  // A fixed qubit of the circuit, by its number.
  bool ReadQubitNumber(QasmStatement& statement) {
    int32_t qubit = 0;
    if (!DecimalToInt32(token_.text, qubit)) {
      return reading_.Fail(Code::NON_NEGATIVE_NUMBER_EXPECTED);
    }
    if (static_cast<uint64_t>(qubit) >= circuit_.total_qubits()) {
      return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
    }
    statement.qubits.push_back(qubit);
    return true;
  }

  // A fixed qubit given by register and index.
  bool ReadRegisterQubit(QasmStatement& statement) {
    const std::string register_name = token_.text;
    token_ = Next(false);
    if (token_.kind != Kind::LEFT_BRACKET) return reading_.Fail(Code::LEFT_BRACKET_EXPECTED);
    token_ = Next(true);
    int32_t index = 0;
    if (token_.kind != Kind::NUMBER || !DecimalToInt32(token_.text, index)) {
      return reading_.Fail(Code::NON_NEGATIVE_NUMBER_EXPECTED);
    }
    if (index >= circuit_.GetRegisterSize(register_name)) {
      return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
    }
    token_ = Next(true);
    if (token_.kind != Kind::RIGHT_BRACKET) return reading_.Fail(Code::RIGHT_BRACKET_EXPECTED);
    statement.qubits.push_back(circuit_.GetQubitIndex(register_name, static_cast<uint64_t>(index)));
    return true;
  }

  // A qubit argument of the gate, stored as the complement of its position.
  bool ReadArgument(QasmStatement& statement) {
    const std::vector<std::string>& arguments = definition_.argument_names;
    size_t position = 0;
    while (position < arguments.size() && arguments[position] != token_.text) ++position;
    if (position == arguments.size()) return reading_.Fail(Code::IDENTIFIER_EXPECTED);
    statement.qubits.push_back(~static_cast<int64_t>(position));
    return true;
  }

  QasmStatementsPass& pass_;
  QasmReading& reading_;
  const QuantumCircuit& circuit_;
  QasmToken& token_;
  QasmGateDefinition& definition_;
};

bool QasmStatementsPass::ReadGateBody(QuantumCircuit& circuit, QasmToken& token) {
  // The first pass has accepted the name (a keyword only for a gate the
  // reader knows) and recorded the parameter and argument names.
  QasmGateDefinition* definition = reading_.declarations().FindGateDefinition(token.text);
  if (definition == nullptr) return reading_.Fail(Code::IDENTIFIER_EXPECTED);
  const auto pass_to = [&](Kind kind) {
    do {
      token = NextSignificantToken(false);
      if (token.kind == Kind::END_OF_INPUT) return reading_.Fail(Code::PREMATURE_END_OF_FILE);
    } while (token.kind != kind);
    return true;
  };
  if (!pass_to(Kind::LEFT_BRACE)) return false;
  // The reader's own gate stands for a definition of it: its body, whatever
  // it calls, is passed over up to the first "}", as the first pass did.
  const bool read = definition->extension != nullptr
                        ? pass_to(Kind::RIGHT_BRACE)
                        : BodyReader(*this, circuit, token, *definition).ReadStatements();
  // From the end of its body on, the gate may be called.
  if (read) definition->body_read = true;
  return read;
}

bool QasmStatementsPass::IsDefinedExtensionGate(const QasmToken& token) {
  if (token.kind != Kind::IDENTIFIER) return false;
  const QasmGateDefinition* definition = reading_.declarations().FindGateDefinition(token.text);
  return definition != nullptr && definition->extension != nullptr && definition->body_read;
}

bool QasmStatementsPass::EvaluateParameterText(const std::string& text,
                                               const std::vector<std::string>& names,
                                               const std::vector<double>& values,
                                               std::vector<double>& results) {
  // Read through the string input, whatever the call was reading.
  const QasmCharacterSource::TextDetour detour(reading_.source(), text);
  QasmExpressionEvaluator evaluator(reading_);
  QasmToken token = NextSignificantToken(false);
  while (token.kind != Kind::END_OF_INPUT) {
    const ExpressionResult result = evaluator.EvaluateExpression(token, false, names, values);
    if (!result.ok) return false;
    results.push_back(result.value);
    token = NextSignificantToken(false);
    if (token.kind == Kind::COMMA) token = NextSignificantToken(false);
  }
  return true;
}

bool QasmStatementsPass::ApplyUserGate(QuantumCircuit& circuit, const QasmStatement& call) {
  const QasmGateDefinition* definition =
      reading_.declarations().FindGateDefinition(call.gate_name);
  // Opaque gates have no body and are not searched; a gate whose body has
  // not been read yet is not defined at this point of the text.
  if (definition == nullptr || !definition->body_read) {
    return reading_.Fail(Code::USER_GATE_NOT_FOUND);
  }
  if (definition->extension != nullptr) return ApplyKnownGate(circuit, *definition, call);
  if (call.qubits.empty()) return ApplyToEachQubit(circuit, *definition, call);
  return ApplyDefinedGate(circuit, *definition, call);
}

bool QasmStatementsPass::ApplyKnownGate(QuantumCircuit& circuit,
                                        const QasmGateDefinition& definition,
                                        const QasmStatement& call) {
  // The reader's own gate, with the exact counts of a built-in gate.
  const QasmExtensionGate& gate = *definition.extension;
  const GateArity arity = QasmExtensionArity(gate);
  if (call.qubits.size() != arity.qubits || call.parameters.size() != arity.parameters) {
    return reading_.Fail(Code::INVALID_PARAMETER);
  }
  const std::vector<uint64_t> qubits(call.qubits.begin(), call.qubits.end());
  if (AppendGate(circuit, gate.id, qubits, call.parameters) == nullptr) {
    return reading_.Fail(Code::INVALID_INSTRUCTION);
  }
  return true;
}

bool QasmStatementsPass::ApplyToEachQubit(QuantumCircuit& circuit,
                                          const QasmGateDefinition& definition,
                                          const QasmStatement& call) {
  // A whole register as the operand: a gate of one qubit argument is
  // applied to each of its qubits in turn (none for a register of size 0).
  if (definition.argument_names.size() != 1) return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
  QasmStatement single = call;
  for (int64_t qubit : StatementTargets(circuit, call)) {
    single.qubits = {qubit};
    if (!ApplyUserGate(circuit, single)) return false;
  }
  return true;
}

bool QasmStatementsPass::ApplyDefinedGate(QuantumCircuit& circuit,
                                          const QasmGateDefinition& definition,
                                          const QasmStatement& call) {
  if (call.parameters.size() != definition.parameter_names.size()) {
    return reading_.Fail(Code::PARAMETER_LIST_MISMATCH);
  }
  // A call alike to an earlier one appends the composite that one made.
  const size_t gate = reading_.declarations().GatePosition(definition);
  if (GateRecordPtr earlier = call_records_.Find(gate, call.qubits, call.parameters)) {
    circuit.mutable_gates().push_back(std::move(earlier));
    return true;
  }
  call_records_.Reserve(gate, definition.body.size(), definition.name.size());

  // The body is replayed on a circuit of the same size named after the gate;
  // its qubit k is qubit k of the circuit being built. A body holds no
  // classical operation, so the replay circuit needs no classical bits.
  std::unique_ptr<QuantumCircuit> gate_circuit;
  try {
    gate_circuit =
        std::make_unique<QuantumCircuit>(circuit.total_qubits(), 0, definition.name, 0.0);
  } catch (const std::bad_alloc&) {
    return reading_.Fail(Code::INSUFFICIENT_MEMORY);
  }
  for (const QasmStatement& body_statement : definition.body) {
    QasmStatement statement;
    if (!BindBodyStatement(definition, call, body_statement, statement) ||
        !ApplyStatement(*gate_circuit, statement)) {
      return false;
    }
  }
  circuit.compose(*gate_circuit, {}, {}, false, false);
  // The composite spans the qubits it was called on and keeps the values it
  // was called with, as the composite of a gate method does.
  GateRecord& composite = *circuit.gates().back();
  composite.qubits.assign(call.qubits.begin(), call.qubits.end());
  composite.params = call.parameters;
  call_records_.Keep(gate, call.qubits, call.parameters, circuit.gates().back());
  return true;
}

bool QasmStatementsPass::BindBodyStatement(const QasmGateDefinition& definition,
                                           const QasmStatement& call,
                                           const QasmStatement& body_statement,
                                           QasmStatement& statement) {
  statement.gate_kind = body_statement.gate_kind;
  statement.gate_name = body_statement.gate_name;
  // A statement without parameters has nothing to evaluate.
  if (!body_statement.parameter_text.empty() &&
      !EvaluateParameterText(body_statement.parameter_text, definition.parameter_names,
                             call.parameters, statement.parameters)) {
    return false;
  }
  for (int64_t qubit : body_statement.qubits) {
    if (qubit >= 0) {
      statement.qubits.push_back(qubit);
      continue;
    }
    const auto argument = static_cast<uint64_t>(~qubit);
    if (argument >= call.qubits.size()) return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
    statement.qubits.push_back(call.qubits[argument]);
  }
  return true;
}

}  // namespace taviron
