#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "qasm/qasm_writer.h"
#include "qasm/qelib_gate_names.h"

namespace taviron {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CircuitQasmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    circuit.h(0);
    circuit.cx(0, 1);
    circuit.measure(1, 1);
    expected = WriteQasm(MakeQelibGateNames(), circuit);
  }
  QuantumCircuit circuit{2, 2, "bell"};
  std::string expected;
  std::vector<std::string> printed;
  std::function<void(const std::string&)> sink =
      [this](const std::string& text) { printed.push_back(text); };
};

TEST_F(CircuitQasmTest, ReturnsOrPrintsTheText) {
  EXPECT_EQ(circuit.qasm(false, "", "", sink), expected);
  EXPECT_TRUE(printed.empty());
  EXPECT_EQ(circuit.qasm(false, "", "latin-1", sink), expected);

  EXPECT_EQ(circuit.qasm(true, "", "", sink), "");
  EXPECT_EQ(printed, std::vector<std::string>{expected});
}

TEST_F(CircuitQasmTest, SavesTheTextAndReplacesAnOldFile) {
  const std::string path = ::testing::TempDir() + "circuit_qasm_test.qasm";
  { std::ofstream(path) << "old content that is longer than nothing\n"; }
  EXPECT_EQ(circuit.qasm(true, path, "", sink), "");
  EXPECT_EQ(ReadFile(path), expected);
  std::remove(path.c_str());
}

TEST_F(CircuitQasmTest, UnwritableFileRaisesNamingIt) {
  // No folder, a folder in place of the file, and a full device.
  for (const std::string& path : {std::string("/nonexistent-dir/x/out.qasm"),
                                   std::string(::testing::TempDir()), std::string("/dev/full")}) {
    try {
      circuit.qasm(false, path, "", sink);
      ADD_FAILURE() << path << ": no error";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(std::string(error.what()),
                "Can't write the OpenQASM text to the file " + path + ".");
    }
  }
}

TEST_F(CircuitQasmTest, WriterFailureLeavesBeforePrintingOrSaving) {
  auto bad = std::make_shared<GateRecord>();
  bad->gate_type = GateId::kH;
  bad->qubits = {5};
  circuit.mutable_gates().push_back(bad);
  const std::string path = ::testing::TempDir() + "circuit_qasm_fail.qasm";
  std::remove(path.c_str());
  EXPECT_THROW(circuit.qasm(true, path, "", sink), RunTimeError);
  EXPECT_TRUE(printed.empty());
  EXPECT_FALSE(std::ifstream(path).good());
}

}  // namespace

}  // namespace taviron
