// load and loads: prepare the reader, run both passes, build the circuit,
// and turn any failure into one exception.
#include <exception>
#include <variant>

#include "foundation/exceptions.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace {

const char kCannotOpenFile[] = "Can't open the given file.";
const char kQelib1Missing[] = "Default include file \"qelib1.inc\" is not included.\n";
const char kNotOpenQasm2[] = "Not OpenQasm 2.0.\n";
const char kNoQuantumRegister[] = "Atleast one quantum register must be defined.\n";
const char kNoQubit[] = "Atleast one qubit must be defined.\n";

}  // namespace

void qasm2::ResetForCall() {
  gate_definitions.clear();
  opaque_definitions.clear();
  qreg_declarations.clear();
  creg_declarations.clear();
  version_seen = false;
  qelib1_included = false;
  error_code = QasmErrorCode::NO_ERROR;
}

std::shared_ptr<QuantumCircuit> qasm2::load(const std::string& filename,
                                            const std::string& include_path,
                                            const std::string& /*include_input_directory*/,
                                            bool strict) {
  ResetForCall();
  // The file stays open for the whole call and is closed on every way out.
  struct FileCloser {
    TextModeFileStream& stream;
    ~FileCloser() { stream.close(); }
  } closer{file_stream};
  try {
    file_stream.open(filename);
  } catch (const std::exception&) {
    throw RunTimeError(kCannotOpenFile);
  }
  if (!file_stream.is_open()) throw RunTimeError(kCannotOpenFile);
  reading_file = true;
  this->include_path = include_path;
  return ReadCircuit(strict, strict);
}

std::shared_ptr<QuantumCircuit> qasm2::loads(const std::string& qasm2string,
                                             const std::string& include_path,
                                             const std::string& /*include_input_directory*/,
                                             bool strict) {
  ResetForCall();
  string_stream = std::stringstream(qasm2string);
  reading_file = false;
  this->include_path = include_path;
  // A text need not carry the version line, even when strict.
  return ReadCircuit(strict, false);
}

std::shared_ptr<QuantumCircuit> qasm2::ReadCircuit(bool require_include,
                                                   bool require_version) {
  const auto pass_failure = [this]() {
    return RunTimeError(reading_file
                            ? QasmPassFailureText(error_code, file_line, file_column)
                            : QasmPassFailureText(error_code, string_line, string_column));
  };

  if (!ParseDeclarations()) throw pass_failure();
  if (require_include && !qelib1_included) throw RunTimeError(kQelib1Missing);
  if (require_version && !version_seen) throw RunTimeError(kNotOpenQasm2);
  if (qreg_declarations.empty()) {
    error_code = QasmErrorCode::QUANTUM_REGISTER_EXPECTED;
    throw RunTimeError(kNoQuantumRegister);
  }
  bool has_qubit = false;
  for (const QasmRegisterDeclaration& declaration : qreg_declarations) {
    has_qubit = has_qubit || declaration.size > 0;
  }
  if (!has_qubit) {
    error_code = QasmErrorCode::QUBIT_EXPECTED;
    throw RunTimeError(kNoQubit);
  }

  // The circuit keeps the register objects of the declarations themselves.
  std::vector<std::shared_ptr<QuantumRegister>> quantum;
  for (const QasmRegisterDeclaration& declaration : qreg_declarations) {
    quantum.push_back(std::get<std::shared_ptr<QuantumRegister>>(declaration.created_register));
  }
  std::vector<std::shared_ptr<ClassicalRegister>> classical;
  for (const QasmRegisterDeclaration& declaration : creg_declarations) {
    classical.push_back(std::get<std::shared_ptr<ClassicalRegister>>(declaration.created_register));
  }
  auto circuit = std::make_shared<QuantumCircuit>(
      quantum, std::vector<std::shared_ptr<AncillaRegister>>(), classical, "", 0.0);

  Rewind();
  if (!ParseStatements(*circuit)) throw pass_failure();
  return circuit;
}
