#include "qasm/qasm_syntax_readers.h"

#include <charconv>
#include <cstdint>

#include "circuit/quantum_circuit.h"
#include "qasm/qasm_expression_evaluator.h"
#include "qasm/syntax_tables.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

SyntaxMatch MatchKind(const QasmSyntaxEntry& entry, const QasmToken& token) {
  return entry.kind == token.kind ? SyntaxMatch::kMatch : SyntaxMatch::kNoMatch;
}

// A gate statement read so far, and what its entries match against.
class StatementMatcher {
 public:
  StatementMatcher(QasmReading& reading, const QuantumCircuit& circuit, QasmToken& token,
                   QasmStatement& statement)
      : reading_(reading), circuit_(circuit), token_(token), statement_(statement) {}

  SyntaxMatch operator()(const QasmSyntaxEntry& entry) {
    switch (entry.kind) {
      case Kind::QREG_NAME:
        return MatchRegisterName();
      case Kind::EXPRESSION:
        return MatchExpression();
      case Kind::NUMBER:
        return MatchOperandIndex();
      default:
        return MatchKind(entry, token_);
    }
  }

 private:
  // An identifier that names a declared quantum register.
  SyntaxMatch MatchRegisterName() {
    if (token_.kind != Kind::IDENTIFIER ||
        !reading_.declarations().IsQuantumRegister(token_.text)) {
      return SyntaxMatch::kNoMatch;
    }
    statement_.register_name = token_.text;
    return SyntaxMatch::kMatch;
  }

  // A parameter: an expression without parameter names.
  SyntaxMatch MatchExpression() {
    const ExpressionResult result =
        QasmExpressionEvaluator(reading_).EvaluateExpression(token_, false, {}, {});
    if (!result.ok) {
      reading_.set_error_code(Code::EXPRESSION_ERROR);
      return SyntaxMatch::kFail;
    }
    statement_.parameters.push_back(result.value);
    return SyntaxMatch::kMatch;
  }

  // The index of an operand of the register named last.
  SyntaxMatch MatchOperandIndex() {
    if (token_.kind != Kind::NUMBER) return SyntaxMatch::kNoMatch;
    int32_t index = 0;
    const char* first = token_.text.data();
    const char* last = first + token_.text.size();
    if (std::from_chars(first, last, index).ec != std::errc()) {
      reading_.set_error_code(Code::NON_NEGATIVE_NUMBER_EXPECTED);
      return SyntaxMatch::kFail;
    }
    if (index >= circuit_.GetRegisterSize(statement_.register_name)) {
      reading_.set_error_code(Code::NUMBER_OUT_OF_RANGE);
      return SyntaxMatch::kFail;
    }
    statement_.qubits.push_back(
        circuit_.GetQubitIndex(statement_.register_name, static_cast<uint64_t>(index)));
    return SyntaxMatch::kMatch;
  }

  QasmReading& reading_;
  const QuantumCircuit& circuit_;
  QasmToken& token_;
  QasmStatement& statement_;
};

}  // namespace

std::string ReadNumber(QasmReading& reading, QasmToken token) {
  const QasmSyntaxEntry* state = QasmSyntaxTable::NumberStart;
  std::string text;
  while (true) {
    const QasmSyntaxEntry* entry = SelectSyntaxEntry(
        state, [&](const QasmSyntaxEntry& candidate) { return MatchKind(candidate, token); });
    if (entry->kind == Kind::LIST_END) break;
    text += token.text;
    if (entry->next == nullptr) {
      reading.set_error_code(Code::NO_ERROR);
      return text;
    }
    token = reading.tokens().NextToken(true);
    if (token.kind == Kind::NEWLINE || token.kind == Kind::END_OF_INPUT) break;
    state = entry->next;
  }
  reading.tokens().UnreadToken(token);
  return text;
}

bool ParseGateStatement(QasmReading& reading, const QuantumCircuit& circuit, QasmToken& token,
                        QasmStatement& statement) {
  statement.register_name.clear();
  statement.qubits.clear();
  statement.parameters.clear();
  StatementMatcher matcher(reading, circuit, token, statement);
  const QasmSyntaxEntry* state = QasmSyntaxTable::StatementStart;
  while (true) {
    const QasmSyntaxEntry* entry = SelectSyntaxEntry(state, matcher);
    if (entry == nullptr) return false;
    if (entry->kind == Kind::LIST_END) {
      reading.tokens().UnreadToken(token);
      return reading.Fail(Code::INVALID_PARAMETER);
    }
    if (entry->next == nullptr) {
      reading.set_error_code(Code::NO_ERROR);
      return true;
    }
    token = reading.tokens().NextSignificantToken(false);
    state = entry->next;
  }
}

}  // namespace taviron
