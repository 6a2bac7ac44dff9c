// The one-qubit gates whose 2x2 matrix is computed from their arguments:
// the matrix formulas, the per-gate appenders and the int, list and register
// forms of each gate method.

#include "circuit/computed_one_qubit_gates.h"

#include <cmath>
#include <complex>
#include <memory>
#include <utility>
#include <vector>

#include "circuit/append_core.h"
#include "circuit/quantum_circuit.h"
#include "circuit/qubit_operand_forms.h"
#include "foundation/gate_matrix_constants.h"

namespace {

using Complex = std::complex<double>;

// The double nearest 1/sqrt(2), the scale of u2; written out, not computed.
constexpr double kHalfSqrt2 = 0.7071067811865476;

// e^(i x) = cos x + i sin x.
Complex E(double x) { return Complex(std::cos(x), std::sin(x)); }

// cos and sin of half an angle, the half angle formed as angle * 0.5.
struct HalfAngle {
  double c;
  double s;
  explicit HalfAngle(double angle)
      : c(std::cos(angle * 0.5)), s(std::sin(angle * 0.5)) {}
};

// diag(1, e^(i angle)): the matrix of p and u1.
MatrixXcd PhaseMatrix(double angle) {
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = 1.0;
  m(1, 1) = E(angle);
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
  if (length == 0.0) return GateMatrixConstants::Get().MatrixI;
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
  m(0, 0) = E(-phi * 0.5);
  m(1, 1) = E(phi * 0.5);
  return m;
}

// The general one-qubit gate of u and u3. phi + lambda is formed once as a
// double before its exponential.
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

// [1, -e^(i lambda); e^(i phi), e^(i (phi + lambda))], every real and
// imaginary part then scaled by kHalfSqrt2.
MatrixXcd U2Matrix(double phi, double lambda) {
  MatrixXcd m = MatrixXcd::Zero(2, 2);
  m(0, 0) = 1.0;
  m(0, 1) = -E(lambda);
  m(1, 0) = E(phi);
  m(1, 1) = E(phi + lambda);
  for (Eigen::Index k = 0; k < m.size(); ++k) {
    m(k) = Complex(m(k).real() * kHalfSqrt2, m(k).imag() * kHalfSqrt2);
  }
  return m;
}

// An appender with the circuit and the gate's arguments bound, in the shape
// that the operand forms call: append(qubit, destination, label).
template <class Appender, class... Arguments>
auto BindArguments(QuantumCircuit& circuit, Appender appender,
                   Arguments... arguments) {
  return [&circuit, appender, arguments...](uint64_t qubit,
                                            GateRecordList& destination,
                                            const std::string& label) {
    return appender(circuit, arguments..., qubit, destination, label);
  };
}

}  // namespace

int32_t AppendP(QuantumCircuit& circuit, double theta, uint64_t qubit,
                GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 11, PhaseMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendR(QuantumCircuit& circuit, double theta, double phi, uint64_t qubit,
                GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 12, RMatrix(theta, phi), qubit,
                              {theta, phi}, destination, std::move(label));
}

int32_t AppendRV(QuantumCircuit& circuit, double vx, double vy, double vz,
                 uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendOneQubitRecord(circuit, 13, RVMatrix(vx, vy, vz), qubit,
                              {vx, vy, vz}, destination, std::move(label));
}

int32_t AppendRX(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 14, RXMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendRY(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 15, RYMatrix(theta), qubit, {theta},
                              destination, std::move(label));
}

int32_t AppendRZ(QuantumCircuit& circuit, double phi, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 16, RZMatrix(phi), qubit, {phi},
                              destination, std::move(label));
}

int32_t AppendU(QuantumCircuit& circuit, double theta, double phi,
                double lambda, uint64_t qubit, GateRecordList& destination,
                std::string label) {
  return AppendOneQubitRecord(circuit, 17, UMatrix(theta, phi, lambda), qubit,
                              {theta, phi, lambda}, destination,
                              std::move(label));
}

int32_t AppendU0(QuantumCircuit& circuit, double gamma, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 54, GateMatrixConstants::Get().MatrixI,
                              qubit, {gamma}, destination, std::move(label));
}

int32_t AppendU1(QuantumCircuit& circuit, double lambda, uint64_t qubit,
                 GateRecordList& destination, std::string label) {
  return AppendOneQubitRecord(circuit, 48, PhaseMatrix(lambda), qubit, {lambda},
                              destination, std::move(label));
}

int32_t AppendU2(QuantumCircuit& circuit, double phi, double lambda,
                 uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendOneQubitRecord(circuit, 49, U2Matrix(phi, lambda), qubit,
                              {phi, lambda}, destination, std::move(label));
}

int32_t AppendU3(QuantumCircuit& circuit, double theta, double phi,
                 double lambda, uint64_t qubit, GateRecordList& destination,
                 std::string label) {
  return AppendU(circuit, theta, phi, lambda, qubit, destination,
                 std::move(label));
}

#define TAVIRON_UNPARENTHESIZE(...) __VA_ARGS__

// method, appender, handle class, (angle parameters), (angle arguments)
#define TAVIRON_COMPUTED_ONE_QUBIT_GATES(X)                                   \
  X(p, AppendP, PhaseGate, (double theta), (theta))                           \
  X(r, AppendR, RGate, (double theta, double phi), (theta, phi))              \
  X(rv, AppendRV, RVGate, (double vx, double vy, double vz), (vx, vy, vz))    \
  X(rx, AppendRX, RXGate, (double theta), (theta))                            \
  X(ry, AppendRY, RYGate, (double theta), (theta))                            \
  X(rz, AppendRZ, RZGate, (double phi), (phi))                                \
  X(u, AppendU, UGate, (double theta, double phi, double lambda),             \
    (theta, phi, lambda))                                                     \
  X(u0, AppendU0, U0Gate, (double gamma), (gamma))                            \
  X(u1, AppendU1, U1Gate, (double lambda), (lambda))                          \
  X(u2, AppendU2, U2Gate, (double phi, double lambda), (phi, lambda))         \
  X(u3, AppendU3, U3Gate, (double theta, double phi, double lambda),          \
    (theta, phi, lambda))

#define TAVIRON_DEFINE_COMPUTED_ONE_QUBIT_GATE(method, appender, Handle,       \
                                               parameters, arguments)          \
  std::unique_ptr<Handle> QuantumCircuit::method(                              \
      TAVIRON_UNPARENTHESIZE parameters, uint64_t qubit, std::string label) {  \
    return ApplyToQubit<Handle>(                                               \
        *this, qubit, std::move(label),                                        \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_list(                       \
      TAVIRON_UNPARENTHESIZE parameters, std::vector<int64_t> qubits,          \
      std::string label) {                                                     \
    return ApplyToQubitList<Handle>(                                           \
        *this, qubits, std::move(label),                                       \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }                                                                            \
  std::unique_ptr<Handle> QuantumCircuit::method##_register(                   \
      TAVIRON_UNPARENTHESIZE parameters, const QuantumRegister& qr,            \
      std::string label) {                                                     \
    return ApplyToRegister<Handle>(                                            \
        *this, qr, std::move(label),                                           \
        BindArguments(*this, appender, TAVIRON_UNPARENTHESIZE arguments));     \
  }

TAVIRON_COMPUTED_ONE_QUBIT_GATES(TAVIRON_DEFINE_COMPUTED_ONE_QUBIT_GATE)
