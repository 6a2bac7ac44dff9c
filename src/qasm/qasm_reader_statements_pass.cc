// The second pass: every statement becomes circuit operations.
#include <cstddef>
#include <variant>

#include "foundation/gate.h"
#include "qasm/decimal_index.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

// Sets the condition on every record appended to the instruction list from
// position `first` on, as c_if does on a gate handle. The records inside a
// composite keep theirs.
void ConditionAppendedRecords(QuantumCircuit& circuit, size_t first,
                              const QasmCondition& condition) {
  Gate appended;
  for (size_t k = first; k < circuit.gates.size(); ++k) {
    // A composite that other calls share gets a condition of its own.
    if (QasmCallRecords::IsShared(circuit.gates[k])) circuit.gates[k] = circuit.gates[k]->Clone();
    appended.records.push_back(circuit.gates[k]);
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

std::shared_ptr<ClassicalRegister> qasm2::DeclaredClassicalRegister(
    const std::string& name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return std::get<std::shared_ptr<ClassicalRegister>>(
      creg_declarations[entry->position].created_register);
}

bool qasm2::ParseStatements(QuantumCircuit& circuit) {
  // The composites of the calls are shared within this pass only.
  struct CallRecordsClearer {
    QasmCallRecords& records;
    ~CallRecordsClearer() { records.Clear(); }
  } clearer{call_records};
  call_records.Clear();
  Rewind();
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
        // Read by the first pass; skipped here up to and including its own
        // semicolon, so a statement after it on the same line still runs.
        while (token.kind != Kind::SEMICOLON && token.kind != Kind::END_OF_INPUT) {
          token = NextToken(false);
        }
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

bool qasm2::ParseAndApply(QuantumCircuit& circuit, QasmTokenKind kind, const std::string& text,
                          const QasmCondition* condition) {
  QasmToken token = NextToken(false);
  if (token.kind == Kind::END_OF_INPUT) return false;
  QasmStatement statement;
  if (!ParseGateStatement(circuit, token, statement)) return false;
  statement.gate_kind = kind;
  statement.gate_name = text;
  const size_t first = circuit.gates.size();
  if (!ApplyStatement(circuit, statement)) return false;
  if (condition != nullptr) ConditionAppendedRecords(circuit, first, *condition);
  return true;
}

bool qasm2::ParseMeasure(QuantumCircuit& circuit, QasmToken& token,
                         const QasmCondition* condition) {
  const auto fail = [this](QasmErrorCode code) {
    error_code = code;
    return false;
  };
  if (token.kind != Kind::IDENTIFIER || !IsQuantumRegister(token.text)) {
    return fail(QasmErrorCode::INVALID_REGISTER_NAME);
  }
  const std::string quantum_name = token.text;

  // Both forms end with the classical register's name; the indexed form
  // also has an index on each side.
  bool whole_registers = false;
  int32_t qubit_index = 0;
  int32_t bit_index = 0;
  const auto read_index = [&](int32_t& index) {
    token = NextSignificantToken(true);
    if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, index)) {
      return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
    }
    token = NextSignificantToken(true);
    if (token.kind != Kind::RIGHT_BRACKET) return fail(QasmErrorCode::RIGHT_BRACKET_EXPECTED);
    return true;
  };

  token = NextSignificantToken(false);
  if (token.kind == Kind::MINUS) {
    whole_registers = true;
  } else if (token.kind == Kind::LEFT_BRACKET) {
    if (!read_index(qubit_index)) return false;
    token = NextSignificantToken(false);
    if (token.kind != Kind::MINUS) return fail(QasmErrorCode::INVALID_OPERATOR);
  } else {
    return fail(QasmErrorCode::LEFT_BRACKET_EXPECTED);
  }
  token = NextSignificantToken(false);
  if (token.kind != Kind::GREATER) return fail(QasmErrorCode::INVALID_OPERATOR);
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) return fail(QasmErrorCode::CLASSICAL_REGISTER_EXPECTED);
  if (!IsClassicalRegister(token.text)) return fail(QasmErrorCode::INVALID_REGISTER_NAME);
  const std::shared_ptr<ClassicalRegister> classical = DeclaredClassicalRegister(token.text);
  if (!whole_registers) {
    token = NextSignificantToken(false);
    if (token.kind != Kind::LEFT_BRACKET) return fail(QasmErrorCode::LEFT_BRACKET_EXPECTED);
    if (!read_index(bit_index)) return false;
  }
  token = NextSignificantToken(!whole_registers);
  if (token.kind != Kind::SEMICOLON) return fail(QasmErrorCode::SEMICOLON_EXPECTED);

  const int64_t quantum_size = circuit.GetRegisterSize(quantum_name);
  const int64_t classical_size = classical->size;
  const size_t first = circuit.gates.size();
  const auto measure = [&](int64_t qubit, int64_t bit) {
    if (qubit >= quantum_size || bit >= classical_size) {
      return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
    }
    const auto global_qubit = static_cast<uint64_t>(
        circuit.GetQubitIndex(quantum_name, static_cast<uint64_t>(qubit)));
    const auto global_bit =
        static_cast<uint64_t>(static_cast<int64_t>(classical->first_index) + bit);
    if (circuit.measure(global_qubit, global_bit, "") == nullptr) {
      return fail(QasmErrorCode::INVALID_INSTRUCTION);
    }
    return true;
  };
  if (whole_registers) {
    for (int64_t j = 0; j < quantum_size; ++j) {
      if (!measure(j, j)) return false;
    }
  } else if (!measure(qubit_index, bit_index)) {
    return false;
  }
  if (condition != nullptr) ConditionAppendedRecords(circuit, first, *condition);
  return true;
}

bool qasm2::ParseIf(QuantumCircuit& circuit, QasmToken& token) {
  const auto fail = [this](QasmErrorCode code) {
    error_code = code;
    return false;
  };
  if (token.kind != Kind::LEFT_PAREN) return fail(QasmErrorCode::LEFT_PAREN_EXPECTED);
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) return fail(QasmErrorCode::IDENTIFIER_EXPECTED);
  if (!IsClassicalRegister(token.text)) {
    return fail(QasmErrorCode::CLASSICAL_REGISTER_EXPECTED);
  }
  QasmCondition condition;
  condition.classical_register = DeclaredClassicalRegister(token.text);

  token = NextSignificantToken(false);
  if (token.kind == Kind::LEFT_BRACKET) {
    int32_t bit = 0;
    token = NextSignificantToken(true);
    if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, bit)) {
      return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
    }
    token = NextSignificantToken(true);
    if (token.kind != Kind::RIGHT_BRACKET) return fail(QasmErrorCode::RIGHT_BRACKET_EXPECTED);
    token = NextSignificantToken(false);
    if (token.kind != Kind::EQUALS) return fail(QasmErrorCode::EQUALITY_EXPECTED);
    condition.on_bit = true;
    condition.bit_index = static_cast<uint64_t>(bit);
  } else if (token.kind != Kind::EQUALS) {
    return fail(QasmErrorCode::LEFT_BRACKET_EXPECTED);
  }
  // "==" is two tokens.
  token = NextSignificantToken(false);
  if (token.kind != Kind::EQUALS) return fail(QasmErrorCode::EQUALITY_EXPECTED);
  int32_t value = 0;
  token = NextSignificantToken(true);
  if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, value)) {
    return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
  }
  condition.value = static_cast<uint64_t>(value);
  token = NextSignificantToken(false);
  if (token.kind != Kind::RIGHT_PAREN) return fail(QasmErrorCode::RIGHT_PAREN_EXPECTED);
  if (condition.on_bit &&
      static_cast<int64_t>(condition.bit_index) >= condition.classical_register->size) {
    return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
  }

  token = NextSignificantToken(false);
  if (token.kind == Kind::KW_MEASURE) {
    token = NextSignificantToken(false);
    return ParseMeasure(circuit, token, &condition);
  }
  return ParseAndApply(circuit, token.kind, token.text, &condition);
}

}  // namespace taviron
