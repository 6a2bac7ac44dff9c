#ifndef TAVIRON_QASM_QASM_ERROR_CODES_H
#define TAVIRON_QASM_QASM_ERROR_CODES_H

#include <cstdint>
#include <string>
#include <vector>

namespace taviron {

// The reader's error codes: a failing operation records one and returns
// false; the number of a code indexes QasmErrorMessages.
enum class QasmErrorCode : int {
  NO_ERROR = 0,
  IDENTIFIER_EXPECTED = 1,
  DUPLICATE_DEFINITION = 2,
  INSUFFICIENT_MEMORY = 3,
  LEFT_PAREN_EXPECTED = 4,
  PARAMETER_EXPECTED = 5,
  PREMATURE_END_OF_FILE = 6,
  RIGHT_PAREN_EXPECTED = 7,
  LEFT_BRACE_EXPECTED = 8,
  SEMICOLON_EXPECTED = 9,
  LEFT_BRACKET_EXPECTED = 10,
  RIGHT_BRACKET_EXPECTED = 11,
  NON_NEGATIVE_NUMBER_EXPECTED = 12,
  QUOTATION_MARK_EXPECTED = 13,
  FILENAME_EXPECTED = 14,
  FULL_STOP_EXPECTED = 15,
  FILENAME_EXTENSION_EXPECTED = 16,
  DEFAULT_INCLUDE_EXPECTED = 17,
  INVALID_PARAMETER = 18,
  EXPRESSION_ERROR = 19,
  DIVIDE_BY_ZERO = 20,
  NUMBER_FORMAT_ERROR = 21,
  INVALID_INSTRUCTION = 22,
  NUMBER_OUT_OF_RANGE = 23,
  USER_GATE_NOT_FOUND = 24,
  PARAMETER_LIST_MISMATCH = 25,
  INVALID_REGISTER_NAME = 26,
  INVALID_OPERATOR = 27,
  CLASSICAL_REGISTER_EXPECTED = 28,
  QUANTUM_REGISTER_EXPECTED = 29,
  QUBIT_EXPECTED = 30,
  NOT_OPENQASM_2_0 = 31,
  EQUALITY_EXPECTED = 32,
  GATE_REGISTRATION_ERROR = 33,
};

// One message per code, indexed by the code. Built once, never changed.
std::vector<std::string> BuildQasmErrorMessages();
extern const std::vector<std::string> QasmErrorMessages;
// The message of a code.
const std::string& QasmErrorMessage(QasmErrorCode code);

// The text of a failed pass: "Error <message> in line <line + 1> at
// <column>", with the counters of the stream that was read.
std::string QasmPassFailureText(QasmErrorCode error_code, uint64_t line, uint64_t column);
// The same text with a message of the driver's own.
std::string QasmFailureText(const std::string& message, uint64_t line, uint64_t column);

}  // namespace taviron

#endif
