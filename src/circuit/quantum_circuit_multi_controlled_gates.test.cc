#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit_append_compose.h"
#include "circuit/quantum_circuit.h"
#include "circuit/testing/dense_unitary.h"
#include "circuit/testing/composite_checks.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using namespace circuit_testing;

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

// One multi-controlled method called with its angle (mcx ignores it); the
// handle's label and records are returned.
using Method = std::function<std::unique_ptr<Gate>(
    QuantumCircuit&, double, std::vector<uint64_t>, uint64_t,
    const std::string&)>;

struct MethodCase {
  const char* name;
  const char* default_label;
  Method call;
  // The gate on the target when every control is 1.
  std::function<MatrixXcd(double)> target_gate;
};

const std::vector<MethodCase>& Methods() {
  static const std::vector<MethodCase> methods = {
      {"mcp", "mcphase",
       [](QuantumCircuit& c, double a, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mcp(a, cs, t, l);
       },
       dense_unitary::Phase},
      {"mcrx", "mcrx",
       [](QuantumCircuit& c, double a, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mcrx(a, cs, t, false, l);
       },
       dense_unitary::RotationX},
      {"mcry", "mcry",
       [](QuantumCircuit& c, double a, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mcry(a, cs, t, false, l);
       },
       dense_unitary::RotationY},
      // mcrz is the multi-controlled phase diag(1, e^(i lambda)).
      {"mcrz", "mcrz",
       [](QuantumCircuit& c, double a, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mcrz(a, cs, t, false, l);
       },
       dense_unitary::Phase},
      {"mcx", "mcx",
       [](QuantumCircuit& c, double, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mcx(cs, t, {}, "noancilla", l);
       },
       [](double) { return dense_unitary::PauliX(); }},
      {"mct", "mcx",
       [](QuantumCircuit& c, double, std::vector<uint64_t> cs, uint64_t t,
          const std::string& l) -> std::unique_ptr<Gate> {
         return c.mct(cs, t, {}, "noancilla", l);
       },
       [](double) { return dense_unitary::PauliX(); }},
  };
  return methods;
}

// n controls and the target in the middle of the circuit, the controls
// listed in descending order with one repeat. Up to four controls the last
// qubit stays idle (larger circuits would only slow the dense products).
struct Layout {
  int num_qubits;
  std::vector<uint64_t> controls;  // as passed
  std::vector<uint64_t> sorted;    // distinct, ascending
  uint64_t target;
  bool has_idle;
};

Layout MakeLayout(uint64_t n) {
  Layout layout;
  layout.has_idle = n <= 4;
  layout.num_qubits = static_cast<int>(n + 1 + (layout.has_idle ? 1 : 0));
  layout.target = n / 2;
  for (uint64_t q = 0; q <= n; ++q) {
    if (q != layout.target) layout.sorted.push_back(q);
  }
  layout.controls.assign(layout.sorted.rbegin(), layout.sorted.rend());
  layout.controls.push_back(layout.sorted.front());
  return layout;
}

TEST(MultiControlledGatesTest, MultiplyOutToTheIdealGate) {
  const double angle = 0.9;
  for (const MethodCase& method : Methods()) {
    for (uint64_t n = 1; n <= 6; ++n) {
      SCOPED_TRACE(method.name + std::string(" with ") + std::to_string(n) +
                   " controls");
      const Layout layout = MakeLayout(n);
      QuantumCircuit circuit(layout.num_qubits, 0);
      method.call(circuit, angle, layout.controls, layout.target, "");
      ASSERT_EQ(circuit.gates().size(), 1u);
      const MatrixXcd ideal = dense_unitary::ControlledUnitary(
          method.target_gate(angle), layout.sorted, layout.target,
          layout.num_qubits);
      EXPECT_LT(dense_unitary::MaxDistance(
                    dense_unitary::RecordsUnitary(circuit.gates(),
                                                  layout.num_qubits),
                    ideal),
                1e-12);
      for (int q = 0; q < layout.num_qubits; ++q) {
        const bool idle = layout.has_idle && q == layout.num_qubits - 1;
        EXPECT_EQ(circuit.active_qubits()[q], idle ? 0 : 1);
      }
    }
  }
}

TEST(MultiControlledGatesTest, CompositeFields) {
  for (const MethodCase& method : Methods()) {
    // mcx with fewer than five controls hands over to a fixed gate.
    const uint64_t n = std::string(method.default_label) == "mcx" ? 5 : 2;
    for (const std::string label : {"", "named"}) {
      SCOPED_TRACE(method.name + (" label '" + label + "'"));
      const Layout layout = MakeLayout(n);
      QuantumCircuit circuit(layout.num_qubits, 0);
      auto handle =
          method.call(circuit, 0.4, layout.controls, layout.target, label);
      EXPECT_EQ(handle->label, label);
      ASSERT_EQ(handle->records.size(), 1u);
      ASSERT_EQ(circuit.gates().size(), 1u);
      EXPECT_EQ(handle->records[0], circuit.gates()[0]);
      const GateRecord& composite = *circuit.gates()[0];
      EXPECT_EQ(composite.gate_type, GateId::kComposite);
      EXPECT_EQ(composite.label, label.empty() ? method.default_label : label);
      std::vector<uint64_t> qubits = layout.sorted;
      qubits.push_back(layout.target);
      EXPECT_EQ(composite.qubits, qubits);
      EXPECT_EQ(composite.params,
                std::vector<double>{n == 5 ? kPi : 0.4});
      EXPECT_TRUE(composite.clbits.empty());
      EXPECT_EQ(composite.matrix.size(), 0);
      EXPECT_FALSE(composite.conditioned);
      for (const GateRecordPtr& record : composite.body) {
        EXPECT_EQ(record->label, label);
      }
    }
  }
}

TEST(MultiControlledGatesTest, HandleClasses) {
  QuantumCircuit circuit(8, 0);
  EXPECT_NE(dynamic_cast<MCPGate*>(circuit.mcp(0.1, {0, 1}, 2).get()), nullptr);
  EXPECT_NE(dynamic_cast<MCRXGate*>(circuit.mcrx(0.1, {0, 1}, 2).get()), nullptr);
  EXPECT_NE(dynamic_cast<MCRYGate*>(circuit.mcry(0.1, {0, 1}, 2).get()), nullptr);
  EXPECT_NE(dynamic_cast<MCRZGate*>(circuit.mcrz(0.1, {0, 1}, 2).get()), nullptr);
  for (uint64_t n = 1; n <= 6; ++n) {
    std::vector<uint64_t> controls;
    for (uint64_t k = 1; k <= n; ++k) controls.push_back(k);
    auto handle = circuit.mcx(controls, 0, {}, "noancilla", "x" + std::to_string(n));
    EXPECT_EQ(handle->label, "x" + std::to_string(n));
    ASSERT_EQ(handle->records.size(), 1u);
    EXPECT_EQ(handle->records[0], circuit.gates().back());
  }
}

TEST(MultiControlledGatesTest, McxHandsSmallControlCountsToFixedGates) {
  struct Case {
    std::vector<uint64_t> controls;
    GateId gate_type;
    const char* label;
    std::vector<uint64_t> qubits;
    size_t body_size;
  };
  const std::vector<Case> cases = {
      {{2, 2}, kCX, "", {2, 0}, 0},
      {{3, 1, 3}, GateId::kComposite, "ccx", {1, 3, 0}, 15},
      {{4, 1, 3}, GateId::kComposite, "c3x", {1, 3, 4, 0}, 31},
      {{5, 4, 1, 3, 1}, GateId::kComposite, "c4x", {1, 3, 4, 5, 0}, 95},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::PrintToString(test.controls));
    QuantumCircuit circuit(6, 0);
    auto handle = circuit.mcx(test.controls, 0);
    ASSERT_EQ(circuit.gates().size(), 1u);
    const GateRecord& record = *circuit.gates()[0];
    EXPECT_EQ(record.gate_type, test.gate_type);
    EXPECT_EQ(record.label, test.label);
    EXPECT_EQ(record.qubits, test.qubits);
    EXPECT_EQ(record.body.size(), test.body_size);
    ASSERT_EQ(handle->records.size(), 1u);
    EXPECT_EQ(handle->records[0], circuit.gates()[0]);
  }
}

TEST(MultiControlledGatesTest, FiveControlMcxBody) {
  QuantumCircuit circuit(6, 0);
  circuit.mcx({1, 2, 3, 4, 5}, 0);
  const GateRecordList& body = circuit.gates().at(0)->body;
  ASSERT_NO_FATAL_FAILURE(ExpectBodyBetweenTwoH(body, 63u, 0));
  int leaves = 0, cx = 0;
  for (size_t i = 1; i + 1 < body.size(); ++i) {
    const GateRecord& record = *body[i];
    if (record.gate_type == kCX) {
      ++cx;
      continue;
    }
    ++leaves;
    EXPECT_EQ(record.gate_type, kCU1);
    ASSERT_EQ(record.params.size(), 1u);
    EXPECT_EQ(std::abs(record.params[0]), kPi / 16);
    EXPECT_EQ(record.matrix(3, 3), record.params[0]);
    EXPECT_EQ(record.qubits[1], 0u);
  }
  EXPECT_EQ(leaves, 31);
  EXPECT_EQ(cx, 30);
}

TEST(MultiControlledGatesTest, SingleControlLeaves) {
  struct Case {
    const char* name;
    GateId gate_type;
    std::vector<double> params;
  };
  const double a = 0.3;
  const std::vector<Case> cases = {
      {"mcp", kCP, {a}},
      {"mcrx", kCU, {a, -kHalfPi, kHalfPi, 0.0}},
      {"mcry", kCU, {a, 0.0, 0.0, 0.0}},
      {"mcrz", kCU, {0.0, 0.0, a, 0.0}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const MethodCase* method = nullptr;
    for (const MethodCase& m : Methods()) {
      if (test.name == std::string(m.name)) method = &m;
    }
    QuantumCircuit circuit(3, 0);
    method->call(circuit, a, {2}, 0, "");
    const GateRecordList& body = circuit.gates().at(0)->body;
    ASSERT_EQ(body.size(), 1u);
    EXPECT_EQ(body[0]->gate_type, test.gate_type);
    EXPECT_EQ(body[0]->qubits, (std::vector<uint64_t>{2, 0}));
    EXPECT_EQ(body[0]->params, test.params);
  }
}

TEST(MultiControlledGatesTest, TwoControlLeaves) {
  const double a = 0.8;
  QuantumCircuit circuit(3, 0);
  circuit.mcrx(a, {0, 1}, 2);
  circuit.mcrz(a, {0, 1}, 2);
  const GateRecordList& rx = circuit.gates().at(0)->body;
  const GateRecordList& rz = circuit.gates().at(1)->body;
  ASSERT_EQ(rx.size(), 5u);
  ASSERT_EQ(rz.size(), 5u);
  EXPECT_EQ(rx[0]->params, (std::vector<double>{a / 2, -kHalfPi, kHalfPi, 0}));
  EXPECT_EQ(rx[0]->qubits, (std::vector<uint64_t>{1, 2}));
  EXPECT_EQ(rx[1]->gate_type, kCX);
  EXPECT_EQ(rx[2]->params, (std::vector<double>{-a / 2, -kHalfPi, kHalfPi, 0}));
  EXPECT_EQ(rx[2]->qubits, (std::vector<uint64_t>{0, 2}));
  EXPECT_EQ(rx[4]->params, (std::vector<double>{a / 2, -kHalfPi, kHalfPi, 0}));
  EXPECT_EQ(rz[0]->params, (std::vector<double>{0, 0, a / 2, 0}));
  EXPECT_EQ(rz[2]->params, (std::vector<double>{0, -a / 2, 0, 0}));
  EXPECT_EQ(rz[4]->params, (std::vector<double>{0, 0, a / 2, 0}));
}

TEST(MultiControlledGatesTest, UnreadArgumentsChangeNothing) {
  QuantumCircuit plain(7, 0), extra(7, 0);
  const std::vector<uint64_t> controls = {1, 2, 3, 4, 5, 6};
  plain.mcrx(0.2, controls, 0, false);
  extra.mcrx(0.2, controls, 0, true);
  plain.mcry(0.2, controls, 0, false);
  extra.mcry(0.2, controls, 0, true);
  plain.mcrz(0.2, controls, 0, false);
  extra.mcrz(0.2, controls, 0, true);
  plain.mcx(controls, 0);
  extra.mcx(controls, 0, {3, 4}, "recursion");
  plain.mct(controls, 0);
  extra.mct(controls, 0, {1}, "v-chain");
  EXPECT_TRUE(GateListsEqual(plain.gates(), extra.gates()));
  for (size_t i = 0; i < plain.gates().size(); ++i) {
    EXPECT_EQ(plain.gates()[i]->qubits, extra.gates()[i]->qubits);
  }
}

TEST(MultiControlledGatesTest, ChecksRefuseBeforeAnythingChanges) {
  const uint64_t minus_one = std::numeric_limits<uint64_t>::max();
  struct Case {
    const char* what;
    std::vector<uint64_t> controls;
    uint64_t target;
  };
  const std::vector<Case> cases = {
      {"no control", {}, 0},
      {"target among the controls", {1, 3, 2}, 3},
      {"target outside", {0, 1}, 4},
      {"control outside", {0, 4}, 1},
      {"negative control", {minus_one, 0}, 1},
  };
  for (const MethodCase& method : Methods()) {
    for (const Case& test : cases) {
      SCOPED_TRACE(method.name + std::string(": ") + test.what);
      QuantumCircuit circuit(4, 0);
      ExpectRefusedLeavingCircuitEmpty(circuit, [&] {
        method.call(circuit, 0.5, test.controls, test.target, "");
      });
    }
  }
}

// A body of 2^33 records can never be built: refused with MemoryError at
// once. Above 32 controls the codes cannot be formed at all.
TEST(MultiControlledGatesTest, HugeBodiesAreRefusedWithoutAppending) {
  for (const MethodCase& method : Methods()) {
    SCOPED_TRACE(method.name);
    QuantumCircuit circuit(40, 0);
    std::vector<uint64_t> controls;
    for (uint64_t k = 1; k <= 32; ++k) controls.push_back(k);
    try {
      method.call(circuit, 0.5, controls, 0, "");
      ADD_FAILURE() << "32 controls accepted";
    } catch (const std::bad_alloc& e) {
      EXPECT_EQ(std::string(e.what()).rfind("A multi-controlled gate of 32 controls needs ", 0), 0u)
          << e.what();
    }
    controls.push_back(33);
    try {
      method.call(circuit, 0.5, controls, 0, "");
      ADD_FAILURE() << "33 controls accepted";
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "invalid string position");
    }
    EXPECT_TRUE(circuit.gates().empty());
  }
}

}  // namespace

}  // namespace taviron
