#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <optional>
#include <variant>
#include <vector>

#include <sys/stat.h>

#include "circuit/append_gate.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_name_table.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"
#include "qasm/qasm_writer.h"
#include "qasm/qelib_gate_names.h"
#include "qasm/testing/reader_fixture.h"
#include "qasm/testing/reader_probe.h"

namespace taviron {

namespace {

const char kBell[] =
    "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\ncreg c[2];\n"
    "h q[0];\ncx q[0], q[1];\nmeasure q -> c;\n";

// A file in the temporary folder, removed again at the end of the test.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& name, const std::string& bytes)
      : path_(std::filesystem::temp_directory_path() / name) {
    std::ofstream out(path_, std::ios::binary);
    out << bytes;
  }
  ~TemporaryFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

std::vector<GateId> GateTypes(const QuantumCircuit& circuit) {
  std::vector<GateId> types;
  for (const GateRecordPtr& record : circuit.gates()) types.push_back(record->gate_type);
  return types;
}

std::string FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

TEST(QasmLoadDriverTest, LoadsReturnsTheCircuitOfTheText) {
  qasm2 reader;
  const std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\nh q[0];\n";
  for (bool strict : {false, true}) {
    const std::shared_ptr<QuantumCircuit> circuit = reader.loads(text, "", "append", strict);
    ASSERT_TRUE(circuit);
    EXPECT_EQ(circuit->total_qubits(), 2u);
    EXPECT_EQ(circuit->num_clbits(), 2u);
    EXPECT_EQ(circuit->name().rfind("circuit_", 0), 0u);
    EXPECT_EQ(circuit->global_phase(), 0.0);
    EXPECT_EQ(GateTypes(*circuit), std::vector<GateId>{GateId::kH});
    ASSERT_EQ(circuit->quantum_registers().size(), 1u);
    EXPECT_EQ(circuit->quantum_registers()[0]->name, "q");
    // The circuit keeps the register object the declaration made.
    EXPECT_EQ(circuit->quantum_registers()[0],
              std::get<std::shared_ptr<QuantumRegister>>(
                  QasmReaderProbe::Declarations(reader).qreg_declarations()[0].created_register));
    // Fewer classical bits than qubits: one unnamed register of the rest.
    ASSERT_EQ(circuit->classical_registers().size(), 1u);
    EXPECT_EQ(circuit->classical_registers()[0]->size, 2);
  }
}

TEST(QasmLoadDriverTest, StrictChecksIncludeThenVersion) {
  const std::string without_version = "include \"qelib1.inc\";\nqreg q[2];\nh q[0];\n";
  EXPECT_EQ(LoadsFailure(without_version, true), "");
  EXPECT_EQ(LoadsFailure("qreg q[1];", false), "");
  EXPECT_EQ(LoadsFailure("OPENQASM 2.0;\nqreg q[1];", true),
            "Default include file \"qelib1.inc\" is not included.\n");
  EXPECT_EQ(LoadsFailure("include \"other.inc\";\nqreg q[1];", true),
            "Default include file \"qelib1.inc\" is not included.\n");

  qasm2 reader;
  const TemporaryFile file("qasm_driver_strict.qasm", without_version);
  EXPECT_EQ(FailureOf([&] { reader.load(file.path(), "", "append", true); }),
            "Not OpenQasm 2.0.\n");
  EXPECT_FALSE(QasmReaderProbe::LastReading(reader).source().IsFileOpen());
  const TemporaryFile other("qasm_driver_other.qasm", "include \"other.inc\";\nqreg q[1];");
  EXPECT_EQ(FailureOf([&] { reader.load(other.path(), "", "append", true); }),
            "Default include file \"qelib1.inc\" is not included.\n");
  EXPECT_TRUE(reader.load(file.path(), "", "append", false));
}

TEST(QasmLoadDriverTest, QuantumRegistersMustHoldQubits) {
  qasm2 reader;
  EXPECT_EQ(FailureOf([&] { reader.loads("OPENQASM 2.0;\ncreg c[2];"); }),
            "Atleast one quantum register must be defined.\n");
  EXPECT_EQ(QasmReaderProbe::ErrorCode(reader), QasmErrorCode::QUANTUM_REGISTER_EXPECTED);
  EXPECT_EQ(FailureOf([&] { reader.loads("OPENQASM 2.0;"); }),
            "Atleast one quantum register must be defined.\n");
  EXPECT_EQ(FailureOf([&] { reader.loads("qreg q[0];\ncreg c[1];"); }),
            "Atleast one qubit must be defined.\n");
  EXPECT_EQ(QasmReaderProbe::ErrorCode(reader), QasmErrorCode::QUBIT_EXPECTED);
  // A register of size 0 beside others is kept.
  EXPECT_EQ(reader.loads("qreg none[0];\nqreg q[1];")->quantum_registers().size(), 2u);
  // More than 100 qubits: the circuit's own exception.
  try {
    reader.loads("qreg a[60];\nqreg b[41];");
    FAIL() << "101 qubits must be refused";
  } catch (const std::range_error& error) {
    EXPECT_STREQ(error.what(), "Invalid number of qubits passed.");
  }
}

TEST(QasmLoadDriverTest, FileIsReadInTextModeAndTextAsGiven) {
  const std::string crlf = "qreg q[2];\r\nh q[0];\r\ncx q[0], q[1];\r\n";
  EXPECT_EQ(LoadsFailure(crlf), "Error Invalid parameter in line 1 at 0");
  qasm2 reader;
  const TemporaryFile file("qasm_driver_crlf.qasm", crlf);
  const auto circuit = reader.load(file.path());
  EXPECT_EQ(GateTypes(*circuit), (std::vector<GateId>{GateId::kH, GateId::kCX}));
  EXPECT_FALSE(QasmReaderProbe::LastReading(reader).source().IsFileOpen());
  // Pass failures in a file report the file's position.
  const TemporaryFile bad("qasm_driver_bad.qasm", "qreg q[2];\r\n\r\nh r[0];\r\n");
  EXPECT_EQ(FailureOf([&] { reader.load(bad.path()); }),
            "Error Invalid parameter in line 3 at 3");
  EXPECT_FALSE(QasmReaderProbe::LastReading(reader).source().IsFileOpen());
}

TEST(QasmLoadDriverTest, MissingFileThenAGoodOne) {
  qasm2 reader;
  EXPECT_EQ(FailureOf([&] { reader.load("/nonexistent/folder/program.qasm"); }),
            "Can't open the given file.");
  const TemporaryFile file("qasm_driver_good.qasm", kBell);
  const auto circuit = reader.load(file.path(), "some/path");
  EXPECT_EQ(GateTypes(*circuit), (std::vector<GateId>{GateId::kH, GateId::kCX, GateId::kMeasure, GateId::kMeasure}));
  EXPECT_EQ(QasmReaderProbe::IncludePath(reader), "some/path");
}

TEST(QasmLoadDriverTest, UserGatesInAFileEvaluateTheirParameters) {
  qasm2 reader;
  const TemporaryFile file("qasm_driver_gate.qasm",
                           "qreg q[1];\ngate g(w) a { rz(w/2) a; }\ng(3) q[0]; h r[0];\n");
  EXPECT_EQ(FailureOf([&] { reader.load(file.path()); }),
            "Error Invalid parameter in line 3 at 14");
  const TemporaryFile good("qasm_driver_gate_good.qasm",
                           "qreg q[1];\ngate g(w) a { rz(w/2) a; }\ng(3) q[0];\nx q[0];\n");
  const auto circuit = reader.load(good.path());
  ASSERT_EQ(circuit->gates().size(), 2u);
  EXPECT_EQ(circuit->gates()[0]->body[0]->params, std::vector<double>{1.5});
  EXPECT_EQ(circuit->gates()[1]->gate_type, GateId::kX);
}

TEST(QasmLoadDriverTest, NothingCarriesOverBetweenCalls) {
  qasm2 reader;
  const auto first = reader.loads(kBell);
  const auto second = reader.loads(kBell);
  EXPECT_NE(first, second);
  EXPECT_EQ(GateTypes(*first), GateTypes(*second));
  EXPECT_EQ(second->quantum_registers()[0]->name, "q");
  EXPECT_EQ(second->classical_registers()[0]->name, "c");
  // The first circuit keeps its own registers.
  EXPECT_NE(first->quantum_registers()[0], second->quantum_registers()[0]);
  EXPECT_EQ(FailureOf([&] { reader.loads("qreg r[1];\nh q[0];"); }),
            "Error Invalid parameter in line 2 at 3");
  EXPECT_EQ(reader.loads("qreg q[3];\nx q[2];")->total_qubits(), 3u);
}

TEST(QasmLoadDriverTest, AddedClassicalRegisterSkipsDeclaredNames) {
  // The added register takes the next default name that the text leaves
  // free, whatever the process-wide name counter says.
  const int32_t saved = ClassicalRegisterNameCounter;
  for (int32_t counter : {0, 1, 5}) {
    ClassicalRegisterNameCounter = counter;
    const std::string declared = "c" + std::to_string(counter);
    const std::string next = "c" + std::to_string(counter + 1);
    qasm2 reader;
    const auto circuit = reader.loads("qreg q0[25]; creg " + declared + "[1]; creg " + next +
                                      "[1];\nmeasure q0[0] -> " + declared + "[0];");
    ASSERT_EQ(circuit->classical_registers().size(), 3u);
    EXPECT_EQ(circuit->classical_registers()[2]->name, "c" + std::to_string(counter + 2));
    EXPECT_EQ(circuit->classical_registers()[2]->size, 23);
    EXPECT_EQ(circuit->num_clbits(), 25u);
  }
  ClassicalRegisterNameCounter = saved;
}

TEST(QasmLoadDriverTest, RefusedLoadsLeaveTheCountersAsTheyWere) {
  const auto counters = [] {
    return std::vector<int32_t>{QuantumRegisterCounter,     AncillaRegisterCounter,
                                ClassicalRegisterCounter,   QuantumRegisterNameCounter,
                                AncillaRegisterNameCounter, ClassicalRegisterNameCounter,
                                CircuitNameCounter};
  };
  const std::string refused[] = {
      "qreg q[3]; creg c[1];\nh r[0];",        // statements pass
      "qreg a[60]; qreg b[41];",               // circuit constructor
      "qreg q[3];\ngate g a { x a; }\ng(1) q[0];",  // user gate call
      "creg c[2];",                            // driver check
      "qreg q[2]; creg q[1];",                 // declarations pass
  };
  for (const std::string& text : refused) {
    const std::vector<int32_t> before = counters();
    qasm2 reader;
    EXPECT_THROW(reader.loads(text), std::exception) << text;
    EXPECT_EQ(counters(), before) << text;
  }
}

TEST(QasmLoadDriverTest, OnlyRegularFilesAreRead) {
  const std::filesystem::path fifo = std::filesystem::temp_directory_path() / "qasm_driver_fifo";
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string refused[] = {fifo.string(), "/dev/zero",
                                 std::filesystem::temp_directory_path().string()};
  qasm2 reader;
  for (const std::string& path : refused) {
    EXPECT_EQ(FailureOf([&] { reader.load(path); }), "Can't open the given file.") << path;
  }
  std::filesystem::remove(fifo);
}

// Two instruction lists hold the same operations: types, operands, angles
// (to the writer's six decimals), conditions, and composites by name.
void ExpectSameRecords(const GateRecordList& expected, const GateRecordList& actual) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    const GateRecord& a = *expected[k];
    const GateRecord& b = *actual[k];
    SCOPED_TRACE("record " + std::to_string(k) + " " + a.GetName());
    EXPECT_EQ(b.gate_type, a.gate_type);
    EXPECT_EQ(b.GetName(), a.GetName());
    EXPECT_EQ(b.qubits, a.qubits);
    EXPECT_EQ(b.clbits, a.clbits);
    ASSERT_EQ(b.params.size(), a.params.size());
    for (size_t p = 0; p < a.params.size(); ++p) EXPECT_NEAR(b.params[p], a.params[p], 1e-6);
    EXPECT_EQ(b.conditioned, a.conditioned);
    if (a.conditioned) {
      EXPECT_EQ(b.condition_on_clbit, a.condition_on_clbit);
      EXPECT_EQ(b.condition_value, a.condition_value);
      if (a.condition_on_clbit) {
        EXPECT_EQ(b.condition_clbit, a.condition_clbit);
      } else {
        EXPECT_EQ(b.condition_register->RegisterName(), a.condition_register->RegisterName());
      }
    }
    EXPECT_EQ(b.body.size(), a.body.size());
  }
}

TEST(QasmLoadDriverTest, ProgramsRoundTripThroughTheWriter) {
  const std::string programs[] = {
      kBell,
      "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[3];\ncreg c[3];\n"
      "h q[0];\ncx q[0], q[1];\nu3(pi/2, 0.25, -1) q[2];\nrz(-pi/4) q[1];\n"
      "ccx q[0], q[1], q[2];\nbarrier q;\nmeasure q -> c;\nif (c == 5) x q[0];\nreset q[1];\n",
      "qreg a[2]; qreg b[3]; creg m[3]; creg n[2];\n"
      "cu(1, 2, 3, 4) a[1], b[0];\ncu3(0.1, 0.2, 0.3) b[2], a[0];\nrxx(0.5) a[0], b[1];\n"
      "rzz(-0.5) b[1], b[2];\ncrx(1) a[0], a[1];\ncry(1) a[0], a[1];\ncrz(1) a[0], a[1];\n"
      "cp(pi/8) b[0], a[1];\ncu1(0.7) a[0], b[0];\nu2(0.1, 0.2) b[2];\nu1(0.3) b[2];\n"
      "u0(0.3) b[2];\np(0.4) a[1];\nsx a[0]; sxdg a[0]; s b[0]; sdg b[0]; t b[1]; tdg b[1];\n"
      "y a[1]; z a[1];\nswap a[0], b[2];\necr a[1], b[1];\n"
      "cy a[0], a[1]; cz a[0], a[1]; ch a[0], a[1]; csx a[0], a[1];\n"
      "cswap a[0], b[0], b[1];\nc3x a[0], a[1], b[0], b[2];\n"
      "c3sqrtx a[0], a[1], b[0], b[2];\nrc3x a[0], a[1], b[0], b[2];\n"
      "c4x a[0], a[1], b[0], b[1], b[2];\nif (m[1] == 1) h b[1];\n"
      "if (n == 2) measure a[1] -> n[0];\nrx(0.2) a[0]; ry(0.3) a[1];\n",
  };
  for (const std::string& program : programs) {
    SCOPED_TRACE(program);
    qasm2 reader;
    const auto original = reader.loads(program);
    const std::string text = WriteQasm(MakeQelibGateNames(), *original);
    const auto read_back = reader.loads(text, "", "append", true);
    ExpectSameRecords(original->gates(), read_back->gates());
    // Written again, the circuit gives the same text.
    EXPECT_EQ(WriteQasm(MakeQelibGateNames(), *read_back), text);
  }
}

// Every gate of the catalogue that a method appends and the language has a
// word for is written and read back as itself, with a definition of its own
// where qelib1.inc has none. rv is written as the u gate of its matrix
// instead (qasm_extension_gates.test.cc).
TEST(QasmLoadDriverTest, EveryCatalogueGateRoundTripsThroughTheWriter) {
  const std::vector<uint64_t> qubits = {2, 0, 1};
  const std::vector<double> parameters = {0.25, -1.5, 2.75, 0.5};
  size_t checked = 0;
  for (const GateDescriptor& entry : kGateCatalogue) {
    const std::optional<GateArity> arity = AppendGateArity(entry.id);
    if (entry.qasm_word.empty() || !arity || entry.id == GateId::kRV) continue;
    SCOPED_TRACE(std::string(entry.qasm_word));
    QuantumCircuit circuit(3, 0);
    ASSERT_NE(AppendGate(circuit, entry.id,
                         {qubits.begin(), qubits.begin() + static_cast<std::ptrdiff_t>(arity->qubits)},
                         {parameters.begin(),
                          parameters.begin() + static_cast<std::ptrdiff_t>(arity->parameters)}),
              nullptr);
    const std::string text = WriteQasm(MakeQelibGateNames(), circuit);
    qasm2 reader;
    const auto read_back = reader.loads(text);
    ExpectSameRecords(circuit.gates(), read_back->gates());
    ++checked;
  }
  EXPECT_GT(checked, 0u);
}

}  // namespace

}  // namespace taviron
