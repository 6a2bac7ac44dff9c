#ifndef TAVIRON_QASM_SYNTAX_TABLES_H
#define TAVIRON_QASM_SYNTAX_TABLES_H

#include "qasm/qasm_token.h"

namespace taviron {

// The two automata of the reader as constant tables. A state is a run of
// entries ending with a LIST_END entry; each entry names a token kind and
// the first entry of the state that follows it (null: accept). Besides token
// kinds, QREG_NAME matches the name of a declared quantum register and
// EXPRESSION a parameter expression.
struct QasmSyntaxEntry {
  QasmTokenKind kind;
  const QasmSyntaxEntry* next;
};

namespace QasmSyntaxTable {
// Start state of the number automaton: sign, digits, full stop, fraction
// digits, exponent letter, exponent sign, exponent digits.
extern const QasmSyntaxEntry NumberStart[];
// Start state of the gate-statement automaton, entered with the first token
// after the gate name.
extern const QasmSyntaxEntry StatementStart[];
}  // namespace QasmSyntaxTable

// The outcome of trying one entry against the current token.
enum class SyntaxMatch { kNoMatch, kMatch, kFail };

// Tries the entries of a state in order with `match` and returns the first
// that matches, or the state's LIST_END entry when none does, or null when
// `match` reports a failure.
template <typename Match>
const QasmSyntaxEntry* SelectSyntaxEntry(const QasmSyntaxEntry* state,
                                         Match&& match) {
  for (const QasmSyntaxEntry* entry = state;; ++entry) {
    if (entry->kind == QasmTokenKind::LIST_END) return entry;
    switch (match(*entry)) {
      case SyntaxMatch::kMatch:
        return entry;
      case SyntaxMatch::kFail:
        return nullptr;
      case SyntaxMatch::kNoMatch:
        break;
    }
  }
}

}  // namespace taviron

#endif
