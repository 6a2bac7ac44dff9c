#ifndef TAVIRON_CIRCUIT_TESTING_COMPOSITE_CHECKS_H
#define TAVIRON_CIRCUIT_TESTING_COMPOSITE_CHECKS_H

// Test-only helpers shared by the tests of the composite gates: the gate
// type ids their bodies are checked against, the check of a body that h on
// the target opens and closes, and the check that a refused call leaves a
// fresh circuit untouched.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace circuit_testing {

constexpr GateId kH = GateId::kH;
constexpr GateId kP = GateId::kP;
constexpr GateId kCX = GateId::kCX;
constexpr GateId kCP = GateId::kCP;
constexpr GateId kCU = GateId::kCU;
constexpr GateId kRXX = GateId::kRXX;
constexpr GateId kCU1 = GateId::kCU1;
constexpr GateId kU1 = GateId::kU1;
constexpr GateId kU2 = GateId::kU2;

constexpr char kInvalidParameter[] =
    "Invalid Parameter passed to the gate instruction.";

// `body` holds `size` records, the first and the last an h on `target`. Use
// through ASSERT_NO_FATAL_FAILURE: a wrong size stops the calling test.
inline void ExpectBodyBetweenTwoH(const GateRecordList& body, size_t size,
                                  uint64_t target) {
  ASSERT_EQ(body.size(), size);
  EXPECT_EQ(body.front()->gate_type, kH);
  EXPECT_EQ(body.front()->qubits, std::vector<uint64_t>{target});
  EXPECT_EQ(body.back()->gate_type, kH);
  EXPECT_EQ(body.back()->qubits, std::vector<uint64_t>{target});
}

// `call` must throw RunTimeError "Invalid Parameter passed to the gate
// instruction." and leave `circuit`, which held nothing before, without
// records and with every qubit inactive.
template <class Call>
void ExpectRefusedLeavingCircuitEmpty(const QuantumCircuit& circuit,
                                      Call call) {
  try {
    call();
    ADD_FAILURE() << "accepted";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), kInvalidParameter);
  }
  EXPECT_TRUE(circuit.gates().empty());
  for (int64_t flag : circuit.active_qubits()) EXPECT_EQ(flag, 0);
}

}  // namespace circuit_testing

}  // namespace taviron

#endif
