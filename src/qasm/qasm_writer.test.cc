#include "qasm/qasm_writer.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "qasm/qelib_gate_names.h"

namespace {

constexpr double kPi = 3.141592653589793;

const char kHeader[] =
    "OPENQASM 2.0;\n"
    "include \"qelib1.inc\";\n";

// A circuit of quantum register "q" and classical register "c" of the
// given sizes, with an ancilla register "anc" when ancillas is not 0.
std::unique_ptr<QuantumCircuit> Circuit(int32_t qubits, int32_t clbits,
                                        int32_t ancillas = 0) {
  QuantumRegister q(qubits, "q");
  ClassicalRegister c(clbits, "c");
  AncillaRegister anc(ancillas, "anc");
  std::vector<RegisterArgument> args = {&q};
  if (ancillas != 0) args.push_back(&anc);
  args.push_back(&c);
  return std::make_unique<QuantumCircuit>(args);
}

std::string Write(const QuantumCircuit& circuit) {
  return WriteQasm(MakeQelibGateNames(), circuit);
}

TEST(QasmWriterTest, StandardNamesInOrder) {
  EXPECT_EQ(MakeQelibGateNames(),
            (std::vector<std::string>{"ccx", "cswap", "crx", "cry", "crz",
                                      "cu1", "cp", "cu3", "csx", "cu", "rxx",
                                      "rzz", "rccx", "rc3x", "c3x", "c3sqrtx",
                                      "c4x"}));
}

TEST(QasmWriterTest, EveryFamilyOfRecords) {
  auto qc = Circuit(2, 2);
  qc->h(0);
  qc->rx(kPi / 2, 1);
  qc->cx(0, 1);
  qc->gms(0.5, {0, 1});
  qc->x(1)->c_if(qc->classical_registers[0], 1);
  qc->z(0)->c_if_clbit(1, 0);
  qc->barrier();
  qc->reset(1);
  qc->measure(0, 0);
  qc->measure(1, 1);
  const std::string expected = std::string(kHeader) +
                               "\n// Register definitions\n"
                               "qreg q[2];\n"
                               "creg c[2];\n"
                               "\n// Custom gate definitions\n"
                               "gate Gms (0.500000) q_a, q_b {\n"
                               "  rxx(0.500000) q_a, q_b;\n"
                               "}\n"
                               "\n// Instructions\n"
                               "h q[0];\n"
                               "rx(pi/2) q[1];\n"
                               "cx q[0], q[1];\n"
                               "Gms(0.500000) q[0], q[1];\n"
                               "if (c == 1) x q[1];\n"
                               "if (c[1]  == 0) z q[0];\n"
                               "barrier q[0];\n"
                               "barrier q[1];\n"
                               "reset q[1];\n"
                               "measure q[0] -> c[0];\n"
                               "measure q[1] -> c[1];\n";
  EXPECT_EQ(Write(*qc), expected);
  EXPECT_EQ(Write(*qc), expected);  // writing changes nothing
}

TEST(QasmWriterTest, EmptyCircuitWithAncillaRegister) {
  auto qc = Circuit(2, 3, 1);
  EXPECT_EQ(Write(*qc), std::string(kHeader) +
                            "\n// Register definitions\n"
                            "qreg q[2];\n"
                            "qreg anc[1];\n"
                            "creg c[3];\n"
                            "\n// Instructions\n");
}

TEST(QasmWriterTest, AncillaQubitNamedByRegisterAndByIndex) {
  auto qc = Circuit(2, 3, 1);
  qc->ccz(0, 1, 2);
  const std::string text = Write(*qc);
  EXPECT_NE(text.find("gate ccz q_a, q_b, q_c {\n  h q_c;\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nccz q[0], q[1], anc[0];\n"), std::string::npos)
      << text;
}

TEST(QasmWriterTest, StandardCompositesGetNoDefinition) {
  auto qc = Circuit(5, 5);
  qc->ccx(0, 1, 2);
  qc->rccx(0, 1, 2);
  qc->cswap(0, 1, 2);
  qc->rc3x(0, 1, 2, 3);
  qc->c3x(0, 1, 2, 3);
  qc->c3sqrtx(0, 1, 2, 3);
  qc->c4x(0, 1, 2, 3, 4);
  EXPECT_EQ(Write(*qc), std::string(kHeader) +
                            "\n// Register definitions\n"
                            "qreg q[5];\n"
                            "creg c[5];\n"
                            "\n// Instructions\n"
                            "ccx q[0], q[1], q[2];\n"
                            "Rccx q[0], q[1], q[2];\n"
                            "cswap q[0], q[1], q[2];\n"
                            "rc3x q[0], q[1], q[2], q[3];\n"
                            "c3x q[0], q[1], q[2], q[3];\n"
                            "c3sqrtx q[0], q[1], q[2], q[3];\n"
                            "c4x q[0], q[1], q[2], q[3], q[4];\n");
}

TEST(QasmWriterTest, CustomCompositesAreDefinedOnceByTheFirst) {
  auto qc = Circuit(3, 3);
  qc->mcp(kPi / 4, {0}, 1);
  qc->mcp(kPi / 2, {1}, 2);  // same name: no second definition
  qc->ccx(0, 1, 2, "tof");
  qc->ccx(0, 1, 2, "TOF");  // differs only in case
  qc->mcrx(kPi, {0, 1}, 2);
  const std::string text = Write(*qc);
  // Definition headers carry the first record's own values.
  EXPECT_NE(text.find("gate mcphase (pi/4) q_a, q_b {\n"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("gate mcphase (pi/2)"), std::string::npos) << text;
  EXPECT_NE(text.find("gate tof q_a, q_b, q_c {\n  h q_c;\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("gate TOF"), std::string::npos) << text;
  // The renamed Toffoli's definition holds its fifteen body records.
  const size_t tof = text.find("gate tof ");
  const std::string tof_definition =
      text.substr(tof, text.find("}\n", tof) - tof);
  EXPECT_EQ(std::count(tof_definition.begin(), tof_definition.end(), '\n'),
            1 + 15)
      << tof_definition;
  EXPECT_NE(text.find("gate mcrx (pi) q_a, q_b, q_c {\n"), std::string::npos)
      << text;
  // A cu leaf inside a body writes its four parameters without blanks.
  EXPECT_NE(text.find("  cu(pi/2,-pi/2,pi/2,0) q_"), std::string::npos)
      << text;
  const std::string instructions = text.substr(text.find("// Instructions"));
  EXPECT_EQ(instructions,
            "// Instructions\n"
            "mcphase(pi/4) q[0], q[1];\n"
            "mcphase(pi/2) q[1], q[2];\n"
            "tof q[0], q[1], q[2];\n"
            "TOF q[0], q[1], q[2];\n"
            "mcrx(pi) q[0], q[1], q[2];\n");
}

TEST(QasmWriterTest, GateNamesParametersAndConditionValues) {
  auto qc = Circuit(2, 2);
  qc->i(0);
  qc->u3(kPi, 0, kPi / 4, 1);
  qc->cnot(1, 0);
  qc->cu(0.5, 0, 0, 7.0, 0, 1);
  qc->y(1)->c_if_clbit(0, UINT64_MAX);
  const std::string text = Write(*qc);
  EXPECT_EQ(text.substr(text.find("// Instructions")),
            "// Instructions\n"
            "i q[0];\n"
            "u(pi, 0, pi/4) q[1];\n"
            "cx q[1], q[0];\n"
            "cu(0.500000, 0, 0, 7.000000) q[0], q[1];\n"
            "if (c[0]  == 18446744073709551615) y q[1];\n");
}

TEST(QasmWriterTest, OperandOutsideEveryRegisterFails) {
  struct Case {
    const char* name;
    uint64_t qubit;
    uint64_t clbit;
    const char* message;
  };
  const Case cases[] = {
      {"qubit", 7, 0, "Invalid Qubit Index: 7"},
      {"classical bit", 0, 9, "Invalid Classical Bit Index: 9"},
  };
  for (const Case& c : cases) {
    auto qc = Circuit(2, 2);
    auto record = std::make_shared<GateRecord>();
    record->gate_type = GateId::kMeasure;
    record->qubits = {c.qubit};
    record->clbits = {c.clbit};
    qc->gates.push_back(record);
    try {
      Write(*qc);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

}  // namespace
