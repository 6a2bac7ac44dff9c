// The two-qubit gate methods and the cx and cu1 appenders. Every matrix is
// 4x4 over the basis index 2 * (second qubit) + (first qubit): the first
// qubit argument, the control of a controlled gate, is the low bit.

#include <cmath>
#include <complex>
#include <memory>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/quantum_circuit.h"
#include "foundation/gate_matrix_constants.h"

namespace {

using Complex = std::complex<double>;

constexpr double kHalfSqrt2 = 0.7071067811865476;

// e(x) = cos x + i sin x.
Complex E(double x) { return Complex(std::cos(x), std::sin(x)); }

// cos and sin of theta / 2, the half angle formed as theta * 0.5.
struct HalfAngle {
  double c;
  double s;
  explicit HalfAngle(double theta)
      : c(std::cos(theta * 0.5)), s(std::sin(theta * 0.5)) {}
};

const GateMatrixConstants& Constants() { return GateMatrixConstants::Get(); }

// Appends one record to the circuit's gates and returns a handle holding it.
template <class Handle>
std::unique_ptr<Handle> AppendTwoQubitGate(QuantumCircuit& circuit,
                                           int32_t gate_type,
                                           const MatrixXcd& matrix,
                                           const std::vector<double>& params,
                                           uint64_t first, uint64_t second,
                                           std::string label) {
  AppendTwoQubitRecord(circuit, gate_type, matrix, first, second, params,
                       circuit.gates, label);
  auto handle = std::make_unique<Handle>(std::move(label));
  handle->records.push_back(circuit.gates.back());
  return handle;
}

MatrixXcd ECRMatrix() {
  MatrixXcd matrix = Constants().MatrixECRBase;
  for (Eigen::Index k = 0; k < matrix.size(); ++k) {
    const Complex v = matrix(k);
    matrix(k) = Complex(v.real() * kHalfSqrt2, v.imag() * kHalfSqrt2);
  }
  return matrix;
}

MatrixXcd CPMatrix(double theta) {
  MatrixXcd matrix = Constants().MatrixCPBase;
  matrix(3, 3) = E(theta);
  return matrix;
}

MatrixXcd CRXMatrix(double theta) {
  const HalfAngle h(theta);
  MatrixXcd matrix = Constants().MatrixCRXBase;
  matrix(1, 1) = h.c;
  matrix(1, 3) = Complex(0, -h.s);
  matrix(3, 1) = Complex(0, -h.s);
  matrix(3, 3) = h.c;
  return matrix;
}

MatrixXcd CRYMatrix(double theta) {
  const HalfAngle h(theta);
  MatrixXcd matrix = Constants().MatrixCRYBase;
  matrix(1, 1) = h.c;
  matrix(1, 3) = -h.s;
  matrix(3, 1) = h.s;
  matrix(3, 3) = h.c;
  return matrix;
}

MatrixXcd CRZMatrix(double theta) {
  MatrixXcd matrix = Constants().MatrixCRZBase;
  matrix(1, 1) = E(-theta * 0.5);
  matrix(3, 3) = E(theta * 0.5);
  return matrix;
}

// The controlled e^(i gamma) U(theta, phi, lambda).
MatrixXcd CUMatrix(double theta, double phi, double lambda, double gamma) {
  const HalfAngle h(theta);
  const Complex g = E(gamma);
  const Complex lg = E(lambda + gamma);
  const Complex pg = E(phi + gamma);
  const Complex pgl = E((phi + gamma) + lambda);
  MatrixXcd matrix = Constants().MatrixCUBase;
  matrix(1, 1) = Complex(g.real() * h.c, g.imag() * h.c);
  matrix(1, 3) = Complex(-lg.real() * h.s, -lg.imag() * h.s);
  matrix(3, 1) = Complex(pg.real() * h.s, pg.imag() * h.s);
  matrix(3, 3) = Complex(pgl.real() * h.c, pgl.imag() * h.c);
  return matrix;
}

// The controlled U(theta, phi, lambda), without global phase.
MatrixXcd CU3Matrix(double theta, double phi, double lambda) {
  const HalfAngle h(theta);
  const Complex l = E(lambda);
  const Complex p = E(phi);
  const Complex pl = E(phi + lambda);
  MatrixXcd matrix = Constants().MatrixCUBase;
  matrix(1, 1) = h.c;
  matrix(1, 3) = Complex(-l.real() * h.s, -l.imag() * h.s);
  matrix(3, 1) = Complex(p.real() * h.s, p.imag() * h.s);
  matrix(3, 3) = Complex(pl.real() * h.c, pl.imag() * h.c);
  return matrix;
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

MatrixXcd RXXMatrix(double theta) {
  return PauliRotation(theta, {3, 2, 1, 0}, {1, 1, 1, 1});
}

MatrixXcd RYYMatrix(double theta) {
  return PauliRotation(theta, {3, 2, 1, 0}, {-1, 1, 1, -1});
}

// Z on the first qubit (low bit), X on the second.
MatrixXcd RZXMatrix(double theta) {
  return PauliRotation(theta, {2, 3, 0, 1}, {1, -1, 1, -1});
}

MatrixXcd RZZMatrix(double theta) {
  MatrixXcd matrix = MatrixXcd::Zero(4, 4);
  matrix(0, 0) = E(-theta * 0.5);
  matrix(1, 1) = E(theta * 0.5);
  matrix(2, 2) = E(theta * 0.5);
  matrix(3, 3) = E(-theta * 0.5);
  return matrix;
}

}  // namespace

int32_t AppendCX(QuantumCircuit& circuit, uint64_t control_qubit,
                 uint64_t target_qubit, GateRecordList& destination,
                 std::string label) {
  return AppendTwoQubitRecord(circuit, 20, Constants().MatrixCX, control_qubit,
                              target_qubit, {}, destination, std::move(label));
}

int32_t AppendCU1(QuantumCircuit& circuit, double angle,
                  uint64_t control_qubit, uint64_t target_qubit,
                  GateRecordList& destination, std::string label) {
  // The angle itself, not its phase, sits in (3,3); the simulator applies
  // e^(i angle) to the both-ones component.
  MatrixXcd matrix = MatrixXcd::Zero(4, 4);
  matrix(0, 0) = matrix(1, 1) = matrix(2, 2) = 1.0;
  matrix(3, 3) = angle;
  return AppendTwoQubitRecord(circuit, 46, matrix, control_qubit, target_qubit,
                              {angle}, destination, std::move(label));
}

std::unique_ptr<CXGate> QuantumCircuit::cx(uint64_t control_qubit,
                                           uint64_t target_qubit,
                                           std::string label) {
  AppendCX(*this, control_qubit, target_qubit, gates, label);
  auto handle = std::make_unique<CXGate>(std::move(label));
  handle->records.push_back(gates.back());
  return handle;
}

std::unique_ptr<CU1Gate> QuantumCircuit::cu1(double theta,
                                             uint64_t control_qubit,
                                             uint64_t target_qubit,
                                             std::string label) {
  AppendCU1(*this, theta, control_qubit, target_qubit, gates, label);
  auto handle = std::make_unique<CU1Gate>(std::move(label));
  handle->records.push_back(gates.back());
  return handle;
}

// Gates whose matrix is a copy of a constant; no parameters.
#define TAVIRON_CONSTANT_TWO_QUBIT_GATES(X) \
  X(cnot, 20, MatrixCX, CXGate)             \
  X(cy, 21, MatrixCY, CYGate)               \
  X(cz, 22, MatrixCZ, CZGate)               \
  X(ch, 23, MatrixCH, CHGate)               \
  X(cs, 29, MatrixCS, CSGate)               \
  X(csdg, 30, MatrixCSdg, CSdgGate)         \
  X(csx, 31, MatrixCSX, CSXGate)            \
  X(dcx, 33, MatrixDCX, DCXGate)            \
  X(iswap, 35, MatrixISWAP, ISWAPGate)      \
  X(swap, 40, MatrixSWAP, SWAPGate)

#define TAVIRON_DEFINE_CONSTANT_TWO_QUBIT_GATE(method, type_id, matrix,        \
                                               Handle)                         \
  std::unique_ptr<Handle> QuantumCircuit::method(                              \
      uint64_t first, uint64_t second, std::string label) {                    \
    return AppendTwoQubitGate<Handle>(*this, type_id, Constants().matrix, {},  \
                                      first, second, std::move(label));        \
  }
TAVIRON_CONSTANT_TWO_QUBIT_GATES(TAVIRON_DEFINE_CONSTANT_TWO_QUBIT_GATE)
#undef TAVIRON_DEFINE_CONSTANT_TWO_QUBIT_GATE

std::unique_ptr<ECRGate> QuantumCircuit::ecr(uint64_t qubit1, uint64_t qubit2,
                                             std::string label) {
  return AppendTwoQubitGate<ECRGate>(*this, 34, ECRMatrix(), {}, qubit1,
                                     qubit2, std::move(label));
}

// Gates with one angle: matrix builder and parameters [theta].
#define TAVIRON_ONE_ANGLE_TWO_QUBIT_GATES(X) \
  X(cp, 25, CPMatrix, CPGate)                \
  X(crx, 26, CRXMatrix, CRXGate)             \
  X(cry, 27, CRYMatrix, CRYGate)             \
  X(crz, 28, CRZMatrix, CRZGate)             \
  X(rxx, 36, RXXMatrix, RXXGate)             \
  X(ryy, 37, RYYMatrix, RYYGate)             \
  X(rzx, 38, RZXMatrix, RZXGate)             \
  X(rzz, 39, RZZMatrix, RZZGate)

#define TAVIRON_DEFINE_ONE_ANGLE_TWO_QUBIT_GATE(method, type_id, builder,      \
                                                Handle)                        \
  std::unique_ptr<Handle> QuantumCircuit::method(                              \
      double theta, uint64_t first, uint64_t second, std::string label) {      \
    return AppendTwoQubitGate<Handle>(*this, type_id, builder(theta), {theta}, \
                                      first, second, std::move(label));        \
  }
TAVIRON_ONE_ANGLE_TWO_QUBIT_GATES(TAVIRON_DEFINE_ONE_ANGLE_TWO_QUBIT_GATE)
#undef TAVIRON_DEFINE_ONE_ANGLE_TWO_QUBIT_GATE

std::unique_ptr<CUGate> QuantumCircuit::cu(double theta, double phi,
                                           double lambda, double gamma,
                                           uint64_t control_qubit,
                                           uint64_t target_qubit,
                                           std::string label) {
  return AppendTwoQubitGate<CUGate>(
      *this, 32, CUMatrix(theta, phi, lambda, gamma),
      {theta, phi, lambda, gamma}, control_qubit, target_qubit,
      std::move(label));
}

std::unique_ptr<CU3Gate> QuantumCircuit::cu3(double theta, double phi,
                                             double lambda,
                                             uint64_t control_qubit,
                                             uint64_t target_qubit,
                                             std::string label) {
  return AppendTwoQubitGate<CU3Gate>(*this, 47, CU3Matrix(theta, phi, lambda),
                                     {theta, phi, lambda}, control_qubit,
                                     target_qubit, std::move(label));
}
