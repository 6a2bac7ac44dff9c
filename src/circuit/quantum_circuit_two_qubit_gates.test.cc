#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

const Complex kI(0, 1);

// References are built from Kronecker products. The first qubit of a record
// is the low bit of the basis index, so Kron(a, b) applies a to the second
// qubit and b to the first.
MatrixXcd Kron(const MatrixXcd& second, const MatrixXcd& first) {
  MatrixXcd result(4, 4);
  for (int a = 0; a < 2; ++a)
    for (int b = 0; b < 2; ++b)
      for (int c = 0; c < 2; ++c)
        for (int d = 0; d < 2; ++d) result(2 * a + b, 2 * c + d) = second(a, c) * first(b, d);
  return result;
}

MatrixXcd M2(Complex a, Complex b, Complex c, Complex d) {
  MatrixXcd m(2, 2);
  m << a, b, c, d;
  return m;
}

const MatrixXcd kId = M2(1, 0, 0, 1);
const MatrixXcd kX = M2(0, 1, 1, 0);
const MatrixXcd kY = M2(0, -kI, kI, 0);
const MatrixXcd kZ = M2(1, 0, 0, -1);
const MatrixXcd kP0 = M2(1, 0, 0, 0);
const MatrixXcd kP1 = M2(0, 0, 0, 1);

Complex E(double x) { return std::polar(1.0, x); }

// U applied to the second qubit when the first (the control) is 1.
MatrixXcd Controlled(const MatrixXcd& u) { return Kron(kId, kP0) + Kron(u, kP1); }

// exp(-i theta/2 P) for a Pauli product P.
MatrixXcd PauliExp(double theta, const MatrixXcd& pauli_product) {
  return std::cos(theta / 2) * MatrixXcd::Identity(4, 4) -
         kI * std::sin(theta / 2) * pauli_product;
}

MatrixXcd U(double theta, double phi, double lambda) {
  const double c = std::cos(theta / 2), s = std::sin(theta / 2);
  return M2(c, -E(lambda) * s, E(phi) * s, E(phi + lambda) * c);
}

constexpr double kTheta = 0.7, kPhi = -1.1, kLambda = 2.3, kGamma = 0.4;

using Apply = std::function<std::unique_ptr<Gate>(QuantumCircuit&, uint64_t, uint64_t)>;

struct TwoQubitCase {
  std::string name;
  Apply apply;
  GateId gate_type;
  std::vector<double> params;
  MatrixXcd reference;
  std::type_index handle_type;
};

template <class Handle>
TwoQubitCase Case(std::string name,
                  std::function<std::unique_ptr<Handle>(QuantumCircuit&, uint64_t, uint64_t)> apply,
                  GateId gate_type, std::vector<double> params, MatrixXcd reference) {
  return TwoQubitCase{std::move(name),
                      [apply](QuantumCircuit& c, uint64_t a, uint64_t b) -> std::unique_ptr<Gate> {
                        return apply(c, a, b);
                      },
                      gate_type,
                      std::move(params),
                      std::move(reference),
                      std::type_index(typeid(Handle))};
}

#define PLAIN(method, Handle) \
  std::function<std::unique_ptr<Handle>(QuantumCircuit&, uint64_t, uint64_t)>( \
      [](QuantumCircuit& c, uint64_t a, uint64_t b) { return c.method(a, b, "lbl"); })
#define ANGLE(method, Handle) \
  std::function<std::unique_ptr<Handle>(QuantumCircuit&, uint64_t, uint64_t)>( \
      [](QuantumCircuit& c, uint64_t a, uint64_t b) { return c.method(kTheta, a, b, "lbl"); })

const std::vector<TwoQubitCase>& Cases() {
  const double r = 0.7071067811865476;
  const MatrixXcd h = M2(r, r, r, -r);
  const MatrixXcd cx = Controlled(kX);
  const MatrixXcd reverse_cx = Kron(kP0, kId) + Kron(kP1, kX);
  const MatrixXcd i4 = MatrixXcd::Identity(4, 4);
  static const std::vector<TwoQubitCase> cases = {
      Case("cx", PLAIN(cx, CXGate), GateId::kCX, {}, cx),
      Case("cnot", PLAIN(cnot, CXGate), GateId::kCX, {}, cx),
      Case("cy", PLAIN(cy, CYGate), GateId::kCY, {}, Controlled(kY)),
      Case("cz", PLAIN(cz, CZGate), GateId::kCZ, {}, Controlled(kZ)),
      Case("ch", PLAIN(ch, CHGate), GateId::kCH, {}, Controlled(h)),
      Case("cs", PLAIN(cs, CSGate), GateId::kCS, {}, Controlled(M2(1, 0, 0, kI))),
      Case("csdg", PLAIN(csdg, CSdgGate), GateId::kCSdg, {}, Controlled(M2(1, 0, 0, -kI))),
      Case("csx", PLAIN(csx, CSXGate), GateId::kCSX, {},
           Controlled(M2(Complex(0.5, 0.5), Complex(0.5, -0.5), Complex(0.5, -0.5),
                         Complex(0.5, 0.5)))),
      Case("dcx", PLAIN(dcx, DCXGate), GateId::kDCX, {}, reverse_cx * cx),
      Case("ecr", PLAIN(ecr, ECRGate), GateId::kECR, {}, r * (Kron(kId, kX) - Kron(kX, kY))),
      Case("iswap", PLAIN(iswap, ISWAPGate), GateId::kISwap, {},
           0.5 * (i4 + Kron(kZ, kZ)) + 0.5 * kI * (Kron(kX, kX) + Kron(kY, kY))),
      Case("swap", PLAIN(swap, SWAPGate), GateId::kSwap, {},
           0.5 * (i4 + Kron(kX, kX) + Kron(kY, kY) + Kron(kZ, kZ))),
      Case("cp", ANGLE(cp, CPGate), GateId::kCP, {kTheta}, Controlled(M2(1, 0, 0, E(kTheta)))),
      Case("crx", ANGLE(crx, CRXGate), GateId::kCRX, {kTheta}, Controlled(std::cos(kTheta / 2) * kId -
                                                                 kI * std::sin(kTheta / 2) * kX)),
      Case("cry", ANGLE(cry, CRYGate), GateId::kCRY, {kTheta}, Controlled(std::cos(kTheta / 2) * kId -
                                                                 kI * std::sin(kTheta / 2) * kY)),
      Case("crz", ANGLE(crz, CRZGate), GateId::kCRZ, {kTheta},
           Controlled(M2(E(-kTheta / 2), 0, 0, E(kTheta / 2)))),
      Case("rxx", ANGLE(rxx, RXXGate), GateId::kRXX, {kTheta}, PauliExp(kTheta, Kron(kX, kX))),
      Case("ryy", ANGLE(ryy, RYYGate), GateId::kRYY, {kTheta}, PauliExp(kTheta, Kron(kY, kY))),
      // Z on the first qubit, X on the second.
      Case("rzx", ANGLE(rzx, RZXGate), GateId::kRZX, {kTheta}, PauliExp(kTheta, Kron(kX, kZ))),
      Case("rzz", ANGLE(rzz, RZZGate), GateId::kRZZ, {kTheta}, PauliExp(kTheta, Kron(kZ, kZ))),
      Case("cu",
           std::function<std::unique_ptr<CUGate>(QuantumCircuit&, uint64_t, uint64_t)>(
               [](QuantumCircuit& c, uint64_t a, uint64_t b) {
                 return c.cu(kTheta, kPhi, kLambda, kGamma, a, b, "lbl");
               }),
           GateId::kCU, {kTheta, kPhi, kLambda, kGamma}, Controlled(E(kGamma) * U(kTheta, kPhi, kLambda))),
      Case("cu3",
           std::function<std::unique_ptr<CU3Gate>(QuantumCircuit&, uint64_t, uint64_t)>(
               [](QuantumCircuit& c, uint64_t a, uint64_t b) {
                 return c.cu3(kTheta, kPhi, kLambda, a, b, "lbl");
               }),
           GateId::kCU3, {kTheta, kPhi, kLambda}, Controlled(U(kTheta, kPhi, kLambda))),
      // The cu1 record holds the angle itself in (3,3).
      Case("cu1", ANGLE(cu1, CU1Gate), GateId::kCU1, {kTheta},
           (MatrixXcd(4, 4) << 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, kTheta).finished()),
  };
  return cases;
}

TEST(TwoQubitGatesTest, EveryGateAgainstItsKroneckerReference) {
  ASSERT_EQ(Cases().size(), 23u);
  for (const TwoQubitCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(3);
    std::unique_ptr<Gate> handle = c.apply(circuit, 2, 0);
    ASSERT_EQ(circuit.gates().size(), 1u);
    const GateRecord& record = *circuit.gates()[0];
    EXPECT_EQ(record.gate_type, c.gate_type);
    EXPECT_EQ(record.qubits, (std::vector<uint64_t>{2, 0}));
    EXPECT_EQ(record.params, c.params);
    EXPECT_EQ(record.label, "lbl");
    EXPECT_TRUE(record.clbits.empty());
    ASSERT_EQ(record.matrix.rows(), 4);
    ASSERT_EQ(record.matrix.cols(), 4);
    EXPECT_LT((record.matrix - c.reference).cwiseAbs().maxCoeff(), 1e-15)
        << record.matrix << "\nexpected\n" << c.reference;
    EXPECT_EQ(std::type_index(typeid(*handle)), c.handle_type);
    EXPECT_EQ(handle->label, "lbl");
    EXPECT_EQ(handle->records, circuit.gates());
    EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 0, 1}));
  }
}

TEST(TwoQubitGatesTest, RefusedQubitsLeaveTheCircuitUnchanged) {
  for (const TwoQubitCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(2);
    for (const auto& [a, b] : std::vector<std::pair<uint64_t, uint64_t>>{
             {1, 1}, {0, 2}, {2, 0}, {UINT64_MAX, 0}}) {
      try {
        c.apply(circuit, a, b);
        ADD_FAILURE() << "accepted " << a << ", " << b;
      } catch (const RunTimeError& e) {
        EXPECT_STREQ(e.what(), "Invalid Parameter passed to the gate instruction.");
      }
    }
    EXPECT_TRUE(circuit.gates().empty());
    EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0}));
  }
}

TEST(TwoQubitGatesTest, ExactValues) {
  const GateMatrixConstants& constants = GateMatrixConstants::Get();
  QuantumCircuit circuit(2);
  auto matrix_of = [&circuit]() -> const MatrixXcd& { return circuit.gates().back()->matrix; };

  circuit.cx(0, 1);
  EXPECT_EQ(matrix_of(), constants.MatrixCX);
  circuit.cnot(0, 1);
  EXPECT_EQ(matrix_of(), constants.MatrixCX);

  circuit.cu1(0.5, 0, 1);
  EXPECT_EQ(matrix_of()(3, 3), Complex(0.5, 0));
  circuit.cu1(M_PI, 0, 1);
  EXPECT_EQ(matrix_of()(3, 3), Complex(M_PI, 0));

  const MatrixXcd identity = MatrixXcd::Identity(4, 4);
  circuit.cp(0, 0, 1);
  EXPECT_EQ(matrix_of(), identity);
  circuit.crz(0, 0, 1);
  EXPECT_EQ(matrix_of(), identity);
  circuit.rzz(0, 0, 1);
  EXPECT_EQ(matrix_of(), identity);
  EXPECT_EQ(constants.MatrixCPBase(3, 3), Complex(0, 0));  // templates untouched

  circuit.crx(M_PI, 0, 1);
  EXPECT_EQ(matrix_of()(1, 1), Complex(6.123233995736766e-17, 0));
  EXPECT_EQ(matrix_of()(3, 3), Complex(6.123233995736766e-17, 0));
  EXPECT_EQ(matrix_of()(1, 3), Complex(0, -1));
  EXPECT_EQ(matrix_of()(3, 1), Complex(0, -1));

  circuit.cu(kTheta, kPhi, kLambda, 0, 0, 1);
  const MatrixXcd cu = matrix_of();
  circuit.cu3(kTheta, kPhi, kLambda, 0, 1);
  EXPECT_EQ(matrix_of(), cu);

  circuit.cu(0, 0, 0, kGamma, 0, 1);
  const MatrixXcd phase = Eigen::Vector4cd(1, E(kGamma), 1, E(kGamma)).asDiagonal();
  EXPECT_LT((matrix_of() - phase).cwiseAbs().maxCoeff(), 1e-16);
  EXPECT_EQ(matrix_of()(0, 0), Complex(1, 0));
  EXPECT_EQ(matrix_of()(2, 2), Complex(1, 0));

  circuit.ecr(0, 1);
  const double r = 0.7071067811865476;
  EXPECT_EQ(matrix_of()(0, 1), Complex(r, 0));
  EXPECT_EQ(matrix_of()(1, 0), Complex(r, 0));
  EXPECT_EQ(matrix_of()(0, 3), Complex(0, r));
  EXPECT_EQ(matrix_of()(1, 2), Complex(0, -r));
  EXPECT_EQ(matrix_of()(3, 0), Complex(0, -r));

  circuit.rzx(kTheta, 0, 1);
  const MatrixXcd forward = matrix_of();
  circuit.rzx(kTheta, 1, 0);
  EXPECT_EQ(matrix_of(), forward);
  EXPECT_EQ(circuit.gates().back()->qubits, (std::vector<uint64_t>{1, 0}));
}

TEST(TwoQubitGatesTest, NonFiniteAnglesAreStoredUnchecked) {
  QuantumCircuit circuit(2);
  circuit.cu1(NAN, 0, 1);
  EXPECT_TRUE(std::isnan(circuit.gates().back()->matrix(3, 3).real()));
  circuit.rxx(INFINITY, 0, 1);
  EXPECT_TRUE(std::isinf(circuit.gates().back()->params[0]));
}

}  // namespace

}  // namespace taviron
