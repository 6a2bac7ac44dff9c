#ifndef TAVIRON_CIRCUIT_TESTING_DENSE_UNITARY_H
#define TAVIRON_CIRCUIT_TESTING_DENSE_UNITARY_H

// Test-only helpers: the dense unitary that a list of gate records performs,
// and ideal reference unitaries to compare it with. Basis index bit q is the
// value of qubit q (qubit 0 is the least significant bit).

#include <cmath>
#include <complex>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include <Eigen/Dense>

#include "foundation/gate_record.h"

namespace taviron {

namespace dense_unitary {

using Complex = std::complex<double>;

inline bool Bit(uint64_t index, uint64_t qubit) { return (index >> qubit) & 1u; }

// a * b + c * d without the library's NaN-recovery path, which makes
// std::complex products slow; the values here are always finite.
inline Complex MulAdd(Complex a, Complex b, Complex c, Complex d) {
  return Complex(a.real() * b.real() - a.imag() * b.imag() +
                     c.real() * d.real() - c.imag() * d.imag(),
                 a.real() * b.imag() + a.imag() * b.real() +
                     c.real() * d.imag() + c.imag() * d.real());
}

// Left-multiplies unitary by a 2x2 gate on one qubit.
inline void ApplyOneQubit(const MatrixXcd& gate, uint64_t qubit,
                          MatrixXcd& unitary) {
  const uint64_t dim = static_cast<uint64_t>(unitary.rows());
  const uint64_t mask = uint64_t{1} << qubit;
  const Complex g00 = gate(0, 0), g01 = gate(0, 1);
  const Complex g10 = gate(1, 0), g11 = gate(1, 1);
  for (uint64_t column = 0; column < static_cast<uint64_t>(unitary.cols());
       ++column) {
    Complex* v = unitary.data() + column * dim;
    for (uint64_t i = 0; i < dim; ++i) {
      if (i & mask) continue;
      const Complex a = v[i], b = v[i | mask];
      v[i] = MulAdd(g00, a, g01, b);
      v[i | mask] = MulAdd(g10, a, g11, b);
    }
  }
}

// Left-multiplies unitary by a 4x4 gate whose basis index is
// 2 * (value of second) + (value of first).
inline void ApplyTwoQubit(const MatrixXcd& gate, uint64_t first,
                          uint64_t second, MatrixXcd& unitary) {
  if (first == second) throw std::invalid_argument("two-qubit gate on one qubit");
  const uint64_t dim = static_cast<uint64_t>(unitary.rows());
  const uint64_t m0 = uint64_t{1} << first;
  const uint64_t m1 = uint64_t{1} << second;
  Complex g[4][4];
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < 4; ++k) g[r][k] = gate(r, k);
  }
  for (uint64_t column = 0; column < static_cast<uint64_t>(unitary.cols());
       ++column) {
    Complex* v = unitary.data() + column * dim;
    for (uint64_t i = 0; i < dim; ++i) {
      if (i & (m0 | m1)) continue;
      const uint64_t rows[4] = {i, i | m0, i | m1, i | m0 | m1};
      Complex old[4];
      for (int k = 0; k < 4; ++k) old[k] = v[rows[k]];
      for (int r = 0; r < 4; ++r) {
        v[rows[r]] = MulAdd(g[r][0], old[0], g[r][1], old[1]) +
                     MulAdd(g[r][2], old[2], g[r][3], old[3]);
      }
    }
  }
}

// Left-multiplies unitary by what one record does. A cu1 record holds its
// angle itself in element (3, 3); a composite performs its body; a barrier
// does nothing. Measure and reset are not
// unitary and are refused.
inline void ApplyRecord(const GateRecord& record, MatrixXcd& unitary) {
  switch (record.gate_type) {
    case GateId::kComposite:
      for (const GateRecordPtr& part : record.body) ApplyRecord(*part, unitary);
      return;
    case GateId::kBarrier:
      return;
    case GateId::kMeasure:
    case GateId::kReset:
      throw std::invalid_argument("measure and reset have no unitary");
    case GateId::kCU1: {
      MatrixXcd gate = MatrixXcd::Identity(4, 4);
      const double angle = record.matrix(3, 3).real();
      gate(3, 3) = Complex(std::cos(angle), std::sin(angle));
      ApplyTwoQubit(gate, record.qubits.at(0), record.qubits.at(1), unitary);
      return;
    }
    default:
      break;
  }
  if (record.qubits.size() == 1 && record.matrix.rows() == 2) {
    ApplyOneQubit(record.matrix, record.qubits[0], unitary);
  } else if (record.qubits.size() == 2 && record.matrix.rows() == 4) {
    ApplyTwoQubit(record.matrix, record.qubits[0], record.qubits[1], unitary);
  } else {
    throw std::invalid_argument("record without a usable matrix");
  }
}

// The unitary of the records applied in list order on num_qubits qubits.
inline MatrixXcd RecordsUnitary(const GateRecordList& records, int num_qubits) {
  const Eigen::Index dim = Eigen::Index{1} << num_qubits;
  MatrixXcd unitary = MatrixXcd::Identity(dim, dim);
  for (const GateRecordPtr& record : records) ApplyRecord(*record, unitary);
  return unitary;
}

// The ideal gate that applies the 2x2 matrix u to target when every control
// holds 1 and does nothing otherwise.
inline MatrixXcd ControlledUnitary(const MatrixXcd& u,
                                   const std::vector<uint64_t>& controls,
                                   uint64_t target, int num_qubits) {
  const uint64_t dim = uint64_t{1} << num_qubits;
  uint64_t control_mask = 0;
  for (uint64_t c : controls) control_mask |= uint64_t{1} << c;
  const uint64_t target_mask = uint64_t{1} << target;
  MatrixXcd result = MatrixXcd::Zero(dim, dim);
  for (uint64_t column = 0; column < dim; ++column) {
    if ((column & control_mask) != control_mask) {
      result(column, column) = 1.0;
      continue;
    }
    const uint64_t in = Bit(column, target);
    const uint64_t base = column & ~target_mask;
    result(base, column) = u(0, in);
    result(base | target_mask, column) = u(1, in);
  }
  return result;
}

// Single-qubit reference matrices.
inline MatrixXcd PauliX() {
  MatrixXcd m(2, 2);
  m << 0, 1, 1, 0;
  return m;
}

inline MatrixXcd Phase(double angle) {
  MatrixXcd m = MatrixXcd::Identity(2, 2);
  m(1, 1) = Complex(std::cos(angle), std::sin(angle));
  return m;
}

inline MatrixXcd RotationX(double theta) {
  MatrixXcd m(2, 2);
  const double c = std::cos(theta / 2), s = std::sin(theta / 2);
  m << c, Complex(0, -s), Complex(0, -s), c;
  return m;
}

inline MatrixXcd RotationY(double theta) {
  MatrixXcd m(2, 2);
  const double c = std::cos(theta / 2), s = std::sin(theta / 2);
  m << c, -s, s, c;
  return m;
}

inline MatrixXcd SqrtX() {
  MatrixXcd m(2, 2);
  m << Complex(0.5, 0.5), Complex(0.5, -0.5), Complex(0.5, -0.5),
      Complex(0.5, 0.5);
  return m;
}

// Largest entry-wise distance between two matrices of equal size.
inline double MaxDistance(const MatrixXcd& a, const MatrixXcd& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return INFINITY;
  return (a - b).cwiseAbs().maxCoeff();
}

}  // namespace dense_unitary

}  // namespace taviron

#endif
