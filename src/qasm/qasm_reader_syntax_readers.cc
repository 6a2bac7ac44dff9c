// The two readers driven by the syntax tables: numbers and gate statements.
#include <charconv>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"
#include "qasm/syntax_tables.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

}  // namespace

std::string qasm2::ReadNumber(QasmToken token) {
  const QasmSyntaxEntry* state = QasmSyntaxTable::NumberStart;
  std::string text;
  while (true) {
    const QasmSyntaxEntry* entry =
        SelectSyntaxEntry(state, [&](const QasmSyntaxEntry& candidate) {
          return candidate.kind == token.kind ? SyntaxMatch::kMatch
                                              : SyntaxMatch::kNoMatch;
        });
    if (entry->kind == Kind::LIST_END) break;
    text += token.text;
    if (entry->next == nullptr) {
      error_code = QasmErrorCode::NO_ERROR;
      return text;
    }
    // The parts after the first are read split, so "5e" is 5 and e.
    token = NextToken(true);
    if (token.kind == Kind::NEWLINE || token.kind == Kind::END_OF_INPUT) break;
    state = entry->next;
  }
  UnreadToken(token);
  return text;
}

bool qasm2::ParseGateStatement(QuantumCircuit& circuit, QasmToken& token,
                               QasmStatement& statement) {
  statement.register_name.clear();
  statement.qubits.clear();
  statement.parameters.clear();
  const QasmSyntaxEntry* state = QasmSyntaxTable::StatementStart;
  while (true) {
    const QasmSyntaxEntry* entry = SelectSyntaxEntry(
        state, [&](const QasmSyntaxEntry& candidate) {
          switch (candidate.kind) {
            case Kind::QREG_NAME:
              if (token.kind != Kind::IDENTIFIER || !IsQuantumRegister(token.text)) {
                return SyntaxMatch::kNoMatch;
              }
              statement.register_name = token.text;
              return SyntaxMatch::kMatch;
            case Kind::EXPRESSION: {
              const ExpressionResult result = EvaluateExpression(token, false, {}, {});
              if (!result.ok) {
                error_code = QasmErrorCode::EXPRESSION_ERROR;
                return SyntaxMatch::kFail;
              }
              statement.parameters.push_back(result.value);
              return SyntaxMatch::kMatch;
            }
            case Kind::NUMBER: {
              if (token.kind != Kind::NUMBER) return SyntaxMatch::kNoMatch;
              int32_t index = 0;
              const char* first = token.text.data();
              const char* last = first + token.text.size();
              if (std::from_chars(first, last, index).ec != std::errc()) {
                error_code = QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED;
                return SyntaxMatch::kFail;
              }
              if (index >= circuit.GetRegisterSize(statement.register_name)) {
                error_code = QasmErrorCode::NUMBER_OUT_OF_RANGE;
                return SyntaxMatch::kFail;
              }
              statement.qubits.push_back(circuit.GetQubitIndex(
                  statement.register_name, static_cast<uint64_t>(index)));
              return SyntaxMatch::kMatch;
            }
            default:
              return candidate.kind == token.kind ? SyntaxMatch::kMatch
                                                  : SyntaxMatch::kNoMatch;
          }
        });
    if (entry == nullptr) return false;
    if (entry->kind == Kind::LIST_END) {
      error_code = QasmErrorCode::INVALID_PARAMETER;
      UnreadToken(token);
      return false;
    }
    if (entry->next == nullptr) {
      error_code = QasmErrorCode::NO_ERROR;
      return true;
    }
    token = NextToken(false);
    SkipNewlines(token);
    state = entry->next;
  }
}

}  // namespace taviron
