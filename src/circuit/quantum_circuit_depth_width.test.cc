#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "circuit/testing/circuit_internals.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

TEST(DepthTest, Table) {
  struct Case {
    std::string name;
    std::function<void(QuantumCircuit&)> build;
    int32_t depth;
  };
  const std::vector<Case> cases = {
      {"empty", [](QuantumCircuit&) {}, 0},
      {"h0 h0 h1", [](QuantumCircuit& c) { c.h(0); c.h(0); c.h(1); }, 2},
      // The barrier brings both counters to 2.
      {"h0 h0 barrier h1", [](QuantumCircuit& c) { c.h(0); c.h(0); c.barrier(); c.h(1); }, 3},
      // A barrier on qubit 0 alone still lines up qubit 1.
      {"h0 barrier[0] h1", [](QuantumCircuit& c) { c.h(0); c.barrier_list({0}); c.h(1); }, 2},
      // Each qubit of a two-qubit gate counts on its own.
      {"h0 h0 cx h1 h1",
       [](QuantumCircuit& c) { c.h(0); c.h(0); c.cx(0, 1); c.h(1); c.h(1); }, 3},
      // A measurement counts on its qubit, not on its classical bit.
      {"measure 0->1 h1 h1", [](QuantumCircuit& c) { c.measure(0, 1); c.h(1); c.h(1); }, 2},
      {"reset x3", [](QuantumCircuit& c) { c.reset(1); c.reset(1); c.reset(1); }, 3},
      // A composite counts once on each of its qubits, whatever its body.
      {"ccx", [](QuantumCircuit& c) { c.ccx(0, 1, 2); }, 1},
      {"ccx h2", [](QuantumCircuit& c) { c.ccx(0, 1, 2); c.h(2); }, 2},
      {"pauli XX on one qubit", [](QuantumCircuit& c) { c.pauli({0, 0}, "XX"); }, 2},
      {"computed gates", [](QuantumCircuit& c) { c.rx_list(0.1, {0, 1, 1}); c.u(1, 2, 3, 1); }, 3},
      // Gate type 42 is a barrier too, although no method makes it.
      {"h0 h0 type-42 record h1",
       [](QuantumCircuit& c) {
         c.h(0);
         c.h(0);
         auto barrier = std::make_shared<GateRecord>();
         barrier->gate_type = GateId::kBarrierSpare;
         barrier->qubits = {2};
         c.mutable_gates().push_back(barrier);
         c.h(1);
       },
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuantumCircuit circuit(3);
    c.build(circuit);
    const size_t records = circuit.gates().size();
    EXPECT_EQ(circuit.depth(), c.depth);
    EXPECT_EQ(circuit.depth(), c.depth);
    EXPECT_EQ(circuit.gates().size(), records);
  }
}

// Records that no gate method makes: an index without a counter is skipped.
TEST(DepthTest, QubitWithoutCounterIsSkipped) {
  QuantumCircuit circuit(2);
  auto stray = std::make_shared<GateRecord>();
  stray->gate_type = GateId::kX;
  stray->qubits = {1, 2, 1000000, UINT64_MAX};
  circuit.mutable_gates().push_back(stray);
  circuit.h(0);
  EXPECT_EQ(circuit.depth(), 1);
  circuit.mutable_gates().push_back(stray);
  EXPECT_EQ(circuit.depth(), 2);
}

TEST(DepthTest, CounterAllocationFailureIsARunTimeError) {
  QuantumCircuit circuit(2);
  const uint64_t real_total = circuit.total_qubits();
  // More counters than a vector can hold: the allocation fails at once.
  CircuitInternals::SetTotalQubits(circuit, uint64_t{1} << 62);
  try {
    circuit.depth();
    ADD_FAILURE() << "no exception";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), "Error allocating memory in depth");
  }
  CircuitInternals::SetTotalQubits(circuit, real_total);
}

TEST(WidthTest, QubitsPlusClassicalBits) {
  EXPECT_EQ(QuantumCircuit(3, 1).width(), 4);
  EXPECT_EQ(QuantumCircuit(5).width(), 10);
  // Ancilla qubits count too; the classical bits then match the qubits.
  QuantumRegister qr(2, "");
  AncillaRegister ar(1, "");
  QuantumCircuit with_ancilla(std::vector<RegisterArgument>{&qr, &ar});
  EXPECT_EQ(with_ancilla.total_qubits(), 3u);
  EXPECT_EQ(with_ancilla.width(), 6);
}

}  // namespace

}  // namespace taviron
