// Applying one gate statement to a circuit: the gate its word names, with
// that gate's exact operand and parameter counts, or applied to each qubit
// for the one-qubit gates and reset, and the barrier.
#include <cstddef>
#include <optional>
#include <vector>

#include "circuit/append_gate.h"
#include "qasm/qasm_statements_pass.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

// The arity of the gate a word appends.
std::optional<GateArity> WordArity(const QasmStatementWord& word) {
  if (word.composite != CompositeKind::kNone) return AppendGateArity(word.composite);
  return AppendGateArity(word.gate);
}

// Appends the gate a word names; null where the circuit returns no gate.
std::unique_ptr<Gate> AppendWordGate(QuantumCircuit& circuit, const QasmStatementWord& word,
                                     const std::vector<uint64_t>& qubits,
                                     const std::vector<double>& parameters) {
  if (word.composite != CompositeKind::kNone) {
    return AppendGate(circuit, word.composite, qubits, parameters);
  }
  return AppendGate(circuit, word.gate, qubits, parameters);
}

}  // namespace

bool QasmStatementsPass::ApplyStatement(QuantumCircuit& circuit, const QasmStatement& statement) {
  if (statement.gate_kind == Kind::IDENTIFIER) return ApplyUserGate(circuit, statement);
  const QasmStatementWord* word = FindStatementWord(statement.gate_kind);
  if (word == nullptr) return false;
  switch (word->action) {
    case QasmStatementAction::kBarrier:
      return ApplyBarrier(circuit, statement);
    case QasmStatementAction::kEachQubit:
      return ApplyEachQubit(circuit, statement, word->gate);
    case QasmStatementAction::kGate:
      return ApplyGate(circuit, statement, *word);
    default:
      // measure, if and opaque: no operation.
      return false;
  }
}

bool QasmStatementsPass::ApplyGate(QuantumCircuit& circuit, const QasmStatement& statement,
                                   const QasmStatementWord& word) {
  const std::optional<GateArity> arity = WordArity(word);
  if (!arity || statement.qubits.size() != arity->qubits ||
      statement.parameters.size() != arity->parameters) {
    return reading_.Fail(Code::INVALID_PARAMETER);
  }
  const std::vector<uint64_t> qubits(statement.qubits.begin(), statement.qubits.end());
  if (AppendWordGate(circuit, word, qubits, statement.parameters) == nullptr) {
    return reading_.Fail(Code::INVALID_INSTRUCTION);
  }
  return true;
}

bool QasmStatementsPass::ApplyEachQubit(QuantumCircuit& circuit, const QasmStatement& statement,
                                        GateId gate) {
  // The parameters of the statement are read and ignored.
  for (int64_t qubit : StatementTargets(circuit, statement)) {
    if (AppendGate(circuit, gate, {static_cast<uint64_t>(qubit)}, {}) == nullptr) {
      return reading_.Fail(Code::INVALID_INSTRUCTION);
    }
  }
  return true;
}

bool QasmStatementsPass::ApplyBarrier(QuantumCircuit& circuit, const QasmStatement& statement) {
  // One barrier call over the whole list; a register of size 0 names no
  // qubit, and its barrier appends nothing.
  const std::vector<int64_t> targets = StatementTargets(circuit, statement);
  if (targets.empty()) return true;
  if (circuit.barrier_list(targets, "") == QuantumCircuit::BarrierNothingAppended) {
    return reading_.Fail(Code::INVALID_INSTRUCTION);
  }
  return true;
}

std::vector<int64_t> QasmStatementsPass::StatementTargets(const QuantumCircuit& circuit,
                                                          const QasmStatement& statement) {
  if (!statement.qubits.empty()) return statement.qubits;
  std::vector<int64_t> targets;
  const int64_t size = circuit.GetRegisterSize(statement.register_name);
  for (int64_t k = 0; k < size; ++k) {
    targets.push_back(circuit.GetQubitIndex(statement.register_name,
                                            static_cast<uint64_t>(k)));
  }
  return targets;
}

}  // namespace taviron
