// The pass loop, gate statements, measure and if.
#include "qasm/qasm_statements_pass.h"

#include <cstddef>

#include "foundation/gate.h"
#include "qasm/decimal_index.h"
#include "qasm/qasm_syntax_readers.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

// Sets the condition on every record appended to the instruction list from
// position `first` on, as c_if does on a gate handle. The records inside a
// composite keep theirs.
void ConditionAppendedRecords(QuantumCircuit& circuit, size_t first,
                              const QasmCondition& condition) {
  Gate appended;
  GateRecordList& gates = circuit.mutable_gates();
  for (size_t k = first; k < gates.size(); ++k) {
    // A composite that other calls share gets a condition of its own.
    if (QasmCallRecords::IsShared(gates[k])) gates[k] = gates[k]->Clone();
    appended.records.push_back(gates[k]);
  }
  if (condition.on_bit) {
    const auto first_bit =
        static_cast<uint64_t>(static_cast<int64_t>(condition.classical_register->first_index));
    appended.c_if_clbit(first_bit + condition.bit_index, condition.value);
  } else {
    appended.c_if(condition.classical_register, condition.value);
  }
}

}  // namespace

bool QasmStatementsPass::ParseStatements(QuantumCircuit& circuit) {
  // The composites of the calls are shared within this pass only.
  struct CallRecordsClearer {
    QasmCallRecords& records;
    ~CallRecordsClearer() { records.Clear(); }
  } clearer{call_records_};
  call_records_.Clear();
  reading_.source().Rewind();
  while (true) {
    QasmToken token = NextSignificantToken(false);
    bool ok = true;
    switch (token.kind) {
      case Kind::END_OF_INPUT:
        return true;
      case Kind::SEMICOLON:
        break;
      case Kind::KW_OPENQASM:
      case Kind::KW_INCLUDE:
      case Kind::KW_QREG:
      case Kind::KW_CREG:
      case Kind::KW_OPAQUE:
        SkipDeclaration(token);
        break;
      case Kind::KW_GATE:
        token = NextSignificantToken(false);
        ok = ReadGateBody(circuit, token);
        break;
      case Kind::KW_MEASURE:
        token = NextSignificantToken(false);
        ok = ParseMeasure(circuit, token, nullptr);
        break;
      case Kind::KW_IF:
        token = NextSignificantToken(false);
        ok = ParseIf(circuit, token);
        break;
      default:
        ok = ParseAndApply(circuit, token.kind, token.text, nullptr);
        break;
    }
    if (!ok) return false;
  }
}

void QasmStatementsPass::SkipDeclaration(QasmToken& token) {
  // Up to its own semicolon, so that a statement after it on the same line
  // still runs.
  while (token.kind != Kind::SEMICOLON && token.kind != Kind::END_OF_INPUT) {
    token = NextToken(false);
  }
}

bool QasmStatementsPass::ParseAndApply(QuantumCircuit& circuit, QasmTokenKind kind,
                                       const std::string& text, const QasmCondition* condition) {
  QasmToken token = NextToken(false);
  if (token.kind == Kind::END_OF_INPUT) return false;
  QasmStatement statement;
  if (!ParseGateStatement(reading_, circuit, token, statement)) return false;
  statement.gate_kind = kind;
  statement.gate_name = text;
  const size_t first = circuit.gates().size();
  if (!ApplyStatement(circuit, statement)) return false;
  if (condition != nullptr) ConditionAppendedRecords(circuit, first, *condition);
  return true;
}

bool QasmStatementsPass::ReadIndex(QasmToken& token, int32_t& index) {
  token = NextSignificantToken(true);
  if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, index)) {
    return reading_.Fail(Code::NON_NEGATIVE_NUMBER_EXPECTED);
  }
  token = NextSignificantToken(true);
  if (token.kind != Kind::RIGHT_BRACKET) return reading_.Fail(Code::RIGHT_BRACKET_EXPECTED);
  return true;
}

bool QasmStatementsPass::ParseMeasure(QuantumCircuit& circuit, QasmToken& token,
                                      const QasmCondition* condition) {
  MeasureOperands operands;
  return ReadMeasureOperands(token, operands) && ApplyMeasure(circuit, operands, condition);
}

bool QasmStatementsPass::ReadMeasureOperands(QasmToken& token, MeasureOperands& operands) {
  // "q -> c;" or "q[i] -> c[j];".
  const QasmDeclarations& declarations = reading_.declarations();
  if (token.kind != Kind::IDENTIFIER || !declarations.IsQuantumRegister(token.text)) {
    return reading_.Fail(Code::INVALID_REGISTER_NAME);
  }
  operands.quantum_register = token.text;
  token = NextSignificantToken(false);
  if (token.kind == Kind::MINUS) {
    operands.whole_registers = true;
  } else if (token.kind == Kind::LEFT_BRACKET) {
    if (!ReadIndex(token, operands.qubit_index)) return false;
    token = NextSignificantToken(false);
    if (token.kind != Kind::MINUS) return reading_.Fail(Code::INVALID_OPERATOR);
  } else {
    return reading_.Fail(Code::LEFT_BRACKET_EXPECTED);
  }
  token = NextSignificantToken(false);
  if (token.kind != Kind::GREATER) return reading_.Fail(Code::INVALID_OPERATOR);
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) return reading_.Fail(Code::CLASSICAL_REGISTER_EXPECTED);
  if (!declarations.IsClassicalRegister(token.text)) {
    return reading_.Fail(Code::INVALID_REGISTER_NAME);
  }
  operands.classical_register = declarations.DeclaredClassicalRegister(token.text);
  if (!operands.whole_registers) {
    token = NextSignificantToken(false);
    if (token.kind != Kind::LEFT_BRACKET) return reading_.Fail(Code::LEFT_BRACKET_EXPECTED);
    if (!ReadIndex(token, operands.bit_index)) return false;
  }
  token = NextSignificantToken(!operands.whole_registers);
  if (token.kind != Kind::SEMICOLON) return reading_.Fail(Code::SEMICOLON_EXPECTED);
  return true;
}

bool QasmStatementsPass::ApplyMeasure(QuantumCircuit& circuit, const MeasureOperands& operands,
                                      const QasmCondition* condition) {
  const int64_t quantum_size = circuit.GetRegisterSize(operands.quantum_register);
  const size_t first = circuit.gates().size();
  if (operands.whole_registers) {
    // Qubit j into bit j.
    for (int64_t j = 0; j < quantum_size; ++j) {
      if (!MeasureQubit(circuit, operands, quantum_size, j, j)) return false;
    }
  } else if (!MeasureQubit(circuit, operands, quantum_size, operands.qubit_index,
                           operands.bit_index)) {
    return false;
  }
  if (condition != nullptr) ConditionAppendedRecords(circuit, first, *condition);
  return true;
}

bool QasmStatementsPass::MeasureQubit(QuantumCircuit& circuit, const MeasureOperands& operands,
                                      int64_t quantum_size, int64_t qubit, int64_t bit) {
  const ClassicalRegister& classical = *operands.classical_register;
  if (qubit >= quantum_size || bit >= classical.size) {
    return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
  }
  const auto global_qubit = static_cast<uint64_t>(
      circuit.GetQubitIndex(operands.quantum_register, static_cast<uint64_t>(qubit)));
  const auto global_bit = static_cast<uint64_t>(static_cast<int64_t>(classical.first_index) + bit);
  if (circuit.measure(global_qubit, global_bit, "") == nullptr) {
    return reading_.Fail(Code::INVALID_INSTRUCTION);
  }
  return true;
}

bool QasmStatementsPass::ParseIf(QuantumCircuit& circuit, QasmToken& token) {
  QasmCondition condition;
  if (!ReadCondition(token, condition)) return false;
  token = NextSignificantToken(false);
  if (token.kind == Kind::KW_MEASURE) {
    token = NextSignificantToken(false);
    return ParseMeasure(circuit, token, &condition);
  }
  return ParseAndApply(circuit, token.kind, token.text, &condition);
}

bool QasmStatementsPass::ReadCondition(QasmToken& token, QasmCondition& condition) {
  // "(c == v)" or "(c[i] == v)"; "==" is two tokens.
  if (token.kind != Kind::LEFT_PAREN) return reading_.Fail(Code::LEFT_PAREN_EXPECTED);
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) return reading_.Fail(Code::IDENTIFIER_EXPECTED);
  if (!reading_.declarations().IsClassicalRegister(token.text)) {
    return reading_.Fail(Code::CLASSICAL_REGISTER_EXPECTED);
  }
  condition.classical_register = reading_.declarations().DeclaredClassicalRegister(token.text);
  token = NextSignificantToken(false);
  if (token.kind == Kind::LEFT_BRACKET) {
    int32_t bit = 0;
    if (!ReadIndex(token, bit)) return false;
    token = NextSignificantToken(false);
    if (token.kind != Kind::EQUALS) return reading_.Fail(Code::EQUALITY_EXPECTED);
    condition.on_bit = true;
    condition.bit_index = static_cast<uint64_t>(bit);
  } else if (token.kind != Kind::EQUALS) {
    return reading_.Fail(Code::LEFT_BRACKET_EXPECTED);
  }
  token = NextSignificantToken(false);
  if (token.kind != Kind::EQUALS) return reading_.Fail(Code::EQUALITY_EXPECTED);
  int32_t value = 0;
  token = NextSignificantToken(true);
  if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, value)) {
    return reading_.Fail(Code::NON_NEGATIVE_NUMBER_EXPECTED);
  }
  condition.value = static_cast<uint64_t>(value);
  token = NextSignificantToken(false);
  if (token.kind != Kind::RIGHT_PAREN) return reading_.Fail(Code::RIGHT_PAREN_EXPECTED);
  if (condition.on_bit &&
      static_cast<int64_t>(condition.bit_index) >= condition.classical_register->size) {
    return reading_.Fail(Code::NUMBER_OUT_OF_RANGE);
  }
  return true;
}

}  // namespace taviron
