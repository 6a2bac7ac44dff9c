#include "circuit/quantum_circuit_computed_one_qubit_gates.h"

#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

constexpr double kPi = 3.141592653589793;

// Appends one gate on `qubit` through a gate method's int form.
using Apply = std::function<std::unique_ptr<Gate>(QuantumCircuit&, uint64_t)>;

// exp(-i/2 (vx X + vy Y + vz Z)), computed from the eigen-decomposition of
// the Hermitian generator rather than from the half-angle formulas.
MatrixXcd Rotation(double vx, double vy, double vz) {
  MatrixXcd generator(2, 2);
  generator << vz, Complex(vx, -vy), Complex(vx, vy), -vz;
  Eigen::SelfAdjointEigenSolver<MatrixXcd> solver(generator);
  MatrixXcd phases = MatrixXcd::Zero(2, 2);
  for (int k = 0; k < 2; ++k) {
    phases(k, k) = std::exp(Complex(0, -0.5 * solver.eigenvalues()(k)));
  }
  return solver.eigenvectors() * phases * solver.eigenvectors().adjoint();
}

// u(theta, phi, lambda) = e^(i (phi + lambda) / 2) Rz(phi) Ry(theta) Rz(lambda).
MatrixXcd UReference(double theta, double phi, double lambda) {
  return std::exp(Complex(0, (phi + lambda) / 2)) * Rotation(0, 0, phi) *
         Rotation(0, theta, 0) * Rotation(0, 0, lambda);
}

// diag(1, e^(i angle)) = e^(i angle / 2) Rz(angle).
MatrixXcd PhaseReference(double angle) {
  return std::exp(Complex(0, angle / 2)) * Rotation(0, 0, angle);
}

struct ComputedGateCase {
  std::string name;
  Apply apply;
  GateId gate_type;
  std::vector<double> params;
  MatrixXcd expected;
  std::type_index handle_type;
};

// Every computed gate for one choice of angles a, b, c.
std::vector<ComputedGateCase> CasesFor(double a, double b, double c) {
  return {
      {"p", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.p(a, q)); },
       GateId::kP, {a}, PhaseReference(a), typeid(PhaseGate)},
      {"r", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.r(a, b, q)); },
       GateId::kR, {a, b}, Rotation(a * std::cos(b), a * std::sin(b), 0), typeid(RGate)},
      {"rv", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rv(a, b, c, q)); },
       GateId::kRV, {a, b, c}, Rotation(a, b, c), typeid(RVGate)},
      {"rx", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rx(a, q)); },
       GateId::kRX, {a}, Rotation(a, 0, 0), typeid(RXGate)},
      {"ry", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.ry(a, q)); },
       GateId::kRY, {a}, Rotation(0, a, 0), typeid(RYGate)},
      {"rz", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rz(a, q)); },
       GateId::kRZ, {a}, Rotation(0, 0, a), typeid(RZGate)},
      {"u", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u(a, b, c, q)); },
       GateId::kU, {a, b, c}, UReference(a, b, c), typeid(UGate)},
      {"u0", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u0(a, q)); },
       GateId::kU0, {a}, MatrixXcd::Identity(2, 2), typeid(U0Gate)},
      {"u1", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u1(a, q)); },
       GateId::kU1, {a}, PhaseReference(a), typeid(U1Gate)},
      {"u2", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u2(a, b, q)); },
       GateId::kU2, {a, b}, UReference(kPi / 2, a, b), typeid(U2Gate)},
      {"u3", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u3(a, b, c, q)); },
       GateId::kU, {a, b, c}, UReference(a, b, c), typeid(U3Gate)},
  };
}

TEST(ComputedOneQubitGatesTest, MatricesMatchIndependentClosedForms) {
  const std::vector<std::array<double, 3>> angle_sets = {
      {0.3, -1.1, 2.2}, {-2.7, 0.0, 0.9}, {7.5, 4.0, -13.25}, {kPi, kPi / 2, -kPi}};
  for (const auto& [a, b, c] : angle_sets) {
    for (const ComputedGateCase& gate : CasesFor(a, b, c)) {
      SCOPED_TRACE(gate.name + " with " + std::to_string(a) + ", " +
                   std::to_string(b) + ", " + std::to_string(c));
      QuantumCircuit circuit(3);
      std::unique_ptr<Gate> handle = gate.apply(circuit, 2);
      ASSERT_EQ(circuit.gates().size(), 1u);
      const GateRecord& record = *circuit.gates().back();
      EXPECT_EQ(record.gate_type, gate.gate_type);
      EXPECT_EQ(record.params, gate.params);
      EXPECT_EQ(record.qubits, std::vector<uint64_t>{2});
      EXPECT_TRUE(record.clbits.empty());
      EXPECT_EQ(record.label, "");
      ASSERT_EQ(record.matrix.rows(), 2);
      ASSERT_EQ(record.matrix.cols(), 2);
      EXPECT_LT((record.matrix - gate.expected).cwiseAbs().maxCoeff(), 1e-14);
      EXPECT_EQ(std::type_index(typeid(*handle)), gate.handle_type);
      ASSERT_EQ(handle->records.size(), 1u);
      EXPECT_EQ(handle->records[0], circuit.gates().back());
      EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0, 1}));
    }
  }
}

// Values that the gates must produce bit for bit.
TEST(ComputedOneQubitGatesTest, ExactValues) {
  const double r = 0.7071067811865476;
  const double c_pi = 6.123233995736766e-17;  // cos(pi / 2) in doubles
  struct ExactCase {
    std::string name;
    Apply apply;
    std::vector<double> params;
    std::array<Complex, 4> expected;  // row by row
  };
  const std::vector<ExactCase> cases = {
      {"p(pi)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.p(kPi, q)); },
       {kPi}, {1.0, 0.0, 0.0, Complex(-1.0, 1.2246467991473532e-16)}},
      {"rx(pi)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rx(kPi, q)); },
       {kPi}, {c_pi, Complex(0.0, -1.0), Complex(0.0, -1.0), c_pi}},
      {"rz(pi)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rz(kPi, q)); },
       {kPi}, {Complex(c_pi, -1.0), 0.0, 0.0, Complex(c_pi, 1.0)}},
      {"u2(0, 0)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u2(0, 0, q)); },
       {0.0, 0.0}, {r, -r, r, r}},
      {"rv(3, 0, 4)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rv(3, 0, 4, q)); },
       {3.0, 0.0, 4.0},
       {Complex(-0.8011436155469337, -0.47877771528316526), Complex(0.0, -0.3590832864623739),
        Complex(0.0, -0.3590832864623739), Complex(-0.8011436155469337, 0.47877771528316526)}},
      // The zero vector has no axis: its rotation is the identity.
      {"rv(0, 0, 0)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rv(0, 0, 0, q)); },
       {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0, 1.0}},
      // Squares that underflow give a zero length too.
      {"rv(1e-200, 0, 0)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rv(1e-200, 0, 0, q)); },
       {1e-200, 0.0, 0.0}, {1.0, 0.0, 0.0, 1.0}},
      {"u0(2.5)", [](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u0(2.5, q)); },
       {2.5}, {1.0, 0.0, 0.0, 1.0}},
  };
  for (const ExactCase& c : cases) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(1);
    c.apply(circuit, 0);
    const GateRecord& record = *circuit.gates().back();
    EXPECT_EQ(record.params, c.params);
    for (int k = 0; k < 4; ++k) {
      const Complex value = record.matrix(k / 2, k % 2);
      EXPECT_EQ(value.real(), c.expected[k].real()) << "element " << k;
      EXPECT_EQ(value.imag(), c.expected[k].imag()) << "element " << k;
    }
  }
}

// The elements come from cos and sin of the angles as written: half angles
// as angle * 0.5, a negative exponent by negating the angle first, phi +
// lambda summed once (not a product of two exponentials), and u2 scaled part
// by part by the literal nearest 1/sqrt(2). Checked bit for bit at angles
// where other evaluation orders round differently.
TEST(ComputedOneQubitGatesTest, ElementsFollowTheEvaluationRules) {
  const double a = 0.37, b = -2.1, g = 1.3;
  const double c = std::cos(a * 0.5), s = std::sin(a * 0.5);
  const double k = 0.7071067811865476;
  const double vx = 1.0, vy = -2.0, vz = 0.5;
  const double length = std::sqrt(std::pow(vx, 2) + std::pow(vy, 2) + std::pow(vz, 2));
  const double cv = std::cos(length * 0.5), sv = std::sin(length * 0.5);
  const double nx = vx / length, ny = vy / length, nz = vz / length;
  struct Case {
    std::string name;
    Apply apply;
    std::array<Complex, 4> expected;  // row by row
  };
  const std::vector<Case> cases = {
      {"r", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.r(a, b, q)); },
       {c, Complex(std::sin(-b) * s, -std::cos(-b) * s),
        Complex(std::sin(b) * s, -std::cos(b) * s), c}},
      {"rz", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rz(b, q)); },
       {Complex(std::cos(-b * 0.5), std::sin(-b * 0.5)), 0.0, 0.0,
        Complex(std::cos(b * 0.5), std::sin(b * 0.5))}},
      {"u", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u(a, b, g, q)); },
       {c, Complex(-std::cos(g) * s, -std::sin(g) * s),
        Complex(std::cos(b) * s, std::sin(b) * s),
        Complex(std::cos(b + g) * c, std::sin(b + g) * c)}},
      {"u2", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.u2(b, g, q)); },
       {Complex(k, 0.0), Complex(-std::cos(g) * k, -std::sin(g) * k),
        Complex(std::cos(b) * k, std::sin(b) * k),
        Complex(std::cos(b + g) * k, std::sin(b + g) * k)}},
      {"rv", [=](QuantumCircuit& qc, uint64_t q) { return std::unique_ptr<Gate>(qc.rv(vx, vy, vz, q)); },
       {Complex(cv, -nz * sv), Complex(-ny * sv, -nx * sv),
        Complex(ny * sv, -nx * sv), Complex(cv, nz * sv)}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    QuantumCircuit circuit(1);
    test.apply(circuit, 0);
    const MatrixXcd& matrix = circuit.gates().back()->matrix;
    for (int e = 0; e < 4; ++e) {
      EXPECT_EQ(matrix(e / 2, e % 2), test.expected[e]) << "element " << e;
    }
  }
}

TEST(ComputedOneQubitGatesTest, ArgumentsAreStoredUnvalidated) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  QuantumCircuit circuit(1);
  circuit.u0(nan, 0);
  circuit.rx(inf, 0);
  circuit.p(1000.0, 0);
  ASSERT_EQ(circuit.gates().size(), 3u);
  ASSERT_EQ(circuit.gates()[0]->params.size(), 1u);
  EXPECT_TRUE(std::isnan(circuit.gates()[0]->params[0]));
  EXPECT_EQ(circuit.gates()[0]->matrix, MatrixXcd::Identity(2, 2));
  EXPECT_EQ(circuit.gates()[1]->params, std::vector<double>{inf});
  EXPECT_TRUE(std::isnan(circuit.gates()[1]->matrix(0, 0).real()));
  // Not reduced modulo 2 pi.
  EXPECT_EQ(circuit.gates()[2]->params, std::vector<double>{1000.0});
  EXPECT_EQ(circuit.gates()[2]->matrix(1, 1), Complex(std::cos(1000.0), std::sin(1000.0)));
}

// Pairs of gates whose records must be bit-for-bit equal apart from the
// gate type.
TEST(ComputedOneQubitGatesTest, TwinGatesGiveEqualMatrices) {
  QuantumCircuit circuit(1);
  auto u = circuit.u(0.4, -1.3, 2.6, 0);
  auto u3 = circuit.u3(0.4, -1.3, 2.6, 0);
  auto p = circuit.p(-0.77, 0);
  auto u1 = circuit.u1(-0.77, 0);
  auto r = circuit.r(1.9, 0.0, 0);
  auto rx = circuit.rx(1.9, 0);
  const auto& g = circuit.gates();
  EXPECT_EQ(g[0]->gate_type, GateId::kU);
  EXPECT_EQ(g[1]->gate_type, GateId::kU);
  EXPECT_EQ(g[0]->params, g[1]->params);
  EXPECT_EQ(g[0]->matrix, g[1]->matrix);
  EXPECT_EQ(g[0]->GetName(), g[1]->GetName());
  EXPECT_EQ(typeid(*u), typeid(UGate));
  EXPECT_EQ(typeid(*u3), typeid(U3Gate));
  EXPECT_EQ(g[2]->gate_type, GateId::kP);
  EXPECT_EQ(g[3]->gate_type, GateId::kU1);
  EXPECT_EQ(g[2]->matrix, g[3]->matrix);
  EXPECT_EQ(g[4]->matrix, g[5]->matrix);
}

TEST(ComputedOneQubitGatesTest, ListAndRegisterFormsRepeatTheArguments) {
  QuantumCircuit circuit(4);
  auto listed = circuit.u_list(0.5, 1.5, -2.5, {3, 0, 3}, "lbl");
  QuantumRegister reg(2, "");
  reg.first_index = 1;
  auto spanned = circuit.rv_register(1.0, 2.0, -2.0, reg, "reg");
  ASSERT_EQ(circuit.gates().size(), 5u);
  ASSERT_EQ(listed->records.size(), 3u);
  ASSERT_EQ(spanned->records.size(), 2u);
  EXPECT_EQ(typeid(*listed), typeid(UGate));
  EXPECT_EQ(typeid(*spanned), typeid(RVGate));
  EXPECT_EQ(listed->label, "lbl");
  const std::vector<uint64_t> qubits = {3, 0, 3, 1, 2};
  for (size_t k = 0; k < circuit.gates().size(); ++k) {
    SCOPED_TRACE(k);
    const GateRecord& record = *circuit.gates()[k];
    EXPECT_EQ(record.qubits, std::vector<uint64_t>{qubits[k]});
    EXPECT_EQ(record.label, k < 3 ? "lbl" : "reg");
    EXPECT_EQ(record.params, k < 3 ? (std::vector<double>{0.5, 1.5, -2.5})
                                   : (std::vector<double>{1.0, 2.0, -2.0}));
    EXPECT_EQ(record.matrix, circuit.gates()[k < 3 ? 0 : 3]->matrix);
    const GateRecordPtr& held = k < 3 ? listed->records[k] : spanned->records[k - 3];
    EXPECT_EQ(held, circuit.gates()[k]);
  }
  // Each record holds its own copy of the matrix.
  EXPECT_NE(circuit.gates()[0]->matrix.data(), circuit.gates()[1]->matrix.data());
}

TEST(ComputedOneQubitGatesTest, BadQubitIsRefused) {
  QuantumCircuit circuit(3);
  try {
    circuit.ry(0.1, 3);
    FAIL() << "no exception";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), "Invalid Parameter passed to the gate instruction.");
  }
  EXPECT_TRUE(circuit.gates().empty());
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0, 0}));

  // The list form keeps the records appended before the bad item.
  EXPECT_THROW(circuit.u2_list(0.1, 0.2, {1, -1, 0}), RunTimeError);
  ASSERT_EQ(circuit.gates().size(), 1u);
  EXPECT_EQ(circuit.gates()[0]->qubits, std::vector<uint64_t>{1});
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 1, 0}));
}

// The appenders write into any destination list, for composite bodies.
TEST(ComputedOneQubitGatesTest, AppendersWriteIntoTheGivenList) {
  QuantumCircuit circuit(2);
  GateRecordList body;
  EXPECT_EQ(AppendU1(circuit, 0.25, 1, body, "b"), 0);
  EXPECT_EQ(AppendU3(circuit, 0.1, 0.2, 0.3, 0, body, "b"), 0);
  EXPECT_TRUE(circuit.gates().empty());
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0]->gate_type, GateId::kU1);
  EXPECT_EQ(body[1]->gate_type, GateId::kU);
  EXPECT_EQ(body[1]->label, "b");
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 1}));
}

}  // namespace

}  // namespace taviron
