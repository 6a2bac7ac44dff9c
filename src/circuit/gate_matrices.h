#ifndef TAVIRON_CIRCUIT_GATE_MATRICES_H
#define TAVIRON_CIRCUIT_GATE_MATRICES_H

// The gate matrices computed from a gate's angles. One-qubit matrices act on
// (|0>, |1>); two-qubit matrices act on the basis index
// 2 * (second qubit) + (first qubit), the first qubit (the control of a
// controlled gate) being the low bit.
//
// Notation: c = cos(theta/2) and s = sin(theta/2) with theta/2 formed as
// theta * 0.5; e(x) = cos x + i sin x; e(x) * c is (cos x * c, sin x * c).

#include <complex>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// e(x) = cos x + i sin x.
std::complex<double> ExpI(double x);

// One-qubit matrices.
MatrixXcd PhaseMatrix(double angle);  // diag(1, e(angle)): p and u1
MatrixXcd RMatrix(double theta, double phi);
// Rotation by the vector's length about its axis; the zero vector gives the
// identity.
MatrixXcd RVMatrix(double vx, double vy, double vz);
MatrixXcd RXMatrix(double theta);
MatrixXcd RYMatrix(double theta);
MatrixXcd RZMatrix(double phi);
// U(theta, phi, lambda) of u and u3, phi + lambda formed once.
MatrixXcd UMatrix(double theta, double phi, double lambda);
// [1, -e(lambda); e(phi), e(phi + lambda)], each part scaled by the double
// nearest 1/sqrt(2).
MatrixXcd U2Matrix(double phi, double lambda);

// Two-qubit matrices.
MatrixXcd ECRMatrix();
MatrixXcd CPMatrix(double theta);
MatrixXcd CRXMatrix(double theta);
MatrixXcd CRYMatrix(double theta);
MatrixXcd CRZMatrix(double theta);
// The controlled e(gamma) U(theta, phi, lambda); the summed angles are formed
// as lambda + gamma, phi + gamma and (phi + gamma) + lambda.
MatrixXcd CUMatrix(double theta, double phi, double lambda, double gamma);
// The controlled U(theta, phi, lambda), without global phase.
MatrixXcd CU3Matrix(double theta, double phi, double lambda);
// diag(1, 1, 1, angle): a cu1 record holds the angle itself in (3,3).
MatrixXcd CU1Matrix(double angle);
MatrixXcd RXXMatrix(double theta);
MatrixXcd RYYMatrix(double theta);
// Z on the first qubit (low bit), X on the second.
MatrixXcd RZXMatrix(double theta);
MatrixXcd RZZMatrix(double theta);

}  // namespace taviron

#endif
