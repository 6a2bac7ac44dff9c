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

using Pairs = std::vector<std::pair<uint64_t, uint64_t>>;

// (qubit, classical bit) of every measure record, in order.
Pairs MeasuredPairs(const GateRecordList& records) {
  Pairs pairs;
  for (const GateRecordPtr& record : records) {
    EXPECT_EQ(record->gate_type, GateId::kMeasure);
    EXPECT_EQ(record->qubits.size(), 1u);
    EXPECT_EQ(record->clbits.size(), 1u);
    EXPECT_EQ(record->matrix.size(), 0);
    EXPECT_TRUE(record->params.empty());
    pairs.emplace_back(record->qubits.at(0), record->clbits.at(0));
  }
  return pairs;
}

// The qubit of every record of the given type, in order.
std::vector<uint64_t> QubitsOf(const GateRecordList& records, GateId gate_type) {
  std::vector<uint64_t> qubits;
  for (const GateRecordPtr& record : records) {
    EXPECT_EQ(record->gate_type, gate_type);
    EXPECT_TRUE(record->clbits.empty());
    qubits.push_back(record->qubits.at(0));
  }
  return qubits;
}

TEST(MeasureTest, ClassicalBitIsBoundedByTheQubitCount) {
  QuantumCircuit circuit(3, 1);
  std::unique_ptr<MeasGate> handle = circuit.measure(2, 2, "m");
  EXPECT_EQ(MeasuredPairs(circuit.gates()), (Pairs{{2, 2}}));
  EXPECT_EQ(handle->records, circuit.gates());
  EXPECT_EQ(handle->label, "m");
  EXPECT_EQ(circuit.gates()[0]->label, "m");

  for (const auto& bad : Pairs{{3, 0}, {0, 3}, {UINT64_MAX, 0}}) {
    try {
      circuit.measure(bad.first, bad.second);
      ADD_FAILURE() << "accepted " << bad.first << ", " << bad.second;
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), "Invalid Parameter passed to the gate instruction.");
    }
  }
  EXPECT_EQ(circuit.gates().size(), 1u);

  circuit.measure_qubit(1);
  EXPECT_EQ(MeasuredPairs(circuit.gates()), (Pairs{{2, 2}, {1, 1}}));
  EXPECT_THROW(circuit.measure_qubit(3), RunTimeError);
  EXPECT_EQ(circuit.active_qubits(), std::vector<int64_t>(3, 0));
}

TEST(MeasureTest, MeasureAllMeasuresEveryQubitIntoItsOwnBit) {
  QuantumRegister q(2, "");
  AncillaRegister a(1, "");
  QuantumCircuit circuit({&q, &a});
  std::unique_ptr<MeasGate> handle = circuit.measure_all("all");
  EXPECT_EQ(MeasuredPairs(circuit.gates()), (Pairs{{0, 0}, {1, 1}, {2, 2}}));
  EXPECT_EQ(handle->records, circuit.gates());
  for (const GateRecordPtr& record : circuit.gates()) {
    EXPECT_EQ(record->label, "all");
    EXPECT_EQ(record.use_count(), 2);  // the circuit and the one handle
  }
}

TEST(MeasureTest, MeasureActiveFollowsTheActiveFlags) {
  QuantumCircuit circuit(4);
  std::unique_ptr<MeasGate> none = circuit.measure_active();
  EXPECT_TRUE(none->records.empty());
  EXPECT_TRUE(circuit.gates().empty());

  circuit.h(0);
  circuit.cx(0, 2);
  GateRecordList body;  // a record inside a composite body counts too
  AppendX(circuit, 3, body, "");
  const size_t before = circuit.gates().size();
  std::unique_ptr<MeasGate> first = circuit.measure_active();
  GateRecordList appended(circuit.gates().begin() + before, circuit.gates().end());
  EXPECT_EQ(MeasuredPairs(appended), (Pairs{{0, 0}, {2, 2}, {3, 3}}));
  EXPECT_EQ(first->records, appended);

  // Measurements set no flag, so a second call measures the same qubits.
  std::unique_ptr<MeasGate> second = circuit.measure_active();
  EXPECT_EQ(second->records.size(), 3u);
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 0, 1, 1}));
}

TEST(ResetTest, OutOfRangeQubitsAreSkippedSilently) {
  QuantumCircuit circuit(3);
  EXPECT_EQ(circuit.reset(5), nullptr);
  EXPECT_EQ(circuit.reset(UINT64_MAX), nullptr);
  EXPECT_TRUE(circuit.gates().empty());

  std::unique_ptr<ResetGate> one = circuit.reset(1, "r");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->label, "r");
  EXPECT_EQ(one->records, circuit.gates());

  std::unique_ptr<ResetGate> list = circuit.reset_list({0, 5, -1, 2}, "rl");
  EXPECT_EQ(QubitsOf(circuit.gates(), GateId::kReset), (std::vector<uint64_t>{1, 0, 2}));
  EXPECT_EQ(list->records, GateRecordList(circuit.gates().begin() + 1, circuit.gates().end()));
  EXPECT_EQ(list->label, "rl");
  for (const GateRecordPtr& record : list->records) {
    EXPECT_EQ(record->label, "rl");
    EXPECT_EQ(record.use_count(), 2);  // no inner handle is left holding it
  }
  EXPECT_TRUE(circuit.reset_list({}, "")->records.empty());
  EXPECT_EQ(circuit.active_qubits(), std::vector<int64_t>(3, 0));
}

struct BarrierCase {
  std::vector<int64_t> items;
  std::vector<uint64_t> appended;
  int32_t status;
};

TEST(BarrierTest, ListFormStopsQuietlyAtTheFirstBadItem) {
  const int32_t kNothing = -2147483628;
  const std::vector<BarrierCase> cases = {
      {{1, 3}, {1, 3}, 0},
      {{1, 7, 2}, {1}, 0},
      {{2, 2}, {2, 2}, 0},
      {{7}, {}, kNothing},
      {{-1, 0}, {}, kNothing},
      {{}, {}, kNothing},
      {{INT64_MIN}, {}, kNothing},
  };
  for (const BarrierCase& c : cases) {
    QuantumCircuit circuit(4);
    EXPECT_EQ(circuit.barrier_list(c.items, "b"), c.status);
    EXPECT_EQ(QubitsOf(circuit.gates(), GateId::kBarrier), c.appended);
    for (const GateRecordPtr& record : circuit.gates()) EXPECT_EQ(record->label, "b");
    EXPECT_EQ(circuit.active_qubits(), std::vector<int64_t>(4, 0));
  }
}

TEST(BarrierTest, FullFormCoversEveryQubit) {
  QuantumCircuit circuit(4);
  EXPECT_EQ(circuit.barrier(), 0);
  EXPECT_EQ(QubitsOf(circuit.gates(), GateId::kBarrier), (std::vector<uint64_t>{0, 1, 2, 3}));
  EXPECT_EQ(QuantumCircuit::BarrierNothingAppended, static_cast<int32_t>(0x80000014u));
}

}  // namespace

}  // namespace taviron
