#include "execution/run_snapshot.h"

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

TEST(RunSnapshotTest, CopyIsPrivateAndKeepsSharedRecordsShared) {
  QuantumCircuit circuit(3, 3);
  circuit.ccx(0, 1, 2);
  circuit.h(0);
  // A composite that stands twice in the list, as the reader shares calls
  // alike.
  circuit.mutable_gates().push_back(circuit.gates()[0]);
  const RunSnapshot copy = CopyCircuit(circuit);
  ASSERT_EQ(copy.gates.size(), 3u);
  EXPECT_EQ(copy.gates[0], copy.gates[2]);
  EXPECT_NE(copy.gates[0], circuit.gates()[0]);
  EXPECT_NE(copy.gates[0]->body[0], circuit.gates()[0]->body[0]);
  EXPECT_EQ(copy.gates[0]->body.size(), circuit.gates()[0]->body.size());
  EXPECT_NE(copy.gates[1], circuit.gates()[1]);
  const RunSnapshot shared = ShareCircuit(circuit);
  EXPECT_EQ(shared.gates, circuit.gates());
}

}  // namespace

}  // namespace taviron
