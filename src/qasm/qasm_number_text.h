#ifndef TAVIRON_QASM_QASM_NUMBER_TEXT_H
#define TAVIRON_QASM_QASM_NUMBER_TEXT_H

#include <string>

namespace taviron {

// A finite double as OpenQASM text that the reader evaluates to the very
// same double: "pi", "-pi", "pi/n" or "-pi/n" where that is exact, "0" or
// "-0.0" for the zeros, otherwise the shortest decimal that round-trips, with
// an exponent only after a fractional part ("1.0e-07", "2.5e+300").
std::string QasmNumberText(double value);

}  // namespace taviron

#endif
