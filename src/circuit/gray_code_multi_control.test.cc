#include "circuit/gray_code_multi_control.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "circuit/testing/dense_unitary.h"
#include "foundation/exceptions.h"
#include "foundation/memory_budget.h"

namespace taviron {

namespace {

constexpr GateId kCX = GateId::kCX;

// One expected record: a CX (control, target) or a leaf on (control, t)
// with angle sign * x / 2^(n-1).
struct Expected {
  bool leaf;
  uint64_t first;
  uint64_t second;
  int sign;
};

void ExpectRecords(const GateRecordList& body,
                   const std::vector<Expected>& expected, double step) {
  ASSERT_EQ(body.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i + 1));
    const GateRecord& record = *body[i];
    EXPECT_EQ(record.qubits,
              (std::vector<uint64_t>{expected[i].first, expected[i].second}));
    if (expected[i].leaf) {
      EXPECT_EQ(record.gate_type, kLeafCU1);
      EXPECT_EQ(record.params, std::vector<double>{expected[i].sign * step});
    } else {
      EXPECT_EQ(record.gate_type, kCX);
      EXPECT_TRUE(record.params.empty());
    }
  }
}

TEST(GrayCodeMultiControlTest, ThreeControlsFollowTheGrayCodeOrder) {
  QuantumCircuit circuit(6, 6);
  GateRecordList body;
  const uint64_t c0 = 1, c1 = 3, c2 = 4, t = 0;
  ASSERT_EQ(AppendGrayCodeMultiControl(circuit, 1.0, {c0, c1, c2}, t, kLeafCU1,
                                       {}, body, "L"),
            0);
  ExpectRecords(body,
                {{true, c2, t, +1},
                 {false, c2, c1, 0},
                 {true, c1, t, -1},
                 {false, c2, c1, 0},
                 {true, c1, t, +1},
                 {false, c1, c0, 0},
                 {true, c0, t, -1},
                 {false, c2, c0, 0},
                 {true, c0, t, +1},
                 {false, c1, c0, 0},
                 {true, c0, t, -1},
                 {false, c2, c0, 0},
                 {true, c0, t, +1}},
                0.25);
  for (const GateRecordPtr& record : body) EXPECT_EQ(record->label, "L");
  EXPECT_TRUE(circuit.gates().empty());
}

TEST(GrayCodeMultiControlTest, TwoControls) {
  QuantumCircuit circuit(3, 3);
  GateRecordList body;
  ASSERT_EQ(AppendGrayCodeMultiControl(circuit, 2.0, {0, 2}, 1, kLeafCU1, {},
                                       body, ""),
            0);
  ExpectRecords(body,
                {{true, 2, 1, +1},
                 {false, 2, 0, 0},
                 {true, 0, 1, -1},
                 {false, 2, 0, 0},
                 {true, 0, 1, +1}},
                1.0);
}

TEST(GrayCodeMultiControlTest, CountsLeavesAndCXRecords) {
  for (uint64_t n = 1; n <= 6; ++n) {
    SCOPED_TRACE("controls " + std::to_string(n));
    QuantumCircuit circuit(n + 1, 0);
    std::vector<uint64_t> controls;
    for (uint64_t k = 1; k <= n; ++k) controls.push_back(k);
    GateRecordList body;
    ASSERT_EQ(AppendGrayCodeMultiControl(circuit, 1.0, controls, 0,
                                         kLeafControlledPhase, {}, body, ""),
              0);
    size_t leaves = 0, cx = 0;
    for (const GateRecordPtr& record : body) {
      (record->gate_type == kCX ? cx : leaves) += 1;
    }
    EXPECT_EQ(leaves, (size_t{1} << n) - 1);
    EXPECT_EQ(cx, (size_t{1} << n) - 2);
    EXPECT_NE(body.front()->gate_type, kCX);
    for (uint64_t q = 0; q <= n; ++q) EXPECT_EQ(circuit.active_qubits()[q], 1);
  }
}

TEST(GrayCodeMultiControlTest, RefusalsAppendNothing) {
  QuantumCircuit circuit(40, 0);
  GateRecordList body;
  std::vector<uint64_t> thirty_three;
  for (uint64_t k = 1; k <= 33; ++k) thirty_three.push_back(k);
  const std::vector<uint64_t> thirty_two(thirty_three.begin(),
                                         thirty_three.end() - 1);

  EXPECT_EQ(AppendGrayCodeMultiControl(circuit, 1.0, {1, 2}, 0, GateId::kCX, {}, body,
                                       ""),
            kUnknownLeafKindStatus);
  EXPECT_EQ(kUnknownLeafKindStatus, static_cast<int32_t>(0x80000012u));
  // Without controls there is no leaf, so neither the kind nor the leaf
  // parameters are looked at.
  EXPECT_EQ(AppendGrayCodeMultiControl(circuit, 1.0, {}, 0, GateId::kCX, {}, body, ""),
            0);
  EXPECT_EQ(AppendGrayCodeMultiControl(circuit, 1.0, {}, 0, kLeafControlledU,
                                       {}, body, ""),
            0);

  try {
    AppendGrayCodeMultiControl(circuit, 1.0, {1, 2}, 0, kLeafControlledU,
                               {0.0, 0.0}, body, "");
    ADD_FAILURE() << "fewer than three leaf parameters accepted";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "invalid vector subscript");
  }

  try {
    AppendGrayCodeMultiControl(circuit, 1.0, thirty_three, 0, kLeafCU1, {},
                               body, "");
    ADD_FAILURE() << "33 controls accepted";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "invalid string position");
  }

  // 2^33 - 3 records cannot fit in any memory: refused before building.
  EXPECT_THROW(AppendGrayCodeMultiControl(circuit, 1.0, thirty_two, 0,
                                          kLeafCU1, {}, body, ""),
               MemoryBudgetError);

  EXPECT_TRUE(body.empty());
  for (int64_t flag : circuit.active_qubits()) EXPECT_EQ(flag, 0);
}

// The even-parity cu leaf is cu(E, -lambda, -phi, gamma): phi and lambda are
// swapped and negated but gamma is kept, so it is the inverse of the odd
// leaf only for gamma 0, which is what every gate method passes.
TEST(GrayCodeMultiControlTest, EvenCULeafKeepsGamma) {
  QuantumCircuit circuit(3, 0);
  GateRecordList body;
  ASSERT_EQ(AppendGrayCodeMultiControl(circuit, 0.8, {0, 1}, 2,
                                       kLeafControlledU, {0.1, 0.2, 0.3},
                                       body, ""),
            0);
  ASSERT_EQ(body.size(), 5u);
  EXPECT_EQ(body[0]->params, (std::vector<double>{0.4, 0.1, 0.2, 0.3}));
  EXPECT_EQ(body[2]->params, (std::vector<double>{-0.4, -0.2, -0.1, 0.3}));
  EXPECT_EQ(body[4]->params, (std::vector<double>{0.4, 0.1, 0.2, 0.3}));

  // With gamma 0 the even leaf undoes the odd one: records 3 and 5 are
  // cu(-0.4, ...) and cu(0.4, ...) on the same pair (0, 2).
  GateRecordList zero_gamma;
  AppendGrayCodeMultiControl(circuit, 0.8, {0, 1}, 2, kLeafControlledU,
                             {0.1, 0.2, 0.0}, zero_gamma, "");
  const MatrixXcd u =
      dense_unitary::RecordsUnitary({zero_gamma[2], zero_gamma[4]}, 3);
  EXPECT_LT(dense_unitary::MaxDistance(u, MatrixXcd::Identity(8, 8)), 1e-12);
}

TEST(GrayCodeMultiControlTest, CULeafMatrix) {
  // cu(theta, phi, lambda, gamma) puts e^(i gamma) U(theta, phi, lambda) on
  // rows and columns 1 and 3 of diag(1, 0, 1, 0).
  QuantumCircuit circuit(2, 0);
  GateRecordList body;
  const double theta = 0.7, phi = 0.3, lambda = -1.1, gamma = 0.4;
  AppendGrayCodeMultiControl(circuit, theta, {0}, 1, kLeafControlledU,
                             {phi, lambda, gamma}, body, "");
  ASSERT_EQ(body.size(), 1u);
  const MatrixXcd& m = body[0]->matrix;
  auto e = [](double a) { return dense_unitary::Complex(std::cos(a), std::sin(a)); };
  const double c = std::cos(theta / 2), s = std::sin(theta / 2);
  MatrixXcd expected = MatrixXcd::Zero(4, 4);
  expected(0, 0) = expected(2, 2) = 1.0;
  expected(1, 1) = e(gamma) * c;
  expected(1, 3) = -e(lambda + gamma) * s;
  expected(3, 1) = e(phi + gamma) * s;
  expected(3, 3) = e(phi + lambda + gamma) * c;
  EXPECT_LT(dense_unitary::MaxDistance(m, expected), 1e-15);
  EXPECT_EQ(body[0]->gate_type, kLeafControlledU);
  EXPECT_EQ(body[0]->params, (std::vector<double>{theta, phi, lambda, gamma}));
}

}  // namespace

}  // namespace taviron
