#ifndef TAVIRON_FOUNDATION_GATE_MATRIX_CONSTANTS_H
#define TAVIRON_FOUNDATION_GATE_MATRIX_CONSTANTS_H

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// The 45 constant matrices of the gate set. One-qubit matrices act on
// (|0>, |1>); two-qubit matrices act on the basis index 2 * q1 + q0, where q0
// is the first qubit of a record (the control of a controlled gate). The
// "...Base" matrices are templates whose zero entries the gate builders fill
// in their own copy.
//
// The set is built once per process on first use and never changes
// afterwards, so it may be read from any thread without a lock. Readers copy
// a constant into their record; they never hold on to it by reference.
//
//   const GateMatrixConstants& constants = GateMatrixConstants::Get();
//   record->matrix = constants.MatrixH;
struct GateMatrixConstants {
  // Scalars.
  MatrixXcd MatrixOne;
  MatrixXcd MatrixZero;
  // Kets.
  MatrixXcd MatrixKet0;
  MatrixXcd MatrixKet1;
  MatrixXcd MatrixKetPlus;
  MatrixXcd MatrixKetMinus;
  // Pauli matrices.
  MatrixXcd MatrixPauliX;
  MatrixXcd MatrixPauliY;
  MatrixXcd MatrixPauliZ;
  // Projectors on the computational basis.
  MatrixXcd MatrixProjector0;
  MatrixXcd MatrixProjector1;
  MatrixXcd MatrixProjector0B;
  MatrixXcd MatrixProjector1B;
  // One-qubit gates.
  MatrixXcd MatrixI;
  MatrixXcd MatrixX;
  MatrixXcd MatrixY;
  MatrixXcd MatrixZ;
  MatrixXcd MatrixH;
  MatrixXcd MatrixT;
  MatrixXcd MatrixS;
  MatrixXcd MatrixTdg;
  MatrixXcd MatrixSdg;
  MatrixXcd MatrixSX;
  MatrixXcd MatrixSXdg;
  // Projectors on the X and Y bases.
  MatrixXcd MatrixProjectorPlus;
  MatrixXcd MatrixProjectorMinus;
  MatrixXcd MatrixProjectorPlusI;
  MatrixXcd MatrixProjectorMinusI;
  // Two-qubit gates and controlled-gate templates.
  MatrixXcd MatrixCXB;
  MatrixXcd MatrixCY;
  MatrixXcd MatrixCZ;
  MatrixXcd MatrixCX;
  MatrixXcd MatrixCH;
  MatrixXcd MatrixCPBase;
  MatrixXcd MatrixCRXBase;
  MatrixXcd MatrixCRYBase;
  MatrixXcd MatrixCRZBase;
  MatrixXcd MatrixCS;
  MatrixXcd MatrixCSdg;
  MatrixXcd MatrixCSX;
  MatrixXcd MatrixCUBase;
  MatrixXcd MatrixDCX;
  MatrixXcd MatrixECRBase;
  MatrixXcd MatrixISWAP;
  MatrixXcd MatrixSWAP;

  // The process-wide set, built on the first call (thread-safe).
  static const GateMatrixConstants& Get();

 private:
  GateMatrixConstants();
};

}  // namespace taviron

#endif
