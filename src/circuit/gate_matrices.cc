#include "circuit/gate_matrices.h"

#include <cmath>

#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// The double nearest 1/sqrt(2), the scale of u2 and ecr; written out, not
// computed.
constexpr double kHalfSqrt2 = 0.7071067811865476;

// cos and sin of half an angle, the half angle formed as angle * 0.5.
struct HalfAngle {
  double c;
  double s;
  explicit HalfAngle(double angle)
      : c(std::cos(angle * 0.5)), s(std::sin(angle * 0.5)) {}
};

const GateMatrixConstants& Constants() { return GateMatrixConstants::Get(); }

// Every real and imaginary part of `matrix` multiplied by kHalfSqrt2.
MatrixXcd ScaledByHalfSqrt2(MatrixXcd matrix) {
  for (Eigen::Index k = 0; k < matrix.size(); ++k) {
    matrix(k) = Complex(matrix(k).real() * kHalfSqrt2,
                        matrix(k).imag() * kHalfSqrt2);
  }
  return matrix;
}

// The controlled-gate template `base` with the 2x2 matrix `u` written into
// rows and columns 1 and 3, where the control (the low bit) is 1.
MatrixXcd WithControlledBlock(MatrixXcd base, const MatrixXcd& u) {
  base(1, 1) = u(0, 0);
  base(1, 3) = u(0, 1);
  base(3, 1) = u(1, 0);
  base(3, 3) = u(1, 1);
  return base;
}

// exp(-i theta/2 P) for a two-qubit Pauli product P with one non-zero entry
// per row: `column[r]` is the column of row r's entry and `sign[r]` the
// sign of -i*s there.
MatrixXcd PauliRotation(double theta, const int (&column)[4],
                        const int (&sign)[4]) {
  const HalfAngle h(theta);
  MatrixXcd matrix = MatrixXcd::Zero(4, 4);
  for (int r = 0; r < 4; ++r) {
    matrix(r, r) = h.c;
    matrix(r, column[r]) = Complex(0, -sign[r] * h.s);
  }
  return matrix;
}

}  // namespace

Complex ExpI(double x) { return Complex(std::cos(x), std::sin(x)); }

MatrixXcd PhaseMatrix(double angle) {
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = 1.0;
  m(1, 1) = ExpI(angle);
  return m;
}

MatrixXcd RMatrix(double theta, double phi) {
  const HalfAngle h(theta);
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = h.c;
  m(0, 1) = Complex(std::sin(-phi) * h.s, -std::cos(-phi) * h.s);
  m(1, 0) = Complex(std::sin(phi) * h.s, -std::cos(phi) * h.s);
  m(1, 1) = h.c;
  return m;
}

// cos(L/2) I - i sin(L/2) (n . sigma) for the vector v of length L and unit
// axis n = v / L. The zero vector has no axis; its rotation is the identity,
// which is also the limit of the matrix as the vector shrinks to zero.
MatrixXcd RVMatrix(double vx, double vy, double vz) {
  const double length =
      std::sqrt(std::pow(vx, 2) + std::pow(vy, 2) + std::pow(vz, 2));
  if (length == 0.0) return Constants().MatrixI;
  const double nx = vx / length;
  const double ny = vy / length;
  const double nz = vz / length;
  const double half = length * 0.5;
  const double cv = std::cos(half);
  const double sv = std::sin(half);
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = Complex(cv, -nz * sv);
  m(0, 1) = Complex(-ny * sv, -nx * sv);
  m(1, 0) = Complex(ny * sv, -nx * sv);
  m(1, 1) = Complex(cv, nz * sv);
  return m;
}

MatrixXcd RXMatrix(double theta) {
  const HalfAngle h(theta);
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = h.c;
  m(0, 1) = Complex(0.0, -h.s);
  m(1, 0) = Complex(0.0, -h.s);
  m(1, 1) = h.c;
  return m;
}

MatrixXcd RYMatrix(double theta) {
  const HalfAngle h(theta);
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = h.c;
  m(0, 1) = -h.s;
  m(1, 0) = h.s;
  m(1, 1) = h.c;
  return m;
}

MatrixXcd RZMatrix(double phi) {
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = ExpI(-phi * 0.5);
  m(1, 1) = ExpI(phi * 0.5);
  return m;
}

MatrixXcd UMatrix(double theta, double phi, double lambda) {
  const HalfAngle h(theta);
  const double sum = phi + lambda;
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = h.c;
  m(0, 1) = Complex(-std::cos(lambda) * h.s, -std::sin(lambda) * h.s);
  m(1, 0) = Complex(std::cos(phi) * h.s, std::sin(phi) * h.s);
  m(1, 1) = Complex(std::cos(sum) * h.c, std::sin(sum) * h.c);
  return m;
}

MatrixXcd U2Matrix(double phi, double lambda) {
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = 1.0;
  m(0, 1) = -ExpI(lambda);
  m(1, 0) = ExpI(phi);
  m(1, 1) = ExpI(phi + lambda);
  return ScaledByHalfSqrt2(m);
}

MatrixXcd ECRMatrix() { return ScaledByHalfSqrt2(Constants().MatrixECRBase); }

MatrixXcd CPMatrix(double theta) {
  return WithControlledBlock(Constants().MatrixCPBase, PhaseMatrix(theta));
}

MatrixXcd CRXMatrix(double theta) {
  return WithControlledBlock(Constants().MatrixCRXBase, RXMatrix(theta));
}

MatrixXcd CRYMatrix(double theta) {
  return WithControlledBlock(Constants().MatrixCRYBase, RYMatrix(theta));
}

MatrixXcd CRZMatrix(double theta) {
  return WithControlledBlock(Constants().MatrixCRZBase, RZMatrix(theta));
}

MatrixXcd CUMatrix(double theta, double phi, double lambda, double gamma) {
  const HalfAngle h(theta);
  const Complex g = ExpI(gamma);
  const Complex lg = ExpI(lambda + gamma);
  const Complex pg = ExpI(phi + gamma);
  const Complex pgl = ExpI((phi + gamma) + lambda);
  MatrixXcd matrix = Constants().MatrixCUBase;
  matrix(1, 1) = Complex(g.real() * h.c, g.imag() * h.c);
  matrix(1, 3) = Complex(-lg.real() * h.s, -lg.imag() * h.s);
  matrix(3, 1) = Complex(pg.real() * h.s, pg.imag() * h.s);
  matrix(3, 3) = Complex(pgl.real() * h.c, pgl.imag() * h.c);
  return matrix;
}

MatrixXcd CU3Matrix(double theta, double phi, double lambda) {
  return WithControlledBlock(Constants().MatrixCUBase,
                             UMatrix(theta, phi, lambda));
}

MatrixXcd CU1Matrix(double angle) {
  MatrixXcd matrix = MatrixXcd::Zero(4, 4);
  matrix(0, 0) = matrix(1, 1) = matrix(2, 2) = 1.0;
  matrix(3, 3) = angle;
  return matrix;
}

MatrixXcd RXXMatrix(double theta) {
  return PauliRotation(theta, {3, 2, 1, 0}, {1, 1, 1, 1});
}

MatrixXcd RYYMatrix(double theta) {
  return PauliRotation(theta, {3, 2, 1, 0}, {-1, 1, 1, -1});
}

MatrixXcd RZXMatrix(double theta) {
  return PauliRotation(theta, {2, 3, 0, 1}, {1, -1, 1, -1});
}

MatrixXcd RZZMatrix(double theta) {
  MatrixXcd matrix = MatrixXcd::Zero(4, 4);
  matrix(0, 0) = ExpI(-theta * 0.5);
  matrix(1, 1) = ExpI(theta * 0.5);
  matrix(2, 2) = ExpI(theta * 0.5);
  matrix(3, 3) = ExpI(-theta * 0.5);
  return matrix;
}

}  // namespace taviron
