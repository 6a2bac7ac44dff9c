// load and loads: prepare the reader, run both passes, build the circuit,
// and turn any failure into one exception.
#include <exception>
#include <array>
#include <string>
#include <variant>

#include "foundation/exceptions.h"
#include "foundation/file_name_check.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

const char kCannotOpenFile[] = "Can't open the given file.";
const char kQelib1Missing[] = "Default include file \"qelib1.inc\" is not included.\n";
const char kNotOpenQasm2[] = "Not OpenQasm 2.0.\n";
const char kNoQuantumRegister[] = "Atleast one quantum register must be defined.\n";
const char kNoQubit[] = "Atleast one qubit must be defined.\n";
// The declarations pass fails without a code of its own when it finds
// neither the version line nor a declaration; these say which case it was.
const char kEmptyProgram[] = "Empty program: no statement found";
const char kNothingDeclared[] = "No OPENQASM 2.0 line and no declaration found; first statement";

// Larger totals are refused by the circuit constructor.
constexpr int64_t kMaxQubitTotal = 100;

// Saves the process-wide register and circuit counters and, unless told to
// keep the new values, restores them when it goes out of scope.
class ProcessCountersRestorer {
 public:
  ProcessCountersRestorer() {
    for (size_t k = 0; k < kCounters.size(); ++k) saved_[k] = *kCounters[k];
  }
  ProcessCountersRestorer(const ProcessCountersRestorer&) = delete;
  ProcessCountersRestorer& operator=(const ProcessCountersRestorer&) = delete;
  ~ProcessCountersRestorer() {
    if (keep_) return;
    for (size_t k = 0; k < kCounters.size(); ++k) *kCounters[k] = saved_[k];
  }
  void Keep() { keep_ = true; }

 private:
  static constexpr std::array<int32_t*, 7> kCounters = {
      &QuantumRegisterCounter,     &AncillaRegisterCounter,
      &ClassicalRegisterCounter,   &QuantumRegisterNameCounter,
      &AncillaRegisterNameCounter, &ClassicalRegisterNameCounter,
      &CircuitNameCounter};
  std::array<int32_t, 7> saved_{};
  bool keep_ = false;
};

// One register object per declaration, stored in the declaration too; adds
// the sizes to `total`.
template <class Register>
std::vector<std::shared_ptr<Register>> MakeRegisters(
    std::vector<QasmRegisterDeclaration>& declarations, int64_t& total) {
  std::vector<std::shared_ptr<Register>> registers;
  for (QasmRegisterDeclaration& declaration : declarations) {
    auto reg = std::make_shared<Register>(static_cast<int32_t>(declaration.size),
                                          declaration.name);
    declaration.created_register = reg;
    registers.push_back(std::move(reg));
    total += declaration.size;
  }
  return registers;
}

}  // namespace

void qasm2::ResetForCall() {
  gate_definitions.clear();
  opaque_definitions.clear();
  qreg_declarations.clear();
  creg_declarations.clear();
  version_seen = false;
  qelib1_included = false;
  error_code = QasmErrorCode::NO_ERROR;
  name_index.Clear();
}

std::shared_ptr<QuantumCircuit> qasm2::load(const std::string& filename,
                                            const std::string& include_path,
                                            const std::string& /*include_input_directory*/,
                                            bool strict) {
  RequireNoNulInFileName(filename);
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
  const auto failure = [this](const std::string& message) {
    return RunTimeError(reading_file ? QasmFailureText(message, file_line, file_column)
                                     : QasmFailureText(message, string_line, string_column));
  };
  const auto pass_failure = [this]() {
    return RunTimeError(reading_file
                            ? QasmPassFailureText(error_code, file_line, file_column)
                            : QasmPassFailureText(error_code, string_line, string_column));
  };

  if (!ParseDeclarations()) {
    if (error_code != QasmErrorCode::NO_ERROR) throw pass_failure();
    // Found nothing to read: an empty text, or statements without the
    // declarations they need, placed at the first of them.
    Rewind();
    const bool empty = NextSignificantToken(false).kind == QasmTokenKind::END_OF_INPUT;
    throw failure(empty ? kEmptyProgram : kNothingDeclared);
  }
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

  // From here on registers and the circuit are made, which moves the
  // process-wide counters; a load that fails puts them back.
  ProcessCountersRestorer counters;

  // The circuit keeps the register objects of the declarations themselves.
  int64_t qubit_total = 0;
  const auto quantum = MakeRegisters<QuantumRegister>(qreg_declarations, qubit_total);
  int64_t clbit_total = 0;
  auto classical = MakeRegisters<ClassicalRegister>(creg_declarations, clbit_total);
  // The circuit needs a classical bit per qubit; the register that makes up
  // the difference takes the next default name that the text does not use.
  if (clbit_total < qubit_total && qubit_total <= kMaxQubitTotal) {
    std::string name;
    do {
      name = "c" + std::to_string(ClassicalRegisterNameCounter);
      ClassicalRegisterNameCounter = WrappingAdd32(ClassicalRegisterNameCounter, 1);
    } while (FindName(name) != nullptr);
    classical.push_back(std::make_shared<ClassicalRegister>(
        static_cast<int32_t>(qubit_total - clbit_total), name));
  }
  auto circuit = std::make_shared<QuantumCircuit>(
      quantum, std::vector<std::shared_ptr<AncillaRegister>>(), classical, "", 0.0);

  Rewind();
  if (!ParseStatements(*circuit)) throw pass_failure();
  counters.Keep();
  return circuit;
}

}  // namespace taviron
