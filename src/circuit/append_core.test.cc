#include "circuit/append_core.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const char kInvalid[] = "Invalid Parameter passed to the gate instruction.";

MatrixXcd Filled(Eigen::Index size, double value) {
  return MatrixXcd::Constant(size, size, value);
}

struct Refusal {
  std::string description;
  std::vector<uint64_t> qubits;  // one or two
};

TEST(AppendCoreTest, RefusedIndicesLeaveTheCircuitUnchanged) {
  const std::vector<Refusal> cases = {
      {"one qubit at total_qubits", {3}},
      {"one qubit far out", {UINT64_MAX}},
      {"equal qubits", {1, 1}},
      {"first too large", {3, 0}},
      {"second too large", {0, 3}},
      {"second at 2^64 - 1", {0, UINT64_MAX}},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.description);
    QuantumCircuit circuit(3);
    AppendOneQubitRecord(circuit, GateId::kH, Filled(2, 1), 0, {}, circuit.mutable_gates(), "");
    const std::vector<int64_t> active = circuit.active_qubits();
    try {
      if (c.qubits.size() == 1) {
        AppendOneQubitRecord(circuit, GateId::kH, Filled(2, 1), c.qubits[0], {0.5},
                             circuit.mutable_gates(), "x");
      } else {
        AppendTwoQubitRecord(circuit, GateId::kCX, Filled(4, 1), c.qubits[0],
                             c.qubits[1], {}, circuit.mutable_gates(), "x");
      }
      ADD_FAILURE() << "not refused";
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), kInvalid);
    }
    EXPECT_EQ(circuit.gates().size(), 1u);
    EXPECT_EQ(circuit.active_qubits(), active);
  }
}

TEST(AppendCoreTest, OneQubitRecordHoldsCopiesOfItsInputs) {
  QuantumCircuit circuit(3);
  MatrixXcd matrix = Filled(2, 0.5);
  std::vector<double> params = {1.5, -2.0};
  EXPECT_EQ(AppendOneQubitRecord(circuit, GateId::kR, matrix, 2, params, circuit.mutable_gates(),
                                 "lbl"),
            0);
  matrix(0, 0) = 9.0;
  params[0] = 9.0;
  ASSERT_EQ(circuit.gates().size(), 1u);
  const GateRecord& record = *circuit.gates()[0];
  EXPECT_EQ(record.matrix, Filled(2, 0.5));
  EXPECT_EQ(record.gate_type, GateId::kR);
  EXPECT_EQ(record.qubits, std::vector<uint64_t>{2});
  EXPECT_EQ(record.params, (std::vector<double>{1.5, -2.0}));
  EXPECT_EQ(record.label, "lbl");
  EXPECT_TRUE(record.clbits.empty());
  EXPECT_TRUE(record.body.empty());
  EXPECT_FALSE(record.conditioned);
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0, 1}));
}

TEST(AppendCoreTest, TwoQubitRecordKeepsArgumentOrder) {
  QuantumCircuit circuit(3);
  AppendTwoQubitRecord(circuit, GateId::kSwap, Filled(4, 0.25), 1, 0, {}, circuit.mutable_gates(), "");
  const GateRecord& record = *circuit.gates().back();
  EXPECT_EQ(record.qubits, (std::vector<uint64_t>{1, 0}));
  EXPECT_EQ(record.matrix, Filled(4, 0.25));
  EXPECT_EQ(record.label, "");
  EXPECT_TRUE(record.params.empty());
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 1, 0}));
}

TEST(AppendCoreTest, RecordsInACompositeBodyStillMarkTheirQubits) {
  QuantumCircuit circuit(4);
  GateRecordList body;
  AppendOneQubitRecord(circuit, GateId::kH, Filled(2, 1), 3, {}, body, "");
  AppendTwoQubitRecord(circuit, GateId::kCX, Filled(4, 1), 0, 2, {}, body, "");
  EXPECT_TRUE(circuit.gates().empty());
  EXPECT_EQ(body.size(), 2u);
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 0, 1, 1}));
}

TEST(AppendCoreTest, CxAndCu1Appenders) {
  QuantumCircuit circuit(2);
  GateRecordList body;
  EXPECT_EQ(AppendCX(circuit, 1, 0, body, "a"), 0);
  EXPECT_EQ(AppendCU1(circuit, 0.5, 0, 1, body, "b"), 0);
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0]->gate_type, GateId::kCX);
  EXPECT_EQ(body[0]->qubits, (std::vector<uint64_t>{1, 0}));
  EXPECT_TRUE(body[0]->params.empty());
  EXPECT_EQ(body[1]->gate_type, GateId::kCU1);
  EXPECT_EQ(body[1]->matrix(3, 3), std::complex<double>(0.5, 0));
  EXPECT_EQ(body[1]->params, std::vector<double>{0.5});
  EXPECT_THROW(AppendCX(circuit, 0, 2, body, ""), RunTimeError);
  EXPECT_THROW(AppendCU1(circuit, 1.0, 1, 1, body, ""), RunTimeError);
  EXPECT_EQ(body.size(), 2u);
}

}  // namespace

}  // namespace taviron
