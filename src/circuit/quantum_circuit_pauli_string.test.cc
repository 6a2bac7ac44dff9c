#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

const std::string kInvalidParameter = "Invalid Parameter passed to the gate instruction.";

// (gate type, qubit) of every body record.
using BodyShape = std::vector<std::pair<GateId, uint64_t>>;

constexpr GateId kX = GateId::kX;
constexpr GateId kY = GateId::kY;
constexpr GateId kZ = GateId::kZ;

TEST(PauliStringTest, ReversedWalk) {
  struct Case {
    std::vector<int64_t> qubits;
    std::string pauli_operator;
    std::vector<uint64_t> composite_qubits;
    std::vector<std::string> texts;
    BodyShape body;
  };
  const std::vector<Case> cases = {
      // The last letter acts on the first listed qubit.
      {{0, 1, 2}, "XYZ", {2, 1, 0}, {"X", "Y", "Z"}, {{kX, 2}, {kY, 1}, {kZ, 0}}},
      {{0, 1, 2}, "xiz", {2, 1, 0}, {"X", "I", "Z"}, {{kX, 2}, {kZ, 0}}},
      {{2, 0}, "yI", {0, 2}, {"Y", "I"}, {{kY, 0}}},
      {{0, 0}, "XX", {0, 0}, {"X", "X"}, {{kX, 0}, {kX, 0}}},
      {{1}, "i", {1}, {"I"}, {}},
      {{}, "", {}, {}, {}},
  };
  const auto& constants = GateMatrixConstants::Get();
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.pauli_operator + "'");
    QuantumCircuit circuit(3);
    std::unique_ptr<PAULIGate> handle = circuit.pauli(c.qubits, c.pauli_operator);
    ASSERT_EQ(circuit.gates().size(), 1u);
    const GateRecord& composite = *circuit.gates()[0];
    EXPECT_EQ(composite.gate_type, GateId::kComposite);
    EXPECT_EQ(composite.label, "Pauli");
    EXPECT_EQ(composite.qubits, c.composite_qubits);
    EXPECT_EQ(composite.texts, c.texts);
    EXPECT_TRUE(composite.params.empty());
    EXPECT_EQ(composite.matrix.size(), 0);
    BodyShape body;
    for (const GateRecordPtr& part : composite.body) {
      ASSERT_EQ(part->qubits.size(), 1u);
      body.push_back({part->gate_type, part->qubits[0]});
      EXPECT_EQ(part->label, "");
      EXPECT_TRUE(part->params.empty());
      const MatrixXcd& expected = part->gate_type == kX   ? constants.MatrixX
                                  : part->gate_type == kY ? constants.MatrixY
                                                          : constants.MatrixZ;
      EXPECT_EQ(part->matrix, expected);
    }
    EXPECT_EQ(body, c.body);
    // Every listed qubit is marked, also one whose letter is I.
    for (int64_t q : c.qubits) EXPECT_EQ(circuit.active_qubits()[q], 1);
    EXPECT_EQ(handle->label, "");
    ASSERT_EQ(handle->records.size(), 1u);
    EXPECT_EQ(handle->records[0], circuit.gates()[0]);
  }
}

TEST(PauliStringTest, CallersLabel) {
  QuantumCircuit circuit(2);
  auto handle = circuit.pauli({0, 1}, "ZX", "mine");
  const GateRecord& composite = *circuit.gates()[0];
  EXPECT_EQ(composite.label, "mine");
  EXPECT_EQ(handle->label, "mine");
  ASSERT_EQ(composite.body.size(), 2u);
  for (const GateRecordPtr& part : composite.body) EXPECT_EQ(part->label, "mine");
}

TEST(PauliStringTest, RefusedCalls) {
  struct Case {
    std::vector<int64_t> qubits;
    std::string pauli_operator;
    std::string message;
    // Flags left set by the positions handled before the failure.
    std::vector<int64_t> active_after;
  };
  const std::vector<Case> cases = {
      {{0, 1}, "X", kInvalidParameter, {0, 0}},
      {{0}, "XY", kInvalidParameter, {0, 0}},
      {{5}, "I", kInvalidParameter, {0, 0}},
      {{-1}, "X", kInvalidParameter, {0, 0}},
      {{0, 2}, "XX", kInvalidParameter, {0, 0}},
      {{2, 0}, "XX", kInvalidParameter, {1, 0}},
      {{0, 1}, "XA", "Invalid Pauli operator: XA", {1, 1}},
      {{0, 1}, "AX", "Invalid Pauli operator: AX", {0, 1}},
      {{0, 1}, "X ", "Invalid Pauli operator: X ", {1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.pauli_operator + "'");
    QuantumCircuit circuit(2);
    try {
      circuit.pauli(c.qubits, c.pauli_operator);
      ADD_FAILURE() << "no exception";
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_TRUE(circuit.gates().empty());
    EXPECT_EQ(circuit.active_qubits(), c.active_after);
  }
}

}  // namespace

}  // namespace taviron
