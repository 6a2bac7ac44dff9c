#include "qasm/qasm_error_codes.h"

namespace taviron {

namespace {

using Code = QasmErrorCode;

struct ErrorRow {
  Code code;
  const char* message;
};

// Codes and their messages, in code order.
constexpr ErrorRow kErrorRows[] = {
    {Code::NO_ERROR, "No error"},
    {Code::IDENTIFIER_EXPECTED, "Identifier expected"},
    {Code::DUPLICATE_DEFINITION, "Duplicate definition"},
    {Code::INSUFFICIENT_MEMORY, "Insufficient memory"},
    {Code::LEFT_PAREN_EXPECTED, "Left paranthesis expected"},
    {Code::PARAMETER_EXPECTED, "Parameter expected"},
    {Code::PREMATURE_END_OF_FILE, "Premature end of file"},
    {Code::RIGHT_PAREN_EXPECTED, "Right paranthesis expected"},
    {Code::LEFT_BRACE_EXPECTED, "Left curly braces expected"},
    {Code::SEMICOLON_EXPECTED, "Semicolon expected"},
    {Code::LEFT_BRACKET_EXPECTED, "Left square bracket expected"},
    {Code::RIGHT_BRACKET_EXPECTED, "Right square bracket expected"},
    {Code::NON_NEGATIVE_NUMBER_EXPECTED, "Non-negative number expected"},
    {Code::QUOTATION_MARK_EXPECTED, "Quotation mark expected"},
    {Code::FILENAME_EXPECTED, "Filename expected"},
    {Code::FULL_STOP_EXPECTED, "Fullstop expected"},
    {Code::FILENAME_EXTENSION_EXPECTED, "Filename extension expected"},
    {Code::DEFAULT_INCLUDE_EXPECTED, "Default include expected"},
    {Code::INVALID_PARAMETER, "Invalid parameter"},
    {Code::EXPRESSION_ERROR, "Error in arithmatic expression"},
    {Code::DIVIDE_BY_ZERO, "Divide by zero"},
    {Code::NUMBER_FORMAT_ERROR, "Number format Error"},
    {Code::INVALID_INSTRUCTION, "Invalid instruction passed"},
    {Code::NUMBER_OUT_OF_RANGE, "Number is out of range"},
    {Code::USER_GATE_NOT_FOUND, "User defined gate not found"},
    {Code::PARAMETER_LIST_MISMATCH, "Parameter list is not matching"},
    {Code::INVALID_REGISTER_NAME, "Invalid Register Name"},
    {Code::INVALID_OPERATOR, "Invalid operator"},
    {Code::CLASSICAL_REGISTER_EXPECTED, "Classical register expected"},
    {Code::QUANTUM_REGISTER_EXPECTED, "Quantum register expected"},
    {Code::QUBIT_EXPECTED, "Atleast one qubit expected"},
    {Code::NOT_OPENQASM_2_0, "Not OpenQasm 2.0"},
    {Code::EQUALITY_EXPECTED, "Check for equality expected"},
    {Code::GATE_REGISTRATION_ERROR, "Error registering gate with the quantum circuit"},
};

}  // namespace

std::vector<std::string> BuildQasmErrorMessages() {
  std::vector<std::string> messages(sizeof(kErrorRows) / sizeof(kErrorRows[0]));
  for (const ErrorRow& row : kErrorRows) messages[static_cast<size_t>(row.code)] = row.message;
  return messages;
}

const std::vector<std::string> QasmErrorMessages = BuildQasmErrorMessages();

const std::string& QasmErrorMessage(QasmErrorCode code) {
  return QasmErrorMessages.at(static_cast<size_t>(code));
}

std::string QasmPassFailureText(QasmErrorCode error_code, uint64_t line, uint64_t column) {
  // Every code the reader stores lies in the table; anything else is shown
  // by its number rather than read out of bounds.
  const auto number = static_cast<int>(error_code);
  const std::string message = number >= 0 && static_cast<size_t>(number) < QasmErrorMessages.size()
                                  ? QasmErrorMessages[static_cast<size_t>(number)]
                                  : "code " + std::to_string(number);
  return QasmFailureText(message, line, column);
}

std::string QasmFailureText(const std::string& message, uint64_t line, uint64_t column) {
  return "Error " + message + " in line " + std::to_string(line + 1) + " at " +
         std::to_string(column);
}

}  // namespace taviron
