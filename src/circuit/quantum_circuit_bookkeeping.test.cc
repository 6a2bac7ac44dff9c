#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/append_core.h"
#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

TEST(CircuitBookkeepingTest, SizeSkipsBarriersOnly) {
  QuantumCircuit circuit(3);
  EXPECT_EQ(circuit.size(), 0);
  circuit.h(0);
  circuit.barrier();
  circuit.cx(0, 1);
  circuit.measure(0, 0);
  circuit.reset(2);
  EXPECT_EQ(circuit.size(), 4);
  // A composite counts once whatever its body holds; id 42 is a barrier too.
  auto composite = std::make_shared<GateRecord>();
  composite->gate_type = GateId::kComposite;
  AppendH(circuit, 0, composite->body, "");
  AppendH(circuit, 1, composite->body, "");
  circuit.mutable_gates().push_back(composite);
  auto old_barrier = std::make_shared<GateRecord>();
  old_barrier->gate_type = GateId::kBarrierSpare;
  circuit.mutable_gates().push_back(old_barrier);
  EXPECT_EQ(circuit.size(), 5);
}

TEST(CircuitBookkeepingTest, ClearEmptiesTheListAndKeepsEverythingElse) {
  QuantumCircuit empty(2);
  empty.clear();
  EXPECT_TRUE(empty.gates().empty());

  QuantumCircuit circuit(3, 2, "kept");
  circuit.h(1);
  circuit.measure(1, 1, "m");
  circuit.set_shots(7);
  circuit.set_quiet(false);
  circuit.clear();
  EXPECT_EQ(circuit.size(), 0);
  EXPECT_TRUE(circuit.gates().empty());
  EXPECT_EQ(circuit.total_qubits(), 3u);
  EXPECT_EQ(circuit.num_qubits(), 3u);
  EXPECT_EQ(circuit.num_clbits(), 2u);
  EXPECT_EQ(circuit.name(), "kept");
  EXPECT_EQ(circuit.shots(), 7);
  EXPECT_FALSE(circuit.quiet());
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{0, 1, 0}));
  EXPECT_EQ(circuit.quantum_registers().size(), 1u);

  // The active flags survive, so measure_active still finds qubit 1; later
  // gates append to the emptied list.
  EXPECT_EQ(circuit.measure_active()->records.size(), 1u);
  circuit.x(0);
  EXPECT_EQ(circuit.gates().size(), 2u);
}

TEST(CircuitBookkeepingTest, HandleOutlivesClearAndTheCircuit) {
  std::unique_ptr<HGate> handle;
  std::unique_ptr<MeasGate> measure;
  {
    auto circuit = std::make_unique<QuantumCircuit>(2);
    handle = circuit->h(0, "lbl");
    measure = circuit->measure(0, 1);
    handle->records[0]->params = {1.0};  // untouched by clear
    circuit->clear();
    const GateRecord& record = *handle->records[0];
    EXPECT_EQ(record.matrix.size(), 0);
    EXPECT_TRUE(record.qubits.empty());
    EXPECT_EQ(record.label, "");
    EXPECT_EQ(record.gate_type, GateId::kH);
    EXPECT_EQ(record.params, std::vector<double>{1.0});
    EXPECT_TRUE(measure->records[0]->clbits.empty());

    // Conditioning a released record succeeds and reaches no circuit.
    handle->c_if_clbit(0, 1);
    EXPECT_TRUE(circuit->gates().empty());

    circuit->x(1);
    handle->records.push_back(circuit->gates()[0]);
  }
  // The circuit is gone; its destructor emptied the record the handle kept.
  EXPECT_EQ(handle->records[1].use_count(), 1);
  EXPECT_TRUE(handle->records[1]->qubits.empty());
  EXPECT_TRUE(handle->records[0]->conditioned);
  EXPECT_EQ(handle->label, "lbl");
}

struct Lookup {
  int64_t index;
  int64_t local;      // -1: refused
  std::string name;
};

TEST(CircuitBookkeepingTest, FindQubitRegisterWalksQuantumThenAncilla) {
  QuantumRegister first(2, "first");
  QuantumRegister second(3, "second");
  AncillaRegister anc(1, "anc");
  QuantumCircuit circuit({&first, &second, &anc});
  const std::vector<Lookup> cases = {
      {0, 0, "first"}, {1, 1, "first"}, {2, 0, "second"}, {4, 2, "second"},
      {5, 0, "anc"},   {6, -1, ""},     {-1, -1, ""},     {INT64_MIN, -1, ""},
  };
  for (const Lookup& c : cases) {
    SCOPED_TRACE(c.index);
    if (c.local < 0) {
      try {
        circuit.FindQubitRegister(c.index);
        ADD_FAILURE() << "found";
      } catch (const RunTimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid Qubit Index: " + std::to_string(c.index));
      }
    } else {
      EXPECT_EQ(circuit.FindQubitRegister(c.index), std::make_pair(c.local, c.name));
    }
  }
}

TEST(CircuitBookkeepingTest, FindClbitRegisterWalksClassicalRegisters) {
  QuantumRegister q(3, "q");
  ClassicalRegister a(1, "a");
  ClassicalRegister b(1, "b");
  QuantumCircuit circuit({&q, &a, &b});  // plus a complementary register of 1
  EXPECT_EQ(circuit.FindClbitRegister(0), std::make_pair(int64_t{0}, std::string("a")));
  EXPECT_EQ(circuit.FindClbitRegister(1), std::make_pair(int64_t{0}, std::string("b")));
  EXPECT_EQ(circuit.FindClbitRegister(2).second, circuit.classical_registers()[2]->name);
  for (int64_t bad : {int64_t{3}, int64_t{-2}}) {
    try {
      circuit.FindClbitRegister(bad);
      ADD_FAILURE() << "found " << bad;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(std::string(e.what()), "Invalid Classical Bit Index: " + std::to_string(bad));
    }
  }
}

TEST(CircuitBookkeepingTest, IndexAndSizeByRegisterName) {
  QuantumRegister data(2, "data");
  AncillaRegister anc(3, "anc");
  ClassicalRegister bits(5, "bits");
  QuantumCircuit circuit({&data, &anc, &bits});
  EXPECT_EQ(circuit.GetQubitIndex("data", 1), 1);
  EXPECT_EQ(circuit.GetQubitIndex("data", 7), 7);  // not bounded by the size
  EXPECT_EQ(circuit.GetQubitIndex("anc", 0), 2);
  EXPECT_EQ(circuit.GetQubitIndex("bits", 0), -1);  // classical: not searched
  EXPECT_EQ(circuit.GetQubitIndex("Data", 0), -1);
  EXPECT_EQ(circuit.GetQubitIndex("anc", UINT64_MAX), 1);  // wraps, no overflow
  EXPECT_EQ(circuit.GetRegisterSize("data"), 2);
  EXPECT_EQ(circuit.GetRegisterSize("anc"), 3);
  EXPECT_EQ(circuit.GetRegisterSize("bits"), -1);
  EXPECT_EQ(circuit.GetRegisterSize(""), -1);
}

}  // namespace

}  // namespace taviron
