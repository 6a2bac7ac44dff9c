// Gates defined in the text: reading their bodies, and applying a call of
// one as a single composite record.
#include <memory>
#include <new>
#include <sstream>
#include <utility>

#include "circuit/append_gate.h"
#include "qasm/decimal_index.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

}  // namespace

bool qasm2::ReadGateBody(QuantumCircuit& circuit, QasmToken& token) {
  const auto fail = [this](QasmErrorCode code) {
    error_code = code;
    return false;
  };
  // The first pass has accepted the name (a keyword only for a gate the
  // reader knows).
  QasmGateDefinition* definition = FindGateDefinition(token.text);
  if (definition == nullptr) return fail(QasmErrorCode::IDENTIFIER_EXPECTED);

  // The parameter and argument names were recorded by the first pass.
  do {
    token = NextSignificantToken(false);
    if (token.kind == Kind::END_OF_INPUT) return fail(QasmErrorCode::PREMATURE_END_OF_FILE);
  } while (token.kind != Kind::LEFT_BRACE);

  if (definition->extension != nullptr) {
    // The reader's own gate stands for the definition: its body, whatever
    // it calls, is passed over up to the first "}", as the first pass did.
    do {
      token = NextSignificantToken(false);
      if (token.kind == Kind::END_OF_INPUT) return fail(QasmErrorCode::PREMATURE_END_OF_FILE);
    } while (token.kind != Kind::RIGHT_BRACE);
    definition->body_read = true;
    return true;
  }

  while (true) {
    token = NextSignificantToken(false);
    if (token.kind == Kind::RIGHT_BRACE) {
      definition->body_read = true;
      return true;
    }
    if (token.kind == Kind::END_OF_INPUT) return fail(QasmErrorCode::RIGHT_PAREN_EXPECTED);
    // Only built-in gate and statement words, and the gates outside
    // qelib1.inc defined before, start a body statement; a call of another
    // defined gate is refused here.
    if (FindStatementWord(token.kind) == nullptr && !IsDefinedExtensionGate(token)) {
      return fail(QasmErrorCode::INVALID_INSTRUCTION);
    }
    QasmStatement statement;
    statement.gate_kind = token.kind;
    statement.gate_name = token.text;

    token = NextSignificantToken(false);
    if (token.kind == Kind::LEFT_PAREN) {
      // The parameters are kept as text and evaluated at every call.
      // They end at the matching ")", which must come before the statement's
      // ";" and the body's braces.
      int depth = 1;
      while (true) {
        token = NextSignificantToken(false);
        if (token.kind == Kind::END_OF_INPUT || token.kind == Kind::SEMICOLON ||
            token.kind == Kind::LEFT_BRACE || token.kind == Kind::RIGHT_BRACE) {
          return fail(QasmErrorCode::RIGHT_PAREN_EXPECTED);
        }
        if (token.kind == Kind::LEFT_PAREN) {
          ++depth;
        } else if (token.kind == Kind::RIGHT_PAREN && --depth == 0) {
          break;
        }
        statement.parameter_text += token.text + " ";
      }
      token = NextSignificantToken(false);
    }

    while (token.kind != Kind::SEMICOLON) {
      // The statement must end before the body does or the next statement
      // begins.
      if (token.kind == Kind::END_OF_INPUT || token.kind == Kind::LEFT_BRACE ||
          token.kind == Kind::RIGHT_BRACE ||
          FindStatementWord(token.kind) != nullptr) {
        return fail(QasmErrorCode::SEMICOLON_EXPECTED);
      }
      if (token.kind == Kind::NUMBER) {
        // A fixed qubit of the circuit.
        int32_t qubit = 0;
        if (!DecimalToInt32(token.text, qubit)) {
          return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
        }
        if (static_cast<uint64_t>(qubit) >= circuit.total_qubits) {
          return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
        }
        statement.qubits.push_back(qubit);
      } else if (token.kind == Kind::IDENTIFIER && IsQuantumRegister(token.text)) {
        // A fixed qubit given by register and index.
        const std::string register_name = token.text;
        token = NextSignificantToken(false);
        if (token.kind != Kind::LEFT_BRACKET) return fail(QasmErrorCode::LEFT_BRACKET_EXPECTED);
        token = NextSignificantToken(true);
        int32_t index = 0;
        if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, index)) {
          return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
        }
        if (index >= circuit.GetRegisterSize(register_name)) {
          return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
        }
        token = NextSignificantToken(true);
        if (token.kind != Kind::RIGHT_BRACKET) return fail(QasmErrorCode::RIGHT_BRACKET_EXPECTED);
        statement.qubits.push_back(
            circuit.GetQubitIndex(register_name, static_cast<uint64_t>(index)));
      } else if (token.kind == Kind::IDENTIFIER) {
        // A qubit argument, stored as the complement of its position.
        const std::vector<std::string>& arguments = definition->argument_names;
        size_t position = 0;
        while (position < arguments.size() && arguments[position] != token.text) {
          ++position;
        }
        if (position == arguments.size()) return fail(QasmErrorCode::IDENTIFIER_EXPECTED);
        statement.qubits.push_back(~static_cast<int64_t>(position));
      }
      // Any other token between the operands is passed over.
      token = NextSignificantToken(false);
      if (token.kind == Kind::COMMA) token = NextSignificantToken(false);
    }
    definition->body.push_back(std::move(statement));
  }
}

bool qasm2::IsDefinedExtensionGate(const QasmToken& token) {
  if (token.kind != Kind::IDENTIFIER) return false;
  const QasmGateDefinition* definition = FindGateDefinition(token.text);
  return definition != nullptr && definition->extension != nullptr && definition->body_read;
}

bool qasm2::EvaluateParameterText(const std::string& text,
                                  const std::vector<std::string>& names,
                                  const std::vector<double>& values,
                                  std::vector<double>& results) {
  // The text is read through the string stream. What the call was reading
  // (the loads text with its position and counters, or the file) is put
  // back afterwards, whatever happens.
  struct ActiveStreamRestorer {
    qasm2& reader;
    std::stringstream saved_stream;
    bool saved_reading_file;
    uint64_t saved_line, saved_column;
    char saved_last_char;
    ~ActiveStreamRestorer() {
      reader.string_stream = std::move(saved_stream);
      reader.reading_file = saved_reading_file;
      reader.string_line = saved_line;
      reader.string_column = saved_column;
      reader.string_last_char = saved_last_char;
    }
  } restorer{*this,       std::move(string_stream), reading_file,
             string_line, string_column,            string_last_char};
  string_stream = std::stringstream(text);
  reading_file = false;

  QasmToken token = NextSignificantToken(false);
  while (token.kind != Kind::END_OF_INPUT) {
    const ExpressionResult result = EvaluateExpression(token, false, names, values);
    if (!result.ok) return false;
    results.push_back(result.value);
    token = NextSignificantToken(false);
    if (token.kind == Kind::COMMA) token = NextSignificantToken(false);
  }
  return true;
}

bool qasm2::ApplyUserGate(QuantumCircuit& circuit, const QasmStatement& call) {
  const auto fail = [this](QasmErrorCode code) {
    error_code = code;
    return false;
  };
  const QasmGateDefinition* found = FindGateDefinition(call.gate_name);
  // Opaque gates have no body and are not searched; a gate whose body has
  // not been read yet is not defined at this point of the text.
  if (found == nullptr || !found->body_read) {
    return fail(QasmErrorCode::USER_GATE_NOT_FOUND);
  }
  const QasmGateDefinition& definition = *found;
  if (definition.extension != nullptr) {
    // The reader's own gate, with the exact counts of a built-in gate.
    const QasmExtensionGate& gate = *definition.extension;
    const GateArity arity = QasmExtensionArity(gate);
    if (call.qubits.size() != arity.qubits || call.parameters.size() != arity.parameters) {
      return fail(QasmErrorCode::INVALID_PARAMETER);
    }
    const std::vector<uint64_t> qubits(call.qubits.begin(), call.qubits.end());
    if (AppendGate(circuit, gate.id, qubits, call.parameters) == nullptr) {
      return fail(QasmErrorCode::INVALID_INSTRUCTION);
    }
    return true;
  }
  if (call.qubits.empty()) {
    // A whole register as the operand: a gate of one qubit argument is
    // applied to each of its qubits in turn (none for a register of size 0).
    if (definition.argument_names.size() != 1) {
      return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
    }
    QasmStatement single = call;
    for (int64_t qubit : StatementTargets(circuit, call)) {
      single.qubits = {qubit};
      if (!ApplyUserGate(circuit, single)) return false;
    }
    return true;
  }

  if (call.parameters.size() != definition.parameter_names.size()) {
    return fail(QasmErrorCode::PARAMETER_LIST_MISMATCH);
  }
  // A call alike to an earlier one appends the composite that one made.
  const auto gate = static_cast<size_t>(&definition - gate_definitions.data());
  if (GateRecordPtr earlier = call_records.Find(gate, call.qubits, call.parameters)) {
    circuit.gates.push_back(std::move(earlier));
    return true;
  }
  call_records.Reserve(gate, definition.body.size(), definition.name.size());

  // The body is replayed on a circuit of the same size named after the gate;
  // its qubit k is qubit k of the circuit being built. A body holds no
  // classical operation, so the replay circuit needs no classical bits.
  std::unique_ptr<QuantumCircuit> gate_circuit;
  try {
    gate_circuit = std::make_unique<QuantumCircuit>(circuit.total_qubits, 0,
                                                    definition.name, 0.0);
  } catch (const std::bad_alloc&) {
    return fail(QasmErrorCode::INSUFFICIENT_MEMORY);
  }

  for (const QasmStatement& body_statement : definition.body) {
    QasmStatement statement;
    statement.gate_kind = body_statement.gate_kind;
    statement.gate_name = body_statement.gate_name;
    // A statement without parameters has nothing to evaluate.
    if (!body_statement.parameter_text.empty() &&
        !EvaluateParameterText(body_statement.parameter_text,
                               definition.parameter_names, call.parameters,
                               statement.parameters)) {
      return false;
    }
    for (int64_t qubit : body_statement.qubits) {
      if (qubit >= 0) {
        statement.qubits.push_back(qubit);
        continue;
      }
      const auto argument = static_cast<uint64_t>(~qubit);
      if (argument >= call.qubits.size()) return fail(QasmErrorCode::NUMBER_OUT_OF_RANGE);
      statement.qubits.push_back(call.qubits[argument]);
    }
    if (!ApplyStatement(*gate_circuit, statement)) return false;
  }
  circuit.compose(*gate_circuit, {}, {}, false, false);
  // The composite spans the qubits it was called on and keeps the values it
  // was called with, as the composite of a gate method does.
  GateRecord& composite = *circuit.gates.back();
  composite.qubits.assign(call.qubits.begin(), call.qubits.end());
  composite.params = call.parameters;
  call_records.Keep(gate, call.qubits, call.parameters, circuit.gates.back());
  return true;
}

}  // namespace taviron
