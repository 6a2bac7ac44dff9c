// load and loads: prepare the reader, run both passes, build the circuit,
// and turn any failure into one exception.
#include <array>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "foundation/exceptions.h"
#include "foundation/file_name_check.h"
#include "qasm/qasm_declarations_pass.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"
#include "qasm/qasm_reading.h"
#include "qasm/qasm_statements_pass.h"

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

RunTimeError FailureAt(const QasmReading& reading, const std::string& message) {
  return RunTimeError(
      QasmFailureText(message, reading.source().line(), reading.source().column()));
}

RunTimeError PassFailure(const QasmReading& reading) {
  return RunTimeError(QasmPassFailureText(reading.error_code(), reading.source().line(),
                                          reading.source().column()));
}

// The first pass; a failure without a code of its own found nothing to
// read: an empty text, or statements without the declarations they need,
// placed at the first of them.
void ReadDeclarations(QasmReading& reading) {
  if (QasmDeclarationsPass(reading).ParseDeclarations()) return;
  if (reading.error_code() != QasmErrorCode::NO_ERROR) throw PassFailure(reading);
  reading.source().Rewind();
  const bool empty =
      reading.tokens().NextSignificantToken(false).kind == QasmTokenKind::END_OF_INPUT;
  throw FailureAt(reading, empty ? kEmptyProgram : kNothingDeclared);
}

// What the text must declare, in the order the checks are made.
void CheckDeclarations(QasmReading& reading, bool require_include, bool require_version) {
  const QasmDeclarations& declarations = reading.declarations();
  if (require_include && !declarations.qelib1_included()) throw RunTimeError(kQelib1Missing);
  if (require_version && !declarations.version_seen()) throw RunTimeError(kNotOpenQasm2);
  if (declarations.qreg_declarations().empty()) {
    reading.set_error_code(QasmErrorCode::QUANTUM_REGISTER_EXPECTED);
    throw RunTimeError(kNoQuantumRegister);
  }
  bool has_qubit = false;
  for (const QasmRegisterDeclaration& declaration : declarations.qreg_declarations()) {
    has_qubit = has_qubit || declaration.size > 0;
  }
  if (!has_qubit) {
    reading.set_error_code(QasmErrorCode::QUBIT_EXPECTED);
    throw RunTimeError(kNoQubit);
  }
}

// The circuit of the declared registers, which keeps the register objects
// of the declarations themselves.
std::shared_ptr<QuantumCircuit> BuildCircuit(QasmDeclarations& declarations) {
  int64_t qubit_total = 0;
  const auto quantum = declarations.MakeQuantumRegisters(qubit_total);
  int64_t clbit_total = 0;
  auto classical = declarations.MakeClassicalRegisters(clbit_total);
  // The circuit needs a classical bit per qubit; the register that makes up
  // the difference takes the next default name that the text does not use.
  if (clbit_total < qubit_total && qubit_total <= kMaxQubitTotal) {
    std::string name;
    do {
      name = "c" + std::to_string(ClassicalRegisterNameCounter);
      ClassicalRegisterNameCounter = WrappingAdd32(ClassicalRegisterNameCounter, 1);
    } while (declarations.IsDeclared(name));
    classical.push_back(std::make_shared<ClassicalRegister>(
        static_cast<int32_t>(qubit_total - clbit_total), name));
  }
  return std::make_shared<QuantumCircuit>(
      quantum, std::vector<std::shared_ptr<AncillaRegister>>(), classical, "", 0.0);
}

// Both passes, the checks between them and the circuit, once the input is
// ready.
std::shared_ptr<QuantumCircuit> ReadCircuit(QasmReading& reading, bool require_include,
                                            bool require_version) {
  ReadDeclarations(reading);
  CheckDeclarations(reading, require_include, require_version);
  // From here on registers and the circuit are made, which moves the
  // process-wide counters; a load that fails puts them back.
  ProcessCountersRestorer counters;
  std::shared_ptr<QuantumCircuit> circuit = BuildCircuit(reading.declarations());
  reading.source().Rewind();
  if (!QasmStatementsPass(reading).ParseStatements(*circuit)) throw PassFailure(reading);
  counters.Keep();
  return circuit;
}

}  // namespace

qasm2::qasm2() : reading_(std::make_unique<QasmReading>()) {}

qasm2::~qasm2() = default;

std::shared_ptr<QuantumCircuit> qasm2::load(const std::string& filename,
                                            const std::string& include_path,
                                            const std::string& /*include_input_directory*/,
                                            bool strict) {
  RequireNoNulInFileName(filename);
  reading_->Reset();
  QasmCharacterSource& source = reading_->source();
  // The file stays open for the whole call and is closed on every way out.
  struct FileCloser {
    QasmCharacterSource& source;
    ~FileCloser() { source.CloseFile(); }
  } closer{source};
  try {
    source.ReadFile(filename);
  } catch (const std::exception&) {
    throw RunTimeError(kCannotOpenFile);
  }
  if (!source.IsFileOpen()) throw RunTimeError(kCannotOpenFile);
  include_path_ = include_path;
  return ReadCircuit(*reading_, strict, strict);
}

std::shared_ptr<QuantumCircuit> qasm2::loads(const std::string& qasm2string,
                                             const std::string& include_path,
                                             const std::string& /*include_input_directory*/,
                                             bool strict) {
  reading_->Reset();
  reading_->source().ReadText(qasm2string);
  include_path_ = include_path;
  // A text need not carry the version line, even when strict.
  return ReadCircuit(*reading_, strict, false);
}

}  // namespace taviron
