#include "foundation/gate_matrix_constants.h"

#include <complex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

using Complex = std::complex<double>;
using G = GateMatrixConstants;

const double r = 0.7071067811865476;
const double h = 0.5;
const Complex i(0.0, 1.0);

struct ConstantCase {
  const char* name;
  MatrixXcd GateMatrixConstants::*member;
  Eigen::Index rows;
  Eigen::Index cols;
  std::vector<Complex> values;  // row by row
};

// Every constant with its exact entries. T, S and Tdg are the values that
// cos/sin give at the doubles nearest pi/4, pi/2 and -pi/4.
const std::vector<ConstantCase>& Cases() {
  static const std::vector<ConstantCase> cases = {
      {"MatrixOne", &G::MatrixOne, 1, 1, {1}},
      {"MatrixZero", &G::MatrixZero, 1, 1, {0}},
      {"MatrixKet0", &G::MatrixKet0, 2, 1, {1, 0}},
      {"MatrixKet1", &G::MatrixKet1, 2, 1, {0, 1}},
      {"MatrixKetPlus", &G::MatrixKetPlus, 2, 1, {r, r}},
      {"MatrixKetMinus", &G::MatrixKetMinus, 2, 1, {-r, r}},
      {"MatrixPauliX", &G::MatrixPauliX, 2, 2, {0, 1, 1, 0}},
      {"MatrixPauliY", &G::MatrixPauliY, 2, 2, {0, -i, i, 0}},
      {"MatrixPauliZ", &G::MatrixPauliZ, 2, 2, {1, 0, 0, -1}},
      {"MatrixProjector0", &G::MatrixProjector0, 2, 2, {1, 0, 0, 0}},
      {"MatrixProjector1", &G::MatrixProjector1, 2, 2, {0, 0, 0, 1}},
      {"MatrixProjector0B", &G::MatrixProjector0B, 2, 2, {1, 0, 0, 0}},
      {"MatrixProjector1B", &G::MatrixProjector1B, 2, 2, {0, 0, 0, 1}},
      {"MatrixI", &G::MatrixI, 2, 2, {1, 0, 0, 1}},
      {"MatrixX", &G::MatrixX, 2, 2, {0, 1, 1, 0}},
      {"MatrixY", &G::MatrixY, 2, 2, {0, -i, i, 0}},
      {"MatrixZ", &G::MatrixZ, 2, 2, {1, 0, 0, -1}},
      {"MatrixH", &G::MatrixH, 2, 2, {r, r, r, -r}},
      {"MatrixT", &G::MatrixT, 2, 2,
       {1, 0, 0, Complex(0.7071067811865476, 0.7071067811865475)}},
      {"MatrixS", &G::MatrixS, 2, 2,
       {1, 0, 0, Complex(6.123233995736766e-17, 1.0)}},
      {"MatrixTdg", &G::MatrixTdg, 2, 2,
       {1, 0, 0, Complex(0.7071067811865476, -0.7071067811865475)}},
      {"MatrixSdg", &G::MatrixSdg, 2, 2, {1, 0, 0, Complex(0.0, -1.0)}},
      {"MatrixSX", &G::MatrixSX, 2, 2,
       {Complex(h, h), Complex(h, -h), Complex(h, -h), Complex(h, h)}},
      {"MatrixSXdg", &G::MatrixSXdg, 2, 2,
       {Complex(h, -h), Complex(h, h), Complex(h, h), Complex(h, -h)}},
      {"MatrixProjectorPlus", &G::MatrixProjectorPlus, 2, 2, {h, h, h, h}},
      {"MatrixProjectorMinus", &G::MatrixProjectorMinus, 2, 2, {h, -h, -h, h}},
      {"MatrixProjectorPlusI", &G::MatrixProjectorPlusI, 2, 2,
       {h, Complex(0, -h), Complex(0, h), h}},
      {"MatrixProjectorMinusI", &G::MatrixProjectorMinusI, 2, 2,
       {h, Complex(0, h), Complex(0, -h), h}},
      {"MatrixCXB", &G::MatrixCXB, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0}},
      {"MatrixCY", &G::MatrixCY, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, -i, 0, 0, 1, 0, 0, i, 0, 0}},
      {"MatrixCZ", &G::MatrixCZ, 4, 4,
       {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1}},
      {"MatrixCX", &G::MatrixCX, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0}},
      {"MatrixCH", &G::MatrixCH, 4, 4,
       {1, 0, 0, 0, 0, r, 0, r, 0, 0, 1, 0, 0, r, 0, -r}},
      {"MatrixCPBase", &G::MatrixCPBase, 4, 4,
       {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {"MatrixCRXBase", &G::MatrixCRXBase, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {"MatrixCRYBase", &G::MatrixCRYBase, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {"MatrixCRZBase", &G::MatrixCRZBase, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {"MatrixCS", &G::MatrixCS, 4, 4,
       {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, i}},
      {"MatrixCSdg", &G::MatrixCSdg, 4, 4,
       {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -i}},
      {"MatrixCSX", &G::MatrixCSX, 4, 4,
       {1, 0, 0, 0, 0, Complex(h, h), 0, Complex(h, -h), 0, 0, 1, 0, 0,
        Complex(h, -h), 0, Complex(h, h)}},
      {"MatrixCUBase", &G::MatrixCUBase, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
      {"MatrixDCX", &G::MatrixDCX, 4, 4,
       {1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0}},
      {"MatrixECRBase", &G::MatrixECRBase, 4, 4,
       {0, 1, 0, i, 1, 0, -i, 0, 0, i, 0, 1, -i, 0, 1, 0}},
      {"MatrixISWAP", &G::MatrixISWAP, 4, 4,
       {1, 0, 0, 0, 0, 0, i, 0, 0, i, 0, 0, 0, 0, 0, 1}},
      {"MatrixSWAP", &G::MatrixSWAP, 4, 4,
       {1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
  };
  return cases;
}

TEST(GateMatrixConstantsTest, EveryConstantHasItsShapeAndExactEntries) {
  const GateMatrixConstants& constants = GateMatrixConstants::Get();
  ASSERT_EQ(Cases().size(), 45u);
  for (const ConstantCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const MatrixXcd& matrix = constants.*c.member;
    ASSERT_EQ(matrix.rows(), c.rows);
    ASSERT_EQ(matrix.cols(), c.cols);
    for (Eigen::Index row = 0; row < c.rows; ++row) {
      for (Eigen::Index col = 0; col < c.cols; ++col) {
        const Complex expected = c.values[static_cast<size_t>(row * c.cols + col)];
        // Exact comparison, sign of zero aside.
        EXPECT_EQ(matrix(row, col), expected) << "entry (" << row << "," << col << ")";
      }
    }
  }
}

TEST(GateMatrixConstantsTest, EveryConstantHasItsOwnStorageAndOneSetExists) {
  const GateMatrixConstants& constants = GateMatrixConstants::Get();
  EXPECT_EQ(&constants, &GateMatrixConstants::Get());
  std::set<const Complex*> storages;
  for (const ConstantCase& c : Cases()) {
    storages.insert((constants.*c.member).data());
  }
  EXPECT_EQ(storages.size(), 45u);
}

TEST(GateMatrixConstantsTest, FirstQubitIsTheLowBitOfTheTwoQubitIndex) {
  const GateMatrixConstants& constants = GateMatrixConstants::Get();
  auto basis = [](Eigen::Index index) {
    Eigen::VectorXcd state = Eigen::VectorXcd::Zero(4);
    state(index) = 1.0;
    return state;
  };
  // CX: the control (first qubit) is bit 0, so |index 1> -> |index 3>.
  EXPECT_EQ(Eigen::VectorXcd(constants.MatrixCX * basis(1)), basis(3));
  EXPECT_EQ(Eigen::VectorXcd(constants.MatrixCX * basis(2)), basis(2));
  // CY maps index 1 to i |3> and index 3 to -i |1>.
  EXPECT_EQ(Eigen::VectorXcd(constants.MatrixCY * basis(1)),
            Eigen::VectorXcd(i * basis(3)));
  EXPECT_EQ(Eigen::VectorXcd(constants.MatrixCY * basis(3)),
            Eigen::VectorXcd(-i * basis(1)));
}

TEST(GateMatrixConstantsTest, SdgTimesSIsNotExactlyTheIdentity) {
  const GateMatrixConstants& constants = GateMatrixConstants::Get();
  const MatrixXcd product = constants.MatrixS * constants.MatrixSdg;
  EXPECT_EQ(product(0, 0), Complex(1.0, 0.0));
  EXPECT_EQ(product(1, 1), Complex(1.0, -6.123233995736766e-17));
}

}  // namespace

}  // namespace taviron
