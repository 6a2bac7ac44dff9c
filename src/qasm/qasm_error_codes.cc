#include "qasm/qasm_error_codes.h"

namespace taviron {

namespace {

using namespace QasmErrorCode;

struct ErrorRow {
  int code;
  const char* message;
};

// Codes and their messages, in code order.
constexpr ErrorRow kErrorRows[] = {
    {NO_ERROR, "No error"},
    {IDENTIFIER_EXPECTED, "Identifier expected"},
    {DUPLICATE_DEFINITION, "Duplicate definition"},
    {INSUFFICIENT_MEMORY, "Insufficient memory"},
    {LEFT_PAREN_EXPECTED, "Left paranthesis expected"},
    {PARAMETER_EXPECTED, "Parameter expected"},
    {PREMATURE_END_OF_FILE, "Premature end of file"},
    {RIGHT_PAREN_EXPECTED, "Right paranthesis expected"},
    {LEFT_BRACE_EXPECTED, "Left curly braces expected"},
    {SEMICOLON_EXPECTED, "Semicolon expected"},
    {LEFT_BRACKET_EXPECTED, "Left square bracket expected"},
    {RIGHT_BRACKET_EXPECTED, "Right square bracket expected"},
    {NON_NEGATIVE_NUMBER_EXPECTED, "Non-negative number expected"},
    {QUOTATION_MARK_EXPECTED, "Quotation mark expected"},
    {FILENAME_EXPECTED, "Filename expected"},
    {FULL_STOP_EXPECTED, "Fullstop expected"},
    {FILENAME_EXTENSION_EXPECTED, "Filename extension expected"},
    {DEFAULT_INCLUDE_EXPECTED, "Default include expected"},
    {INVALID_PARAMETER, "Invalid parameter"},
    {EXPRESSION_ERROR, "Error in arithmatic expression"},
    {DIVIDE_BY_ZERO, "Divide by zero"},
    {NUMBER_FORMAT_ERROR, "Number format Error"},
    {INVALID_INSTRUCTION, "Invalid instruction passed"},
    {NUMBER_OUT_OF_RANGE, "Number is out of range"},
    {USER_GATE_NOT_FOUND, "User defined gate not found"},
    {PARAMETER_LIST_MISMATCH, "Parameter list is not matching"},
    {INVALID_REGISTER_NAME, "Invalid Register Name"},
    {INVALID_OPERATOR, "Invalid operator"},
    {CLASSICAL_REGISTER_EXPECTED, "Classical register expected"},
    {QUANTUM_REGISTER_EXPECTED, "Quantum register expected"},
    {QUBIT_EXPECTED, "Atleast one qubit expected"},
    {NOT_OPENQASM_2_0, "Not OpenQasm 2.0"},
    {EQUALITY_EXPECTED, "Check for equality expected"},
    {GATE_REGISTRATION_ERROR, "Error registering gate with the quantum circuit"},
};

}  // namespace

std::vector<std::string> BuildQasmErrorMessages() {
  std::vector<std::string> messages(sizeof(kErrorRows) / sizeof(kErrorRows[0]));
  for (const ErrorRow& row : kErrorRows) messages[row.code] = row.message;
  return messages;
}

const std::vector<std::string> QasmErrorMessages = BuildQasmErrorMessages();

std::string QasmPassFailureText(int error_code, uint64_t line, uint64_t column) {
  // Every code the reader stores lies in the table; anything else is shown
  // by its number rather than read out of bounds.
  const std::string message =
      error_code >= 0 && static_cast<size_t>(error_code) < QasmErrorMessages.size()
          ? QasmErrorMessages[error_code]
          : "code " + std::to_string(error_code);
  return QasmFailureText(message, line, column);
}

std::string QasmFailureText(const std::string& message, uint64_t line, uint64_t column) {
  return "Error " + message + " in line " + std::to_string(line + 1) + " at " +
         std::to_string(column);
}

}  // namespace taviron
