#ifndef TAVIRON_QASM_QASM_SYNTAX_READERS_H
#define TAVIRON_QASM_QASM_SYNTAX_READERS_H

#include <string>

#include "qasm/qasm_reading.h"
#include "qasm/qasm_records.h"
#include "qasm/qasm_token.h"

namespace taviron {

class QuantumCircuit;

// The two readers driven by the syntax tables (syntax_tables.h).

// The text of the number that begins with `token`, as far as the number
// automaton takes it (its parts after the first are read split, so "5e" is
// 5 and e); the token that ends it is put back. Records NO_ERROR when the
// number ends in exponent digits, nothing otherwise; never fails.
std::string ReadNumber(QasmReading& reading, QasmToken token);

// A gate statement after its name, from `token` (its first token) up to
// and including the semicolon: a parenthesised parameter list of
// expressions without parameter names, then indexed operands of declared
// quantum registers, or one whole register alone. Fills register_name,
// qubits (global indices of `circuit`) and parameters; `token` ends as the
// last token read. Fails with INVALID_PARAMETER (the token that fits
// nothing put back), EXPRESSION_ERROR, NON_NEGATIVE_NUMBER_EXPECTED or
// NUMBER_OUT_OF_RANGE.
bool ParseGateStatement(QasmReading& reading, const QuantumCircuit& circuit, QasmToken& token,
                        QasmStatement& statement);

}  // namespace taviron

#endif
