#include <gtest/gtest.h>

#include <vector>

#include "foundation/exceptions.h"
#include "qasm/qasm_reader.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

// q holds the global qubits 0-2, r the qubits 3-4.
const char kRegisters[] = "qreg q[3];\nqreg r[2];\n";

std::shared_ptr<QuantumCircuit> Load(const std::string& text) {
  qasm2 reader;
  return reader.loads(text);
}

TEST(QasmStatementsPassTest, EachGateKeywordAppendsItsOperation) {
  struct Case {
    std::string statement;
    GateId gate_type;
    std::vector<uint64_t> qubits;
    std::vector<double> parameters;
    std::string label;  // composites only
  };
  const Case cases[] = {
      {"id q[0];", GateId::kI, {0}, {}, ""},
      {"x q[1];", GateId::kX, {1}, {}, ""},
      {"y q[1];", GateId::kY, {1}, {}, ""},
      {"z q[1];", GateId::kZ, {1}, {}, ""},
      {"h r[1];", GateId::kH, {4}, {}, ""},
      {"s q[0];", GateId::kS, {0}, {}, ""},
      {"sdg q[0];", GateId::kSdg, {0}, {}, ""},
      {"t q[0];", GateId::kT, {0}, {}, ""},
      {"tdg q[0];", GateId::kTdg, {0}, {}, ""},
      {"sx q[0];", GateId::kSX, {0}, {}, ""},
      {"sxdg q[0];", GateId::kSXdg, {0}, {}, ""},
      {"reset r[0];", GateId::kReset, {3}, {}, ""},
      {"p(0.5) q[2];", GateId::kP, {2}, {0.5}, ""},
      {"rx(0.5) q[2];", GateId::kRX, {2}, {0.5}, ""},
      {"ry(0.5) q[2];", GateId::kRY, {2}, {0.5}, ""},
      {"rz(0.5) q[2];", GateId::kRZ, {2}, {0.5}, ""},
      {"u(1, 2, 3) r[0];", GateId::kU, {3}, {1, 2, 3}, ""},
      {"u3(1, 2, 3) r[0];", GateId::kU, {3}, {1, 2, 3}, ""},
      {"u2(1, 2) r[0];", GateId::kU2, {3}, {1, 2}, ""},
      {"u1(0.5) r[0];", GateId::kU1, {3}, {0.5}, ""},
      {"u0(0.5) r[0];", GateId::kU0, {3}, {0.5}, ""},
      {"cx r[1], q[0];", GateId::kCX, {4, 0}, {}, ""},
      {"cy q[0], q[1];", GateId::kCY, {0, 1}, {}, ""},
      {"cz q[0], q[1];", GateId::kCZ, {0, 1}, {}, ""},
      {"ch q[0], q[1];", GateId::kCH, {0, 1}, {}, ""},
      {"csx q[0], q[1];", GateId::kCSX, {0, 1}, {}, ""},
      {"ecr q[0], q[1];", GateId::kECR, {0, 1}, {}, ""},
      {"swap q[0], q[1];", GateId::kSwap, {0, 1}, {}, ""},
      {"cp(0.5) q[0], q[1];", GateId::kCP, {0, 1}, {0.5}, ""},
      {"crx(0.5) q[0], q[1];", GateId::kCRX, {0, 1}, {0.5}, ""},
      {"cry(0.5) q[0], q[1];", GateId::kCRY, {0, 1}, {0.5}, ""},
      {"crz(0.5) q[0], q[1];", GateId::kCRZ, {0, 1}, {0.5}, ""},
      {"cu(1, 2, 3, 4) q[0], q[1];", GateId::kCU, {0, 1}, {1, 2, 3, 4}, ""},
      {"cu1(0.5) q[0], q[1];", GateId::kCU1, {0, 1}, {0.5}, ""},
      {"cu3(1, 2, 3) q[0], q[1];", GateId::kCU3, {0, 1}, {1, 2, 3}, ""},
      {"rxx(0.5) q[0], q[1];", GateId::kRXX, {0, 1}, {0.5}, ""},
      {"rzz(0.5) q[0], q[1];", GateId::kRZZ, {0, 1}, {0.5}, ""},
      {"ccx q[2], q[0], r[1];", GateId::kComposite, {2, 0, 4}, {}, "ccx"},
      {"cswap q[2], q[0], r[1];", GateId::kComposite, {2, 0, 4}, {}, "cswap"},
      {"rccx q[2], q[0], r[1];", GateId::kComposite, {2, 0, 4}, {}, "Rccx"},
      {"c3x q[0], q[1], q[2], r[0];", GateId::kComposite, {0, 1, 2, 3}, {}, "c3x"},
      {"c3sqrtx q[0], q[1], q[2], r[0];", GateId::kComposite, {0, 1, 2, 3}, {}, "c3sqrtx"},
      {"rc3x q[0], q[1], q[2], r[0];", GateId::kComposite, {0, 1, 2, 3}, {}, "rc3x"},
      {"c4x q[0], q[1], q[2], r[0], r[1];", GateId::kComposite, {0, 1, 2, 3, 4}, {}, "c4x"},
  };
  for (const Case& c : cases) {
    const auto circuit = Load(kRegisters + c.statement);
    ASSERT_EQ(circuit->gates().size(), 1u) << c.statement;
    const GateRecord& record = *circuit->gates()[0];
    EXPECT_EQ(record.gate_type, c.gate_type) << c.statement;
    EXPECT_EQ(record.qubits, c.qubits) << c.statement;
    EXPECT_EQ(record.params, c.parameters) << c.statement;
    EXPECT_FALSE(record.conditioned) << c.statement;
    if (c.gate_type == GateId::kComposite) {
      EXPECT_EQ(record.label, c.label) << c.statement;
    }
  }
}

TEST(QasmStatementsPassTest, OneQubitGatesResetAndBarrierBroadcast) {
  struct Case {
    std::string statement;
    GateId gate_type;
    std::vector<uint64_t> qubits;  // one record per entry
  };
  const Case cases[] = {
      {"h r;", GateId::kH, {3, 4}},
      {"x q[2], q[0], q[2];", GateId::kX, {2, 0, 2}},
      {"reset q;", GateId::kReset, {0, 1, 2}},
      {"barrier q[1], r[0];", GateId::kBarrier, {1, 3}},
      {"barrier r;", GateId::kBarrier, {3, 4}},
      {"h empty;", GateId::kH, {}},
      {"reset empty;", GateId::kReset, {}},
      // The parameters of a one-qubit gate are read and ignored.
      {"t(1, 2) r[1], r[0];", GateId::kT, {4, 3}},
  };
  for (const Case& c : cases) {
    const auto circuit = Load(std::string(kRegisters) + "qreg empty[0];\n" + c.statement);
    ASSERT_EQ(circuit->gates().size(), c.qubits.size()) << c.statement;
    for (size_t k = 0; k < c.qubits.size(); ++k) {
      EXPECT_EQ(circuit->gates()[k]->gate_type, c.gate_type) << c.statement;
      EXPECT_EQ(circuit->gates()[k]->qubits, std::vector<uint64_t>{c.qubits[k]}) << c.statement;
    }
  }
}

TEST(QasmStatementsPassTest, MeasureMapsRegistersBitByBit) {
  // The registers start at different first indices: q at qubit 3, c at bit 2.
  const std::string registers = "qreg a[3]; qreg q[2]; creg b[2]; creg c[2]; creg w[1];\n";
  const auto whole = Load(registers + "measure q -> c;\nmeasure\n q[1]\n ->\n b[0]\n;");
  ASSERT_EQ(whole->gates().size(), 3u);
  const std::vector<std::pair<uint64_t, uint64_t>> expected = {{3, 2}, {4, 3}, {4, 0}};
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(whole->gates()[k]->gate_type, GateId::kMeasure);
    EXPECT_EQ(whole->gates()[k]->qubits, std::vector<uint64_t>{expected[k].first});
    EXPECT_EQ(whole->gates()[k]->clbits, std::vector<uint64_t>{expected[k].second});
  }
  EXPECT_EQ(LoadsFailure(registers + "measure q -> w;"),
            "Error Number is out of range in line 2 at 16");
  EXPECT_EQ(LoadsFailure(registers + "measure q[2] -> c[0];"),
            "Error Number is out of range in line 2 at 22");
  EXPECT_EQ(LoadsFailure(registers + "measure q[0] -> c[2];"),
            "Error Number is out of range in line 2 at 22");
}

TEST(QasmStatementsPassTest, ConditionsGoOnTheAppendedRecords) {
  const auto circuit = Load(
      "qreg q[3]; creg d[1]; creg c[2];\n"
      "if (c == 3) x q[0];\n"
      "if(c[1]= =1) h q;\n"
      "if (d == 0)\n measure q[1] -> c[0];\n"
      "if (c == 2) ccx q[0], q[1], q[2]\n;");
  ASSERT_EQ(circuit->gates().size(), 6u);
  const std::shared_ptr<ClassicalRegister>& c = circuit->classical_registers()[1];
  ASSERT_EQ(c->name, "c");

  const GateRecord& x = *circuit->gates()[0];
  EXPECT_TRUE(x.conditioned);
  EXPECT_FALSE(x.condition_on_clbit);
  EXPECT_EQ(x.condition_register, c);
  EXPECT_EQ(x.condition_value, 3u);
  for (int k : {1, 2, 3}) {
    const GateRecord& h = *circuit->gates()[k];
    EXPECT_TRUE(h.conditioned);
    EXPECT_TRUE(h.condition_on_clbit);
    EXPECT_EQ(h.condition_clbit, 2u);  // bit 1 of c, whose first bit is 1
    EXPECT_EQ(h.condition_value, 1u);
  }
  const GateRecord& measure = *circuit->gates()[4];
  EXPECT_EQ(measure.gate_type, GateId::kMeasure);
  EXPECT_TRUE(measure.conditioned);
  EXPECT_EQ(measure.condition_register, circuit->classical_registers()[0]);
  EXPECT_EQ(measure.condition_value, 0u);
  EXPECT_EQ(measure.clbits, std::vector<uint64_t>{1});
  EXPECT_EQ(circuit->gates()[5]->condition_value, 2u);
  EXPECT_EQ(circuit->gates()[5]->gate_type, GateId::kComposite);
}

TEST(QasmStatementsPassTest, ConditionStaysOffTheRecordsInsideAComposite) {
  const auto circuit = Load("qreg q[3]; creg c[3];\nif (c == 1) ccx q[0], q[1], q[2];");
  ASSERT_EQ(circuit->gates().size(), 1u);
  EXPECT_TRUE(circuit->gates()[0]->conditioned);
  ASSERT_FALSE(circuit->gates()[0]->body.empty());
  for (const GateRecordPtr& part : circuit->gates()[0]->body) EXPECT_FALSE(part->conditioned);
}

TEST(QasmStatementsPassTest, DeclarationsAreSkippedToTheirOwnSemicolon) {
  struct Case {
    std::string text;
    std::vector<GateId> gate_types;
  };
  const Case cases[] = {
      {"qreg q[1]; h q[0];\nx q[0];", {GateId::kH, GateId::kX}},
      {"qreg q[1];\nh q[0]; x q[0];", {GateId::kH, GateId::kX}},
      // A comment after a declaration ends at its own line feed.
      {"qreg q[1]; // first\nh q[0];\nx q[0];", {GateId::kH, GateId::kX}},
      {"OPENQASM 2.0; include \"qelib1.inc\"; qreg q[1]; creg c[1]; z q[0];", {GateId::kZ}},
      {"qreg q[1];\nopaque g a; y q[0];\n;;\nz q[0];\nqreg r[1];", {GateId::kY, GateId::kZ}},
      {"qreg q[1];\ncreg c\n[1]\n; x q[0];", {GateId::kX}},
  };
  for (const Case& c : cases) {
    const auto circuit = Load(c.text);
    std::vector<GateId> types;
    for (const GateRecordPtr& record : circuit->gates()) types.push_back(record->gate_type);
    EXPECT_EQ(types, c.gate_types) << c.text;
  }
}

TEST(QasmStatementsPassTest, BarrierOnAnEmptyRegisterAppendsNothing) {
  const auto circuit = Load("qreg q[1]; qreg none[0];\nbarrier none;\nh q[0];");
  ASSERT_EQ(circuit->gates().size(), 1u);
  EXPECT_EQ(circuit->gates()[0]->gate_type, GateId::kH);
}

TEST(QasmStatementsPassTest, CircuitExceptionsPassUnchanged) {
  qasm2 reader;
  try {
    reader.loads("qreg q[2];\ncx q[1], q[1];");
    FAIL() << "a repeated qubit must be refused";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(), "Invalid Parameter passed to the gate instruction.");
  }
  try {
    reader.loads("qreg q[2]; creg c[5];\nmeasure q[0] -> c[4];");
    FAIL() << "a classical bit beyond the qubit count must be refused";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(), "Invalid Parameter passed to the gate instruction.");
  }
}

}  // namespace

}  // namespace taviron
