#include "circuit/fixed_composite_steps.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

// One fixed composite: its kind, and a call of its builder on operands
// given in a scrambled order.
struct Builder {
  CompositeKind kind;
  std::function<void(QuantumCircuit&, const std::string& label)> build;
};

const std::vector<Builder>& Builders() {
  static const std::vector<Builder> builders = {
      {CompositeKind::kCcx, [](QuantumCircuit& c, const std::string& l) { c.ccx(4, 0, 2, l); }},
      {CompositeKind::kCcz, [](QuantumCircuit& c, const std::string& l) { c.ccz(1, 4, 3, l); }},
      {CompositeKind::kCswap, [](QuantumCircuit& c, const std::string& l) { c.cswap(2, 0, 1, l); }},
      {CompositeKind::kRccx, [](QuantumCircuit& c, const std::string& l) { c.rccx(3, 1, 0, l); }},
      {CompositeKind::kRc3x, [](QuantumCircuit& c, const std::string& l) { c.rc3x(0, 4, 1, 3, l); }},
      {CompositeKind::kC3sqrtx, [](QuantumCircuit& c, const std::string& l) { c.c3sqrtx(2, 3, 4, 0, l); }},
      {CompositeKind::kC3x, [](QuantumCircuit& c, const std::string& l) { c.c3x(1, 0, 3, 2, l); }},
      {CompositeKind::kC4x, [](QuantumCircuit& c, const std::string& l) { c.c4x(3, 1, 4, 0, 2, l); }},
  };
  return builders;
}

TEST(FixedCompositeStepsTest, EveryBuilderHoldsItsOwnStepsOnly) {
  for (const Builder& builder : Builders()) {
    SCOPED_TRACE(CompositeKindName(builder.kind));
    QuantumCircuit circuit(5, 0);
    builder.build(circuit, "any label");
    const GateRecord& composite = *circuit.gates().back();
    for (const Builder& other : Builders()) {
      const std::vector<DecompositionStep>* steps = FixedCompositeSteps(other.kind);
      ASSERT_NE(steps, nullptr) << CompositeKindName(other.kind);
      EXPECT_EQ(HoldsSteps(composite, *steps), builder.kind == other.kind)
          << CompositeKindName(other.kind);
    }
    // Whatever its label, only its kind's steps make it the fixed
    // composite.
    EXPECT_EQ(HoldsFixedBody(composite), false);
    QuantumCircuit unlabelled(5, 0);
    builder.build(unlabelled, "");
    EXPECT_TRUE(HoldsFixedBody(*unlabelled.gates().back()));
  }
  for (CompositeKind kind : {CompositeKind::kNone, CompositeKind::kCy, CompositeKind::kMcx,
                             CompositeKind::kMcphase}) {
    EXPECT_EQ(FixedCompositeSteps(kind), nullptr) << CompositeKindName(kind);
  }
}

TEST(FixedCompositeStepsTest, CompositesMadeOtherwiseDoNotHoldTheSteps) {
  const std::vector<DecompositionStep>& ccx = *FixedCompositeSteps(CompositeKind::kCcx);
  // A circuit named ccx attached on exactly three qubits.
  QuantumCircuit circuit(3, 0);
  QuantumCircuit sub(3, 0, "ccx", 0.0);
  sub.h(2);
  circuit.compose(sub, {}, {}, false, true);
  EXPECT_FALSE(HoldsSteps(*circuit.gates().back(), ccx));
  EXPECT_FALSE(HoldsFixedBody(*circuit.gates().back()));
  // The Toffoli's own body with one record conditioned, or with one angle
  // changed, or cut short.
  circuit.ccx(0, 1, 2);
  const GateRecord& toffoli = *circuit.gates().back();
  ASSERT_TRUE(HoldsSteps(toffoli, ccx));
  toffoli.body[3]->conditioned = true;
  EXPECT_FALSE(HoldsSteps(toffoli, ccx));
  toffoli.body[3]->conditioned = false;
  circuit.rccx(0, 1, 2);
  GateRecord& relative = *circuit.gates().back();
  relative.body[1]->params[0] += 1e-15;
  EXPECT_FALSE(HoldsSteps(relative, *FixedCompositeSteps(CompositeKind::kRccx)));
  relative.body[1]->params[0] -= 1e-15;
  relative.body.pop_back();
  EXPECT_FALSE(HoldsSteps(relative, *FixedCompositeSteps(CompositeKind::kRccx)));
}

}  // namespace

}  // namespace taviron
