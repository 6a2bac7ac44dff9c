#include "circuit/quantum_circuit.h"

#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit_append_compose.h"
#include "circuit/testing/dense_unitary.h"
#include "circuit/testing/composite_checks.h"

namespace taviron {

namespace {

using dense_unitary::Complex;
using namespace circuit_testing;

// Builds one composite on `operands` (controls, then the target) of a
// circuit and returns its handle's records.
using Builder = std::function<GateRecordList(
    QuantumCircuit&, const std::vector<uint64_t>&, const std::string&)>;

const Builder kC3X = [](QuantumCircuit& c, const std::vector<uint64_t>& q,
                        const std::string& label) {
  return c.c3x(q[0], q[1], q[2], q[3], label)->records;
};
const Builder kC4X = [](QuantumCircuit& c, const std::vector<uint64_t>& q,
                        const std::string& label) {
  return c.c4x(q[0], q[1], q[2], q[3], q[4], label)->records;
};
const Builder kC3SqrtX = [](QuantumCircuit& c, const std::vector<uint64_t>& q,
                            const std::string& label) {
  return c.c3sqrtx(q[0], q[1], q[2], q[3], label)->records;
};
const Builder kRCCCX = [](QuantumCircuit& c, const std::vector<uint64_t>& q,
                          const std::string& label) {
  return c.rcccx(q[0], q[1], q[2], q[3], label)->records;
};
const Builder kRC3X = [](QuantumCircuit& c, const std::vector<uint64_t>& q,
                         const std::string& label) {
  return c.rc3x(q[0], q[1], q[2], q[3], label)->records;
};

struct ExactCase {
  const char* name;
  Builder build;
  std::vector<uint64_t> operands;
  int num_qubits;
  MatrixXcd target_gate;
  size_t body_size;
};

TEST(FixedDecompositionsTest, MultiplyOutToTheIdealGate) {
  const std::vector<ExactCase> cases = {
      {"c3x", kC3X, {0, 1, 2, 3}, 4, dense_unitary::PauliX(), 31},
      {"c3x", kC3X, {3, 0, 4, 1}, 5, dense_unitary::PauliX(), 31},
      {"c4x", kC4X, {0, 1, 2, 3, 4}, 5, dense_unitary::PauliX(), 95},
      {"c4x", kC4X, {4, 1, 5, 0, 2}, 6, dense_unitary::PauliX(), 95},
      {"c3sqrtx", kC3SqrtX, {0, 1, 2, 3}, 4, dense_unitary::SqrtX(), 27},
      {"c3sqrtx", kC3SqrtX, {2, 4, 0, 3}, 5, dense_unitary::SqrtX(), 27},
  };
  for (const ExactCase& test : cases) {
    SCOPED_TRACE(test.name + std::string(" target ") +
                 std::to_string(test.operands.back()));
    QuantumCircuit circuit(test.num_qubits, 0);
    const GateRecordList records = test.build(circuit, test.operands, "");
    ASSERT_EQ(circuit.gates().size(), 1u);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], circuit.gates()[0]);
    const GateRecord& composite = *circuit.gates()[0];
    EXPECT_EQ(composite.gate_type, GateId::kComposite);
    EXPECT_EQ(composite.label, test.name);
    EXPECT_EQ(composite.qubits, test.operands);
    EXPECT_TRUE(composite.params.empty());
    EXPECT_EQ(composite.body.size(), test.body_size);

    const std::vector<uint64_t> controls(test.operands.begin(),
                                         test.operands.end() - 1);
    const MatrixXcd ideal = dense_unitary::ControlledUnitary(
        test.target_gate, controls, test.operands.back(), test.num_qubits);
    EXPECT_LT(dense_unitary::MaxDistance(
                  dense_unitary::RecordsUnitary(circuit.gates(), test.num_qubits),
                  ideal),
              1e-12);
  }
}

// rcccx is the triple-controlled X followed by relative phases: with
// controls c1, c2, c3 and target t (basis bits 0, 1, 2, 3 here), the phase i
// on |c1 c2 = 11, c3 = 0, t = 0>, -i on |c1 c2 = 11, c3 = 0, t = 1> and -1 on
// |1111>; every other basis state keeps its phase.
TEST(FixedDecompositionsTest, RelativePhaseC3XMultipliesOutUpToItsPhases) {
  QuantumCircuit circuit(4, 0);
  circuit.rcccx(0, 1, 2, 3);
  MatrixXcd phases = MatrixXcd::Identity(16, 16);
  phases(0b0011, 0b0011) = Complex(0, 1);
  phases(0b1011, 0b1011) = Complex(0, -1);
  phases(0b1111, 0b1111) = -1.0;
  const MatrixXcd ideal =
      phases * dense_unitary::ControlledUnitary(dense_unitary::PauliX(),
                                                {0, 1, 2}, 3, 4);
  EXPECT_LT(dense_unitary::MaxDistance(
                dense_unitary::RecordsUnitary(circuit.gates(), 4), ideal),
            1e-12);
}

TEST(FixedDecompositionsTest, C3XBodyShape) {
  QuantumCircuit circuit(4, 0);
  auto handle = circuit.c3x(0, 1, 2, 3);
  const GateRecordList& body = circuit.gates().at(0)->body;
  ASSERT_NO_FATAL_FAILURE(ExpectBodyBetweenTwoH(body, 31u, 3));
  int p = 0, cx = 0;
  for (const GateRecordPtr& record : body) {
    p += record->gate_type == kP;
    cx += record->gate_type == kCX;
  }
  EXPECT_EQ(p, 15);
  EXPECT_EQ(cx, 14);
  // Record 2 is p(pi/8) on c1; record 16 is cx c3, t.
  EXPECT_EQ(body[1]->params, std::vector<double>{0.39269908169872414});
  EXPECT_EQ(body[15]->qubits, (std::vector<uint64_t>{2, 3}));
  EXPECT_EQ(handle->label, "");
  for (int64_t flag : circuit.active_qubits()) EXPECT_EQ(flag, 1);
}

TEST(FixedDecompositionsTest, C4XBodyIsItsPartsInOrderAndCarriesTheLabel) {
  QuantumCircuit circuit(5, 0);
  auto handle = circuit.c4x(0, 1, 2, 3, 4, "mine");
  EXPECT_EQ(handle->label, "mine");
  const GateRecord& composite = *circuit.gates().at(0);
  EXPECT_EQ(composite.label, "mine");
  const GateRecordList& body = composite.body;
  ASSERT_EQ(body.size(), 95u);
  for (const GateRecordPtr& record : body) {
    EXPECT_EQ(record->label, "mine");
    EXPECT_NE(record->gate_type, GateId::kComposite);
  }
  // h t; cu1(pi/2) c4, t; h t; then c3x onto c4 (starting with h c4).
  EXPECT_EQ(body[1]->gate_type, kCU1);
  EXPECT_EQ(body[1]->qubits, (std::vector<uint64_t>{3, 4}));
  EXPECT_EQ(body[1]->params, std::vector<double>{1.5707963267948966});
  EXPECT_EQ(body[3]->gate_type, kH);
  EXPECT_EQ(body[3]->qubits, std::vector<uint64_t>{3});
  EXPECT_EQ(body[35]->params, std::vector<double>{-1.5707963267948966});
  // The last 27 records are c3sqrtx onto the target.
  EXPECT_EQ(body[68]->gate_type, kH);
  EXPECT_EQ(body[68]->qubits, std::vector<uint64_t>{4});
  EXPECT_EQ(body[69]->gate_type, kCU1);
  EXPECT_EQ(body[69]->qubits, (std::vector<uint64_t>{0, 4}));
}

TEST(FixedDecompositionsTest, RelativePhaseC3XRecords) {
  QuantumCircuit circuit(4, 0);
  circuit.rcccx(0, 1, 2, 3);
  circuit.rc3x(0, 1, 2, 3);
  const GateRecord& a = *circuit.gates().at(0);
  const GateRecord& b = *circuit.gates().at(1);
  EXPECT_EQ(a.label, "rc3x");
  EXPECT_EQ(b.label, "rc3x");
  EXPECT_TRUE(a.params.empty());
  EXPECT_EQ(a.qubits, b.qubits);
  EXPECT_TRUE(GateListsEqual(a.body, b.body));
  ASSERT_EQ(a.body.size(), 18u);
  // u2(0, pi) computed from cos and sin: tiny imaginary parts stay.
  EXPECT_EQ(a.body[0]->gate_type, kU2);
  EXPECT_EQ(a.body[0]->params, (std::vector<double>{0.0, 3.141592653589793}));
  EXPECT_EQ(a.body[0]->matrix(1, 1),
            Complex(-0.7071067811865476, 1.2246467991473532e-16 *
                                             0.7071067811865476));
  EXPECT_EQ(a.body[1]->gate_type, kU1);
  EXPECT_EQ(a.body[1]->params, std::vector<double>{0.7853981633974483});
  EXPECT_EQ(a.body[2]->qubits, (std::vector<uint64_t>{2, 3}));
}

TEST(FixedDecompositionsTest, OperandChecksRefuseBeforeAnythingChanges) {
  struct Case {
    const char* name;
    Builder build;
    std::vector<uint64_t> operands;
  };
  const uint64_t n = 5;
  const uint64_t minus_one = std::numeric_limits<uint64_t>::max();
  std::vector<Case> cases;
  for (const auto& [name, build, width] :
       std::vector<std::tuple<const char*, Builder, size_t>>{
           {"c3x", kC3X, 4},
           {"rcccx", kRCCCX, 4},
           {"rc3x", kRC3X, 4},
           {"c3sqrtx", kC3SqrtX, 4},
           {"c4x", kC4X, 5}}) {
    std::vector<uint64_t> distinct;
    for (uint64_t k = 0; k < width; ++k) distinct.push_back(k);
    // Every pair of equal operands (c4x: the fourth control and the target
    // too), then each operand outside the circuit.
    for (size_t i = 0; i < width; ++i) {
      for (size_t j = i + 1; j < width; ++j) {
        std::vector<uint64_t> operands = distinct;
        operands[j] = operands[i];
        cases.push_back({name, build, operands});
      }
      std::vector<uint64_t> outside = distinct;
      outside[i] = n;
      cases.push_back({name, build, outside});
      outside[i] = minus_one;
      cases.push_back({name, build, outside});
    }
  }
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name + std::string(" ") +
                 testing::PrintToString(test.operands));
    QuantumCircuit circuit(n, 0);
    ExpectRefusedLeavingCircuitEmpty(
        circuit, [&] { test.build(circuit, test.operands, ""); });
  }
}

TEST(FixedDecompositionsTest, GmsPairsFollowListPositions) {
  QuantumCircuit circuit(3, 0);
  const double theta = 0.6;
  auto handle = circuit.gms(theta, {2, 0, 1});
  ASSERT_EQ(circuit.gates().size(), 1u);
  EXPECT_EQ(handle->records.at(0), circuit.gates()[0]);
  const GateRecord& composite = *circuit.gates()[0];
  EXPECT_EQ(composite.label, "Gms");
  EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{2, 0, 1}));
  EXPECT_EQ(composite.params, std::vector<double>{theta});
  const std::vector<std::vector<uint64_t>> pairs = {{2, 0}, {2, 1}, {0, 1}};
  ASSERT_EQ(composite.body.size(), pairs.size());
  MatrixXcd rxx = MatrixXcd::Zero(4, 4);
  for (int k = 0; k < 4; ++k) {
    rxx(k, k) = std::cos(theta / 2);
    rxx(k, 3 - k) = Complex(0, -std::sin(theta / 2));
  }
  for (size_t i = 0; i < pairs.size(); ++i) {
    const GateRecord& record = *composite.body[i];
    EXPECT_EQ(record.gate_type, kRXX);
    EXPECT_EQ(record.qubits, pairs[i]);
    EXPECT_EQ(record.params, std::vector<double>{theta});
    EXPECT_LT(dense_unitary::MaxDistance(record.matrix, rxx), 1e-15);
  }

  circuit.ms(theta, {1}, "one");
  EXPECT_EQ(circuit.gates().at(1)->label, "one");
  EXPECT_TRUE(circuit.gates()[1]->body.empty());
  EXPECT_EQ(circuit.gates()[1]->qubits, std::vector<uint64_t>{1});
}

TEST(FixedDecompositionsTest, GmsRefusals) {
  const std::vector<std::vector<uint64_t>> lists = {
      {},  // names no qubit at all
      {1, 1},
      {0, 2, 0},
      {0, 3},
      {std::numeric_limits<uint64_t>::max(), 0},
  };
  for (const auto& list : lists) {
    SCOPED_TRACE(testing::PrintToString(list));
    for (bool alias : {false, true}) {
      QuantumCircuit circuit(3, 0);
      ExpectRefusedLeavingCircuitEmpty(circuit, [&] {
        alias ? circuit.ms(0.1, list) : circuit.gms(0.1, list);
      });
    }
  }
}

}  // namespace

}  // namespace taviron
