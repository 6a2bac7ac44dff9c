#include "circuit/append_gate.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/fixed_composite_steps.h"
#include "foundation/exceptions.h"
#include "circuit/quantum_circuit.h"
#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

const std::vector<uint64_t> kQubits = {3, 0, 4, 1, 2};
const std::vector<double> kParameters = {0.25, -0.5, 0.75, 1.5};

std::vector<uint64_t> FirstQubits(size_t count) {
  return {kQubits.begin(), kQubits.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<double> FirstParameters(size_t count) {
  return {kParameters.begin(), kParameters.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST(AppendGateTest, EveryCatalogueGateWithAMethodAppendsItsOwnRecord) {
  // The ids that no method appends from qubits and parameters alone.
  const std::vector<GateId> without_method = {
      GateId::kId,      GateId::kCXSpare, GateId::kMeasure, GateId::kBarrierSpare,
      GateId::kBarrier, GateId::kCSwap,   GateId::kCCX,     GateId::kCCZ,
      GateId::kEmpty,   GateId::kComposite};
  for (const GateDescriptor& entry : kGateCatalogue) {
    SCOPED_TRACE(std::string(entry.name) + " " + std::to_string(GateNumber(entry.id)));
    const std::optional<GateArity> arity = AppendGateArity(entry.id);
    QuantumCircuit circuit(5, 0);
    const bool has_method = std::find(without_method.begin(), without_method.end(), entry.id) ==
                            without_method.end();
    ASSERT_EQ(arity.has_value(), has_method);
    if (!has_method) {
      EXPECT_EQ(AppendGate(circuit, entry.id, {0}, {}), nullptr);
      EXPECT_TRUE(circuit.gates().empty());
      continue;
    }
    const std::vector<uint64_t> qubits = FirstQubits(arity->qubits);
    const std::vector<double> parameters = FirstParameters(arity->parameters);
    const std::unique_ptr<Gate> handle = AppendGate(circuit, entry.id, qubits, parameters);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(circuit.gates().size(), 1u);
    EXPECT_EQ(handle->records, circuit.gates());
    const GateRecord& record = *circuit.gates()[0];
    EXPECT_EQ(record.gate_type, entry.id);
    EXPECT_EQ(record.qubits, qubits);
    EXPECT_EQ(record.params, parameters);
    EXPECT_EQ(record.label, "");
  }
  EXPECT_EQ(AppendGateArity(GateId::kNone), std::nullopt);
}

TEST(AppendGateTest, FixedCompositesByKind) {
  for (int k = 0; k <= static_cast<int>(CompositeKind::kMcx); ++k) {
    const auto kind = static_cast<CompositeKind>(k);
    SCOPED_TRACE(CompositeKindName(kind));
    const std::optional<GateArity> arity = AppendGateArity(kind);
    QuantumCircuit circuit(5, 0);
    ASSERT_EQ(arity.has_value(), FixedCompositeSteps(kind) != nullptr);
    if (!arity) {
      EXPECT_EQ(AppendGate(circuit, kind, {0, 1, 2}, {}), nullptr);
      EXPECT_TRUE(circuit.gates().empty());
      continue;
    }
    EXPECT_EQ(arity->parameters, 0u);
    const std::vector<uint64_t> qubits = FirstQubits(arity->qubits);
    ASSERT_NE(AppendGate(circuit, kind, qubits, {}), nullptr);
    ASSERT_EQ(circuit.gates().size(), 1u);
    EXPECT_EQ(CompositeKindOf(*circuit.gates()[0]), kind);
    EXPECT_EQ(circuit.gates()[0]->qubits, qubits);
    EXPECT_TRUE(HoldsFixedBody(*circuit.gates()[0]));
  }
}

TEST(AppendGateTest, OtherCountsAppendNothing) {
  struct Case {
    GateId gate;
    std::vector<uint64_t> qubits;
    std::vector<double> parameters;
  };
  const Case cases[] = {
      {GateId::kH, {0, 1}, {}},      {GateId::kH, {}, {}},         {GateId::kRX, {0}, {}},
      {GateId::kU, {0}, {1, 2}},     {GateId::kCX, {0}, {}},       {GateId::kCU, {0, 1}, {1, 2, 3}},
      {GateId::kCP, {0, 1}, {1, 2}}, {GateId::kReset, {0, 1}, {}},
  };
  for (const Case& c : cases) {
    QuantumCircuit circuit(3, 0);
    EXPECT_EQ(AppendGate(circuit, c.gate, c.qubits, c.parameters), nullptr)
        << GateNumber(c.gate);
    EXPECT_TRUE(circuit.gates().empty()) << GateNumber(c.gate);
  }
  QuantumCircuit circuit(3, 0);
  EXPECT_EQ(AppendGate(circuit, CompositeKind::kCcx, {0, 1}, {}), nullptr);
  EXPECT_TRUE(circuit.gates().empty());
}

TEST(AppendGateTest, MethodChecksStillApply) {
  QuantumCircuit circuit(2, 0);
  EXPECT_THROW(AppendGate(circuit, GateId::kCX, {1, 1}, {}), RunTimeError);
  EXPECT_THROW(AppendGate(circuit, CompositeKind::kCcx, {0, 1, 0}, {}), RunTimeError);
  // reset refuses a qubit out of range with a null handle.
  EXPECT_EQ(AppendGate(circuit, GateId::kReset, {5}, {}), nullptr);
}

}  // namespace

}  // namespace taviron
