#include "simulator/gate_dispatch.h"

#include <complex>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/gate_name_table.h"
#include "simulator/mps_state.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"

namespace taviron {

namespace {

// A state with every qubit in a random superposition and the chain
// entangled, so that any wrong amplitude of a gate shows.
GateRecordList EntangledPreparation(int n, std::mt19937& rng) {
  GateRecordList records;
  for (int q = 0; q < n; ++q) {
    records.push_back(OneQubitRecord(GateId::kU, RandomUnitary(2, rng), static_cast<uint64_t>(q)));
  }
  for (int q = 0; q + 1 < n; ++q) {
    records.push_back(CX(static_cast<uint64_t>(q), static_cast<uint64_t>(q + 1)));
  }
  return records;
}

// Every gate that a method appends acts on the engine as its record's matrix
// acts on the dense reference, on neighbouring and distant qubits in either
// order: whatever shortcut its id takes, none leaves the state as it was.
TEST(GateDispatchTest, EveryCatalogueGateActsAsItsMatrix) {
  constexpr int kQubits = 4;
  const std::vector<std::vector<uint64_t>> placements = {{1, 2}, {2, 1}, {0, 3}, {3, 0}};
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> angle(-3.2, 3.2);
  size_t checked = 0;
  for (const GateDescriptor& entry : kGateCatalogue) {
    if (!IsAppendedUnitaryGate(entry)) continue;
    for (const std::vector<uint64_t>& qubits : placements) {
      SCOPED_TRACE(std::string(entry.name) + " on " + std::to_string(qubits[0]) + ", " +
                   std::to_string(qubits[1]));
      GateRecordList records = EntangledPreparation(kQubits, rng);
      records.push_back(CatalogueGateRecord(entry.id, qubits[0], qubits[1], rng, angle));
      MpsState state(kQubits);
      state.ExecuteInstructions(true, records);
      DenseReference ref(kQubits);
      RunUnitaryOnDense(ref, records);
      const std::vector<std::complex<double>> actual = state.GetStateVector();
      ASSERT_EQ(actual.size(), ref.amplitudes().size());
      for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(std::abs(actual[i] - ref.amplitudes()[i]), 0.0, 1e-12) << "index " << i;
      }
      ++checked;
      if (entry.qubits == 1) break;
    }
  }
  EXPECT_GT(checked, 0u);
}

// Ids outside the catalogue act by their qubit count and, on a pair, only
// bring their qubits together.
TEST(GateDispatchTest, IdsOutsideTheCatalogueActByQubitCount) {
  for (int32_t id : {-1, GateNumber(kLastGateId) + 1, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(LookupGateDispatch(static_cast<GateId>(id)).action, GateAction::kByQubitCount) << id;
    EXPECT_EQ(LookupPairAction(static_cast<GateId>(id)), PairAction::kNone) << id;
  }
}

}  // namespace

}  // namespace taviron
