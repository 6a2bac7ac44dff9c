#ifndef TAVIRON_QASM_QASM_KEYWORD_TABLE_H
#define TAVIRON_QASM_QASM_KEYWORD_TABLE_H

#include <string>
#include <vector>

#include "foundation/composite_kind.h"
#include "foundation/gate_id.h"
#include "qasm/qasm_token.h"

namespace taviron {

// What a statement that begins with a word does.
enum class QasmStatementAction {
  kNone,       // no statement word (declarations, "gate", numbers' parts, pi, functions)
  kOwnReader,  // measure, if, opaque: read by readers of their own; no gate operation
  kBarrier,    // one barrier over the operands, or over every qubit of a register
  kEachQubit,  // a one-qubit gate, or reset, on each operand or each qubit of a register
  kGate,       // one gate of exact qubit and parameter counts (those of its method)
};

// The statement a word begins and the gate it appends: `gate` for kEachQubit
// and kGate, `composite` too for a gate that is a fixed composite (its
// `gate` is then GateId::kComposite).
struct QasmStatementWord {
  QasmStatementAction action = QasmStatementAction::kNone;
  GateId gate = GateId::kNone;
  CompositeKind composite = CompositeKind::kNone;
};

// One reserved word of the reader, the token kind it is given and, for the
// gate and statement words, what its statements do.
struct QasmKeyword {
  std::string keyword;
  QasmTokenKind kind;
  QasmStatementWord statement;
};

// The 68 reserved words in their fixed search order. Built once, shared by
// every reader, never changed.
std::vector<QasmKeyword> BuildQasmKeywordTable();
extern const std::vector<QasmKeyword> QasmKeywordTable;

// The kind of the first table entry spelled exactly like word (case counts),
// or QasmTokenKind::IDENTIFIER when there is none. A linear scan that
// compares lengths before bytes.
QasmTokenKind FindKeywordKind(const std::string& word);

// The gate or statement word of token kind `kind`, or nullptr for a kind
// that begins no statement.
const QasmStatementWord* FindStatementWord(QasmTokenKind kind);

}  // namespace taviron

#endif
