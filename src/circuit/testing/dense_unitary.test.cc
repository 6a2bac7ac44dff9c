// Sanity checks of the test-only dense unitary helper against matrices
// written out by hand, so the decomposition tests rest on a checked base.

#include "circuit/testing/dense_unitary.h"

#include <cmath>

#include <gtest/gtest.h>

namespace taviron {

namespace {

using dense_unitary::Complex;

GateRecordPtr TwoQubitRecord(GateId type, const MatrixXcd& matrix,
                             uint64_t first, uint64_t second) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = type;
  record->matrix = matrix;
  record->qubits = {first, second};
  return record;
}

MatrixXcd CXMatrix() {
  // Control is the low bit: |c=1,t=0> (index 1) <-> |c=1,t=1> (index 3).
  MatrixXcd m = MatrixXcd::Zero(4, 4);
  m(0, 0) = m(2, 2) = m(1, 3) = m(3, 1) = 1.0;
  return m;
}

TEST(DenseUnitaryTest, TwoQubitRecordUsesFirstQubitAsLowBit) {
  // cx with control qubit 2 and target qubit 0 on three qubits flips bit 0
  // of every basis index whose bit 2 is set.
  GateRecordList records = {TwoQubitRecord(GateId::kCX, CXMatrix(), 2, 0)};
  const MatrixXcd u = dense_unitary::RecordsUnitary(records, 3);
  MatrixXcd expected = MatrixXcd::Zero(8, 8);
  for (int column = 0; column < 8; ++column) {
    const int row = (column & 4) ? (column ^ 1) : column;
    expected(row, column) = 1.0;
  }
  EXPECT_LT(dense_unitary::MaxDistance(u, expected), 1e-15);
  EXPECT_LT(dense_unitary::MaxDistance(
                u, dense_unitary::ControlledUnitary(dense_unitary::PauliX(),
                                                    {2}, 0, 3)),
            1e-15);
}

TEST(DenseUnitaryTest, CU1ReadsItsAngleAndCompositesRunTheirBodyInOrder) {
  MatrixXcd cu1 = MatrixXcd::Identity(4, 4);
  cu1(3, 3) = 0.5;  // the angle itself
  auto composite = std::make_shared<GateRecord>();
  composite->gate_type = GateId::kComposite;
  composite->body = {TwoQubitRecord(GateId::kCU1, cu1, 0, 1),
                     TwoQubitRecord(GateId::kCX, CXMatrix(), 0, 1)};
  const MatrixXcd u = dense_unitary::RecordsUnitary({composite}, 2);
  // |11> gets e^(0.5 i) and then moves to |01>.
  EXPECT_LT(std::abs(u(1, 3) - Complex(std::cos(0.5), std::sin(0.5))), 1e-15);
  EXPECT_LT(std::abs(u(3, 1) - 1.0), 1e-15);
  EXPECT_LT(std::abs(u(0, 0) - 1.0), 1e-15);
  EXPECT_LT(std::abs(u(2, 2) - 1.0), 1e-15);
}

}  // namespace

}  // namespace taviron
