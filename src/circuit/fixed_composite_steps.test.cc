#include "circuit/fixed_composite_steps.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

// One fixed composite: its name, and a call of its builder on operands
// given in a scrambled order.
struct Builder {
  const char* name;
  std::function<void(QuantumCircuit&, const std::string& label)> build;
};

const std::vector<Builder>& Builders() {
  static const std::vector<Builder> builders = {
      {"ccx", [](QuantumCircuit& c, const std::string& l) { c.ccx(4, 0, 2, l); }},
      {"ccz", [](QuantumCircuit& c, const std::string& l) { c.ccz(1, 4, 3, l); }},
      {"cswap", [](QuantumCircuit& c, const std::string& l) { c.cswap(2, 0, 1, l); }},
      {"rccx", [](QuantumCircuit& c, const std::string& l) { c.rccx(3, 1, 0, l); }},
      {"rc3x", [](QuantumCircuit& c, const std::string& l) { c.rc3x(0, 4, 1, 3, l); }},
      {"c3sqrtx", [](QuantumCircuit& c, const std::string& l) { c.c3sqrtx(2, 3, 4, 0, l); }},
      {"c3x", [](QuantumCircuit& c, const std::string& l) { c.c3x(1, 0, 3, 2, l); }},
      {"c4x", [](QuantumCircuit& c, const std::string& l) { c.c4x(3, 1, 4, 0, 2, l); }},
  };
  return builders;
}

TEST(FixedCompositeStepsTest, EveryBuilderHoldsItsOwnStepsOnly) {
  for (const Builder& builder : Builders()) {
    SCOPED_TRACE(builder.name);
    QuantumCircuit circuit(5, 0);
    builder.build(circuit, "any label");
    const GateRecord& composite = *circuit.gates.back();
    for (const Builder& other : Builders()) {
      const std::vector<DecompositionStep>* steps = FixedCompositeSteps(other.name);
      ASSERT_NE(steps, nullptr) << other.name;
      EXPECT_EQ(HoldsSteps(composite, *steps), std::string(builder.name) == other.name)
          << other.name;
    }
  }
  EXPECT_EQ(FixedCompositeSteps("crx"), nullptr);
  EXPECT_EQ(FixedCompositeSteps("CCX"), nullptr);
}

TEST(FixedCompositeStepsTest, CompositesMadeOtherwiseDoNotHoldTheSteps) {
  const std::vector<DecompositionStep>& ccx = *FixedCompositeSteps("ccx");
  // A circuit named ccx attached on exactly three qubits.
  QuantumCircuit circuit(3, 0);
  QuantumCircuit sub(3, 0, "ccx", 0.0);
  sub.h(2);
  circuit.compose(sub, {}, {}, false, true);
  EXPECT_FALSE(HoldsSteps(*circuit.gates.back(), ccx));
  // The Toffoli's own body with one record conditioned, or with one angle
  // changed, or cut short.
  circuit.ccx(0, 1, 2);
  const GateRecord& toffoli = *circuit.gates.back();
  ASSERT_TRUE(HoldsSteps(toffoli, ccx));
  toffoli.body[3]->conditioned = true;
  EXPECT_FALSE(HoldsSteps(toffoli, ccx));
  toffoli.body[3]->conditioned = false;
  circuit.rccx(0, 1, 2);
  GateRecord& relative = *circuit.gates.back();
  relative.body[1]->params[0] += 1e-15;
  EXPECT_FALSE(HoldsSteps(relative, *FixedCompositeSteps("rccx")));
  relative.body[1]->params[0] -= 1e-15;
  relative.body.pop_back();
  EXPECT_FALSE(HoldsSteps(relative, *FixedCompositeSteps("rccx")));
}

}  // namespace

}  // namespace taviron
