#include <array>
#include <complex>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "circuit/testing/dense_unitary.h"
#include "foundation/exceptions.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;
using Operands = std::array<uint64_t, 3>;
using Apply = std::function<std::unique_ptr<Gate>(QuantumCircuit&, const Operands&,
                                                  const std::string& label)>;

constexpr double kPi = 3.141592653589793;
constexpr double kQuarterPi = 0.7853981633974483;

const std::string kInvalidParameter = "Invalid Parameter passed to the gate instruction.";

// The ideal controlled swap of qubits t1 and t2 under control c.
MatrixXcd IdealFredkin(uint64_t c, uint64_t t1, uint64_t t2, int num_qubits) {
  const uint64_t dim = uint64_t{1} << num_qubits;
  MatrixXcd result = MatrixXcd::Zero(dim, dim);
  for (uint64_t column = 0; column < dim; ++column) {
    uint64_t row = column;
    const uint64_t b1 = (column >> t1) & 1u;
    const uint64_t b2 = (column >> t2) & 1u;
    if (((column >> c) & 1u) && b1 != b2) row ^= (uint64_t{1} << t1) | (uint64_t{1} << t2);
    result(row, column) = 1.0;
  }
  return result;
}

MatrixXcd PauliZ() {
  MatrixXcd m(2, 2);
  m << 1, 0, 0, -1;
  return m;
}

MatrixXcd IdealToffoli(const Operands& q) {
  return dense_unitary::ControlledUnitary(dense_unitary::PauliX(), {q[0], q[1]}, q[2], 3);
}

struct CompositeCase {
  std::string name;
  Apply apply;
  std::string default_label;
  size_t body_size;
  std::type_index handle_type;
  // The ideal unitary for the operands, or none for rccx.
  std::function<MatrixXcd(const Operands&)> ideal;
};

const std::vector<CompositeCase>& Composites() {
  static const std::vector<CompositeCase> cases = {
      {"ccx", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.ccx(q[0], q[1], q[2], l)); },
       "ccx", 15, typeid(CCXGate), IdealToffoli},
      {"toffoli", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.toffoli(q[0], q[1], q[2], l)); },
       "ccx", 15, typeid(CCXGate), IdealToffoli},
      {"ccz", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.ccz(q[0], q[1], q[2], l)); },
       "ccz", 17, typeid(CCZGate),
       [](const Operands& q) { return dense_unitary::ControlledUnitary(PauliZ(), {q[0], q[1]}, q[2], 3); }},
      {"cswap", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.cswap(q[0], q[1], q[2], l)); },
       "cswap", 17, typeid(CSWAPGate),
       [](const Operands& q) { return IdealFredkin(q[0], q[1], q[2], 3); }},
      {"fredkin", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.fredkin(q[0], q[1], q[2], l)); },
       "cswap", 17, typeid(CSWAPGate),
       [](const Operands& q) { return IdealFredkin(q[0], q[1], q[2], 3); }},
      {"rccx", [](QuantumCircuit& qc, const Operands& q, const std::string& l) {
         return std::unique_ptr<Gate>(qc.rccx(q[0], q[1], q[2], l)); },
       "Rccx", 9, typeid(RCCXGate), nullptr},
  };
  return cases;
}

const std::vector<Operands> kOperandOrders = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}, {2, 1, 0}};

TEST(ToffoliFamilyTest, BodiesMultiplyOutToTheIdealGates) {
  for (const CompositeCase& gate : Composites()) {
    if (!gate.ideal) continue;
    for (const Operands& q : kOperandOrders) {
      SCOPED_TRACE(gate.name + " on " + std::to_string(q[0]) + std::to_string(q[1]) +
                   std::to_string(q[2]));
      QuantumCircuit circuit(3);
      gate.apply(circuit, q, "");
      const MatrixXcd unitary = dense_unitary::RecordsUnitary(circuit.gates(), 3);
      EXPECT_LT(dense_unitary::MaxDistance(unitary, gate.ideal(q)), 1e-12);
    }
  }
}

TEST(ToffoliFamilyTest, CompositeRecordAndHandle) {
  for (const CompositeCase& gate : Composites()) {
    for (const std::string label : {"", "foo"}) {
      SCOPED_TRACE(gate.name + " label '" + label + "'");
      QuantumCircuit circuit(4);
      circuit.h(3);
      std::unique_ptr<Gate> handle = gate.apply(circuit, {2, 0, 1}, label);
      ASSERT_EQ(circuit.gates().size(), 2u);
      const GateRecord& composite = *circuit.gates().back();
      EXPECT_EQ(composite.gate_type, GateId::kComposite);
      EXPECT_EQ(composite.label, label.empty() ? gate.default_label : label);
      EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{2, 0, 1}));
      EXPECT_TRUE(composite.params.empty());
      EXPECT_EQ(composite.matrix.size(), 0);
      EXPECT_TRUE(composite.clbits.empty());
      EXPECT_TRUE(composite.texts.empty());
      EXPECT_FALSE(composite.conditioned);
      ASSERT_EQ(composite.body.size(), gate.body_size);
      for (const GateRecordPtr& part : composite.body) {
        EXPECT_EQ(part->label, label);
        EXPECT_FALSE(part->conditioned);
      }
      EXPECT_EQ(std::type_index(typeid(*handle)), gate.handle_type);
      EXPECT_EQ(handle->label, label);
      ASSERT_EQ(handle->records.size(), 1u);
      EXPECT_EQ(handle->records[0], circuit.gates().back());
      EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 1, 1, 1}));
    }
  }
}

// (gate type, qubits) of every body record.
using BodyShape = std::vector<std::pair<GateId, std::vector<uint64_t>>>;

BodyShape ShapeOf(const GateRecordList& body) {
  BodyShape shape;
  for (const GateRecordPtr& part : body) shape.push_back({part->gate_type, part->qubits});
  return shape;
}

// ccx's record sequence on (c1, c2, t); the other bodies are built around it.
BodyShape CcxShape(uint64_t c1, uint64_t c2, uint64_t t) {
  constexpr GateId h = GateId::kH, cx = GateId::kCX, tg = GateId::kT, tdg = GateId::kTdg;
  return {{h, {t}},       {cx, {c2, t}}, {tdg, {t}},     {cx, {c1, t}}, {tg, {t}},
          {cx, {c2, t}},  {tdg, {t}},    {cx, {c1, t}},  {tg, {c2}},    {tg, {t}},
          {h, {t}},       {cx, {c1, c2}}, {tg, {c1}},    {tdg, {c2}},   {cx, {c1, c2}}};
}

BodyShape Surrounded(std::pair<GateId, std::vector<uint64_t>> edge, BodyShape middle) {
  middle.insert(middle.begin(), edge);
  middle.push_back(edge);
  return middle;
}

TEST(ToffoliFamilyTest, BodyRecordSequences) {
  QuantumCircuit circuit(4);
  circuit.ccx(3, 1, 2);
  circuit.ccz(3, 1, 2);
  circuit.cswap(3, 1, 2);
  EXPECT_EQ(ShapeOf(circuit.gates()[0]->body), CcxShape(3, 1, 2));
  EXPECT_EQ(ShapeOf(circuit.gates()[1]->body), Surrounded({GateId::kH, {2}}, CcxShape(3, 1, 2)));
  EXPECT_EQ(ShapeOf(circuit.gates()[2]->body), Surrounded({GateId::kCX, {2, 1}}, CcxShape(3, 1, 2)));
  const auto& constants = GateMatrixConstants::Get();
  for (const GateRecordPtr& part : circuit.gates()[0]->body) {
    EXPECT_TRUE(part->params.empty());
    switch (part->gate_type) {
      case GateId::kH: EXPECT_EQ(part->matrix, constants.MatrixH); break;
      case GateId::kT: EXPECT_EQ(part->matrix, constants.MatrixT); break;
      case GateId::kTdg: EXPECT_EQ(part->matrix, constants.MatrixTdg); break;
      case GateId::kCX: EXPECT_EQ(part->matrix, constants.MatrixCX); break;
      default: ADD_FAILURE() << "unexpected gate type " << GateNumber(part->gate_type);
    }
  }
}

TEST(ToffoliFamilyTest, RccxRecordsAndParameters) {
  QuantumCircuit circuit(3);
  circuit.rccx(2, 0, 1);
  const GateRecordList& body = circuit.gates()[0]->body;
  struct Expected {
    GateId gate_type;
    std::vector<uint64_t> qubits;
    std::vector<double> params;
  };
  const std::vector<Expected> expected = {
      {GateId::kU2, {1}, {0.0, kPi}},       {GateId::kU1, {1}, {kQuarterPi}}, {GateId::kCX, {0, 1}, {}},
      {GateId::kU1, {1}, {-kQuarterPi}},    {GateId::kCX, {2, 1}, {}},        {GateId::kU1, {1}, {kQuarterPi}},
      {GateId::kCX, {0, 1}, {}},            {GateId::kU1, {1}, {-kQuarterPi}}, {GateId::kU2, {1}, {0.0, kPi}},
  };
  ASSERT_EQ(body.size(), expected.size());
  for (size_t k = 0; k < body.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(body[k]->gate_type, expected[k].gate_type);
    EXPECT_EQ(body[k]->qubits, expected[k].qubits);
    EXPECT_EQ(body[k]->params, expected[k].params);
  }
  // u2(0, pi) carries the matrix of the u2 gate method with those angles.
  QuantumCircuit reference(3);
  reference.u2(0.0, kPi, 1);
  reference.u1(-kQuarterPi, 1);
  EXPECT_EQ(body[0]->matrix, reference.gates()[0]->matrix);
  EXPECT_EQ(body[3]->matrix, reference.gates()[1]->matrix);

  // A Toffoli up to phases: the same permutation, with unit-modulus entries.
  const MatrixXcd unitary = dense_unitary::RecordsUnitary(circuit.gates(), 3);
  const MatrixXcd toffoli = IdealToffoli({2, 0, 1});
  EXPECT_LT((unitary.cwiseAbs() - toffoli.cwiseAbs()).cwiseAbs().maxCoeff(), 1e-12);
}

TEST(ToffoliFamilyTest, SecondNamesBuildTheSameRecords) {
  QuantumCircuit circuit(3);
  circuit.ccx(1, 2, 0, "x");
  circuit.toffoli(1, 2, 0, "x");
  circuit.cswap(1, 2, 0);
  circuit.fredkin(1, 2, 0);
  for (size_t pair : {0, 2}) {
    const GateRecord& a = *circuit.gates()[pair];
    const GateRecord& b = *circuit.gates()[pair + 1];
    EXPECT_EQ(a.label, b.label);
    EXPECT_EQ(a.qubits, b.qubits);
    ASSERT_EQ(a.body.size(), b.body.size());
    for (size_t k = 0; k < a.body.size(); ++k) {
      EXPECT_EQ(a.body[k]->gate_type, b.body[k]->gate_type);
      EXPECT_EQ(a.body[k]->qubits, b.body[k]->qubits);
      EXPECT_EQ(a.body[k]->matrix, b.body[k]->matrix);
      EXPECT_EQ(a.body[k]->label, b.body[k]->label);
    }
  }
}

TEST(ToffoliFamilyTest, BadOperandsChangeNothing) {
  const std::vector<Operands> bad = {{0, 0, 2}, {1, 2, 1}, {2, 1, 2}, {0, 1, 3},
                                     {3, 1, 0}, {0, UINT64_MAX, 1}};
  for (const CompositeCase& gate : Composites()) {
    for (const Operands& q : bad) {
      SCOPED_TRACE(gate.name + " on " + std::to_string(q[0]) + "," + std::to_string(q[1]) +
                   "," + std::to_string(q[2]));
      QuantumCircuit circuit(3);
      try {
        gate.apply(circuit, q, "");
        ADD_FAILURE() << "no exception";
      } catch (const RunTimeError& e) {
        EXPECT_EQ(e.what(), kInvalidParameter);
      }
      EXPECT_TRUE(circuit.gates().empty());
      EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0, 0}));
    }
  }
  // The highest qubit is a valid operand.
  QuantumCircuit circuit(3);
  EXPECT_NO_THROW(circuit.ccx(0, 1, 2));
}

TEST(ToffoliFamilyTest, ConditionGoesOnTheCompositeOnly) {
  QuantumCircuit circuit(3);
  auto handle = circuit.ccz(0, 1, 2);
  handle->c_if_clbit(uint64_t{1}, 1);
  EXPECT_TRUE(circuit.gates()[0]->conditioned);
  for (const GateRecordPtr& part : circuit.gates()[0]->body) EXPECT_FALSE(part->conditioned);
}

}  // namespace

}  // namespace taviron
