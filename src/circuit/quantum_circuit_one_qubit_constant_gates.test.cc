#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/append_core.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/gate_matrix_constants.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

constexpr double kR = 0.7071067811865476;

MatrixXcd M(Complex a, Complex b, Complex c, Complex d) {
  MatrixXcd m(2, 2);
  m << a, b, c, d;
  return m;
}

Complex Phase(double angle) { return std::polar(1.0, angle); }

// A register value that did not move the counters.
QuantumRegister Register(int32_t first_index, int32_t size) {
  QuantumRegister reg(0, "");
  reg.first_index = first_index;
  reg.size = size;
  return reg;
}

using IntForm = std::function<std::unique_ptr<Gate>(QuantumCircuit&, uint64_t, std::string)>;
using ListForm =
    std::function<std::unique_ptr<Gate>(QuantumCircuit&, std::vector<int64_t>, std::string)>;
using RegisterForm =
    std::function<std::unique_ptr<Gate>(QuantumCircuit&, const QuantumRegister&, std::string)>;

struct GateCase {
  std::string name;
  IntForm one;
  ListForm list;
  RegisterForm reg;
  OneQubitAppender appender;
  GateId gate_type;
  MatrixXcd expected;
  std::type_index handle_type;
};

template <class Handle>
GateCase Case(std::string name,
              std::unique_ptr<Handle> (QuantumCircuit::*one)(uint64_t, std::string),
              std::unique_ptr<Handle> (QuantumCircuit::*list)(std::vector<int64_t>, std::string),
              std::unique_ptr<Handle> (QuantumCircuit::*reg)(const QuantumRegister&, std::string),
              OneQubitAppender appender, GateId gate_type, MatrixXcd expected) {
  return GateCase{
      std::move(name),
      [one](QuantumCircuit& c, uint64_t q, std::string l) { return (c.*one)(q, l); },
      [list](QuantumCircuit& c, std::vector<int64_t> q, std::string l) { return (c.*list)(q, l); },
      [reg](QuantumCircuit& c, const QuantumRegister& r, std::string l) { return (c.*reg)(r, l); },
      appender,
      gate_type,
      std::move(expected),
      std::type_index(typeid(Handle))};
}

const std::vector<GateCase>& Cases() {
  using QC = QuantumCircuit;
  const Complex i(0, 1);
  static const std::vector<GateCase> cases = {
      Case("h", &QC::h, &QC::h_list, &QC::h_register, AppendH, GateId::kH, M(kR, kR, kR, -kR)),
      Case("x", &QC::x, &QC::x_list, &QC::x_register, AppendX, GateId::kX, M(0, 1, 1, 0)),
      Case("i", &QC::i, &QC::i_list, &QC::i_register, AppendI, GateId::kI, M(1, 0, 0, 1)),
      Case("t", &QC::t, &QC::t_list, &QC::t_register, AppendT, GateId::kT, M(1, 0, 0, Phase(M_PI / 4))),
      Case("s", &QC::s, &QC::s_list, &QC::s_register, AppendS, GateId::kS, M(1, 0, 0, i)),
      Case("tdg", &QC::tdg, &QC::tdg_list, &QC::tdg_register, AppendTdg, GateId::kTdg,
           M(1, 0, 0, Phase(-M_PI / 4))),
      Case("sdg", &QC::sdg, &QC::sdg_list, &QC::sdg_register, AppendSdg, GateId::kSdg, M(1, 0, 0, -i)),
      Case("sx", &QC::sx, &QC::sx_list, &QC::sx_register, AppendSX, GateId::kSX,
           M(Complex(0.5, 0.5), Complex(0.5, -0.5), Complex(0.5, -0.5), Complex(0.5, 0.5))),
      Case("sxdg", &QC::sxdg, &QC::sxdg_list, &QC::sxdg_register, AppendSXdg, GateId::kSXdg,
           M(Complex(0.5, -0.5), Complex(0.5, 0.5), Complex(0.5, 0.5), Complex(0.5, -0.5))),
      Case("y", &QC::y, &QC::y_list, &QC::y_register, AppendY, GateId::kY, M(0, -i, i, 0)),
      Case("z", &QC::z, &QC::z_list, &QC::z_register, AppendZ, GateId::kZ, M(1, 0, 0, -1)),
  };
  return cases;
}

void ExpectRecord(const GateCase& c, const GateRecord& record, uint64_t qubit,
                  const std::string& label) {
  EXPECT_EQ(record.gate_type, c.gate_type);
  EXPECT_EQ(record.qubits, std::vector<uint64_t>{qubit});
  EXPECT_EQ(record.label, label);
  EXPECT_TRUE(record.params.empty());
  ASSERT_EQ(record.matrix.rows(), 2);
  ASSERT_EQ(record.matrix.cols(), 2);
  EXPECT_LT((record.matrix - c.expected).cwiseAbs().maxCoeff(), 1e-15);
}

TEST(OneQubitConstantGatesTest, IntFormAppendsOneRecordAndReturnsItsHandle) {
  for (const GateCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(3);
    std::unique_ptr<Gate> handle = c.one(circuit, 2, "lbl");
    ASSERT_EQ(circuit.gates().size(), 1u);
    ExpectRecord(c, *circuit.gates()[0], 2, "lbl");
    EXPECT_EQ(std::type_index(typeid(*handle)), c.handle_type);
    EXPECT_EQ(handle->label, "lbl");
    EXPECT_EQ(handle->records, circuit.gates());
    EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 0, 1}));
    EXPECT_EQ(circuit.gates()[0]->GetName(), c.name);

    // The record's matrix is its own copy of the constant.
    circuit.gates()[0]->matrix(0, 0) = 42.0;
    QuantumCircuit fresh(1);
    c.one(fresh, 0, "");
    ExpectRecord(c, *fresh.gates()[0], 0, "");

    try {
      c.one(circuit, 3, "");
      ADD_FAILURE() << "qubit 3 accepted";
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), "Invalid Parameter passed to the gate instruction.");
    }
    EXPECT_EQ(circuit.gates().size(), 1u);
  }
}

TEST(OneQubitConstantGatesTest, AppenderWritesIntoTheGivenList) {
  for (const GateCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(2);
    GateRecordList body;
    EXPECT_EQ(c.appender(circuit, 1, body, "b"), 0);
    ASSERT_EQ(body.size(), 1u);
    ExpectRecord(c, *body[0], 1, "b");
    EXPECT_TRUE(circuit.gates().empty());
    EXPECT_EQ(circuit.active_qubits()[1], 1);
  }
}

TEST(OneQubitConstantGatesTest, ListFormOneRecordPerItemInListOrder) {
  for (const GateCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(3);
    std::unique_ptr<Gate> handle = c.list(circuit, {1, 0, 1}, "L");
    ASSERT_EQ(circuit.gates().size(), 3u);
    const std::vector<uint64_t> order = {1, 0, 1};
    for (size_t k = 0; k < order.size(); ++k) ExpectRecord(c, *circuit.gates()[k], order[k], "L");
    EXPECT_EQ(handle->records, circuit.gates());
    EXPECT_EQ(handle->label, "L");
    EXPECT_EQ(std::type_index(typeid(*handle)), c.handle_type);

    std::unique_ptr<Gate> empty = c.list(circuit, {}, "");
    EXPECT_TRUE(empty->records.empty());
    EXPECT_EQ(circuit.gates().size(), 3u);
  }
}

TEST(OneQubitConstantGatesTest, ListFailingHalfWayKeepsTheEarlierRecords) {
  for (const GateCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    for (const std::vector<int64_t>& items :
         {std::vector<int64_t>{0, 7, 1}, std::vector<int64_t>{0, -1, 1}}) {
      QuantumCircuit circuit(3);
      EXPECT_THROW(c.list(circuit, items, ""), RunTimeError);
      ASSERT_EQ(circuit.gates().size(), 1u);
      EXPECT_EQ(circuit.gates()[0]->qubits, std::vector<uint64_t>{0});
      EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 0, 0}));
      // The circuit is the records' only holder: the dropped handle is gone.
      EXPECT_EQ(circuit.gates()[0].use_count(), 1);
    }
  }
}

struct RegisterCase {
  int32_t first_index;
  int32_t size;
  std::vector<uint64_t> appended;
  bool throws;
};

TEST(OneQubitConstantGatesTest, RegisterFormStaysInsideTheRegister) {
  const std::vector<RegisterCase> cases = {
      {3, 2, {3, 4}, false},  {0, 5, {0, 1, 2, 3, 4}, false},
      {2, 0, {}, false},      {2, -3, {}, false},
      {3, 3, {3, 4}, true},   {-1, 3, {}, true},
      {INT32_MAX, 2, {}, true},
  };
  for (const GateCase& c : Cases()) {
    for (const RegisterCase& r : cases) {
      SCOPED_TRACE(c.name + " on [" + std::to_string(r.first_index) + ", size " +
                   std::to_string(r.size) + "]");
      QuantumCircuit circuit(5);
      const QuantumRegister reg = Register(r.first_index, r.size);
      std::unique_ptr<Gate> handle;
      if (r.throws) {
        EXPECT_THROW(c.reg(circuit, reg, "R"), RunTimeError);
      } else {
        handle = c.reg(circuit, reg, "R");
      }
      ASSERT_EQ(circuit.gates().size(), r.appended.size());
      for (size_t k = 0; k < r.appended.size(); ++k) {
        ExpectRecord(c, *circuit.gates()[k], r.appended[k], "R");
      }
      if (handle) {
        EXPECT_EQ(handle->records, circuit.gates());
        EXPECT_EQ(std::type_index(typeid(*handle)), c.handle_type);
      }
    }
  }
}

TEST(OneQubitConstantGatesTest, AncillaQubitsAreTargetsByGlobalIndex) {
  QuantumRegister q(2, "");
  AncillaRegister a(1, "");
  QuantumCircuit circuit({&q, &a});
  circuit.h(2);
  EXPECT_EQ(circuit.gates().back()->qubits, std::vector<uint64_t>{2});
  EXPECT_THROW(circuit.h(3), RunTimeError);
}

TEST(OneQubitConstantGatesTest, ConditionOnAListHandleReachesEveryRecord) {
  QuantumCircuit circuit(3);
  std::unique_ptr<HGate> handle = circuit.h_list({0, 1, 2});
  handle->c_if_clbit(1, 1);
  for (const GateRecordPtr& record : circuit.gates()) {
    EXPECT_TRUE(record->conditioned);
    EXPECT_EQ(record->condition_clbit, 1u);
  }
}

}  // namespace

}  // namespace taviron
