#include "foundation/gate_matrix_constants.h"

#include <cmath>
#include <complex>
#include <vector>

namespace taviron {

namespace {

using Complex = std::complex<double>;

constexpr double r = 0.7071067811865476;  // the double nearest 1/sqrt(2)
constexpr double h = 0.5;
constexpr Complex i{0.0, 1.0};

// The double nearest pi/4 and pi/2: the phases of T, S and Tdg.
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kHalfPi = 1.5707963267948966;

// One constant written row by row.
struct ConstantDefinition {
  MatrixXcd GateMatrixConstants::*member;
  Eigen::Index rows;
  Eigen::Index cols;
  std::vector<Complex> values;  // row-major
};

// diag(1, e^(i theta)), its phase evaluated with the math library.
MatrixXcd PhaseMatrix(double theta) {
  MatrixXcd matrix = MatrixXcd::Zero(2, 2);
  matrix(0, 0) = 1.0;
  matrix(1, 1) = Complex(std::cos(theta), std::sin(theta));
  return matrix;
}

using G = GateMatrixConstants;

// Every stored constant in its order of definition; MatrixT, MatrixS and
// MatrixTdg are computed instead (see the constructor).
std::vector<ConstantDefinition> StoredConstants() {
  return {
      {&G::MatrixOne, 1, 1, {1}},
      {&G::MatrixZero, 1, 1, {0}},
      {&G::MatrixKet0, 2, 1, {1, 0}},
      {&G::MatrixKet1, 2, 1, {0, 1}},
      {&G::MatrixKetPlus, 2, 1, {r, r}},
      {&G::MatrixKetMinus, 2, 1, {-r, r}},
      {&G::MatrixPauliX, 2, 2, {0, 1, 1, 0}},
      {&G::MatrixPauliY, 2, 2, {0, -i, i, 0}},
      {&G::MatrixPauliZ, 2, 2, {1, 0, 0, -1}},
      {&G::MatrixProjector0, 2, 2, {1, 0, 0, 0}},
      {&G::MatrixProjector1, 2, 2, {0, 0, 0, 1}},
      {&G::MatrixProjector0B, 2, 2, {1, 0, 0, 0}},
      {&G::MatrixProjector1B, 2, 2, {0, 0, 0, 1}},
      {&G::MatrixI, 2, 2, {1, 0, 0, 1}},
      {&G::MatrixX, 2, 2, {0, 1, 1, 0}},
      {&G::MatrixY, 2, 2, {0, -i, i, 0}},
      {&G::MatrixZ, 2, 2, {1, 0, 0, -1}},
      {&G::MatrixH, 2, 2, {r, r, r, -r}},
      {&G::MatrixSdg, 2, 2, {1, 0, 0, -i}},
      {&G::MatrixSX, 2, 2, {h + h * i, h - h * i, h - h * i, h + h * i}},
      {&G::MatrixSXdg, 2, 2, {h - h * i, h + h * i, h + h * i, h - h * i}},
      {&G::MatrixProjectorPlus, 2, 2, {h, h, h, h}},
      {&G::MatrixProjectorMinus, 2, 2, {h, -h, -h, h}},
      {&G::MatrixProjectorPlusI, 2, 2, {h, -h * i, h * i, h}},
      {&G::MatrixProjectorMinusI, 2, 2, {h, h * i, -h * i, h}},
      {&G::MatrixCXB, 4, 4, {1, 0, 0, 0,
                             0, 0, 0, 1,
                             0, 0, 1, 0,
                             0, 1, 0, 0}},
      {&G::MatrixCY, 4, 4, {1, 0, 0, 0,
                            0, 0, 0, -i,
                            0, 0, 1, 0,
                            0, i, 0, 0}},
      {&G::MatrixCZ, 4, 4, {1, 0, 0, 0,
                            0, 1, 0, 0,
                            0, 0, 1, 0,
                            0, 0, 0, -1}},
      {&G::MatrixCX, 4, 4, {1, 0, 0, 0,
                            0, 0, 0, 1,
                            0, 0, 1, 0,
                            0, 1, 0, 0}},
      {&G::MatrixCH, 4, 4, {1, 0, 0, 0,
                            0, r, 0, r,
                            0, 0, 1, 0,
                            0, r, 0, -r}},
      {&G::MatrixCPBase, 4, 4, {1, 0, 0, 0,
                                0, 1, 0, 0,
                                0, 0, 1, 0,
                                0, 0, 0, 0}},
      {&G::MatrixCRXBase, 4, 4, {1, 0, 0, 0,
                                 0, 0, 0, 0,
                                 0, 0, 1, 0,
                                 0, 0, 0, 0}},
      {&G::MatrixCRYBase, 4, 4, {1, 0, 0, 0,
                                 0, 0, 0, 0,
                                 0, 0, 1, 0,
                                 0, 0, 0, 0}},
      {&G::MatrixCRZBase, 4, 4, {1, 0, 0, 0,
                                 0, 0, 0, 0,
                                 0, 0, 1, 0,
                                 0, 0, 0, 0}},
      {&G::MatrixCS, 4, 4, {1, 0, 0, 0,
                            0, 1, 0, 0,
                            0, 0, 1, 0,
                            0, 0, 0, i}},
      {&G::MatrixCSdg, 4, 4, {1, 0, 0, 0,
                              0, 1, 0, 0,
                              0, 0, 1, 0,
                              0, 0, 0, -i}},
      {&G::MatrixCSX, 4, 4, {1, 0, 0, 0,
                             0, h + h * i, 0, h - h * i,
                             0, 0, 1, 0,
                             0, h - h * i, 0, h + h * i}},
      {&G::MatrixCUBase, 4, 4, {1, 0, 0, 0,
                                0, 0, 0, 0,
                                0, 0, 1, 0,
                                0, 0, 0, 0}},
      {&G::MatrixDCX, 4, 4, {1, 0, 0, 0,
                             0, 0, 0, 1,
                             0, 1, 0, 0,
                             0, 0, 1, 0}},
      {&G::MatrixECRBase, 4, 4, {0, 1, 0, i,
                                 1, 0, -i, 0,
                                 0, i, 0, 1,
                                 -i, 0, 1, 0}},
      {&G::MatrixISWAP, 4, 4, {1, 0, 0, 0,
                               0, 0, i, 0,
                               0, i, 0, 0,
                               0, 0, 0, 1}},
      {&G::MatrixSWAP, 4, 4, {1, 0, 0, 0,
                              0, 0, 1, 0,
                              0, 1, 0, 0,
                              0, 0, 0, 1}},
  };
}

}  // namespace

GateMatrixConstants::GateMatrixConstants() {
  for (const ConstantDefinition& definition : StoredConstants()) {
    MatrixXcd& matrix = this->*definition.member;
    matrix.resize(definition.rows, definition.cols);
    for (Eigen::Index row = 0; row < definition.rows; ++row) {
      for (Eigen::Index col = 0; col < definition.cols; ++col) {
        matrix(row, col) = definition.values[static_cast<size_t>(
            row * definition.cols + col)];
      }
    }
  }
  MatrixT = PhaseMatrix(kQuarterPi);
  MatrixS = PhaseMatrix(kHalfPi);
  MatrixTdg = PhaseMatrix(-kQuarterPi);
}

const GateMatrixConstants& GateMatrixConstants::Get() {
  static const GateMatrixConstants constants;
  return constants;
}

}  // namespace taviron
