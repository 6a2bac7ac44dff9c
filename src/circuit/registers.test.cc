#include "circuit/registers.h"

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

TEST(RegistersTest, EachKindTakesItsFirstIndexFromItsOwnCounter) {
  const int32_t ancilla_start = AncillaRegisterCounter;
  const int32_t classical_start = ClassicalRegisterCounter;
  const int32_t quantum_start = QuantumRegisterCounter;

  AncillaRegister first(3, "");
  AncillaRegister second(2, "anc");
  EXPECT_EQ(first.first_index, ancilla_start);
  EXPECT_EQ(second.first_index, ancilla_start + 3);
  EXPECT_EQ(AncillaRegisterCounter, ancilla_start + 5);
  EXPECT_EQ(second.name, "anc");
  EXPECT_EQ(first.name, "");

  // Other kinds count separately.
  EXPECT_EQ(ClassicalRegisterCounter, classical_start);
  EXPECT_EQ(QuantumRegisterCounter, quantum_start);
  ClassicalRegister bits(4, "c");
  EXPECT_EQ(bits.first_index, classical_start);
  EXPECT_EQ(ClassicalRegisterCounter, classical_start + 4);
  QuantumRegister qubits(6, "");
  EXPECT_EQ(qubits.first_index, quantum_start);
  EXPECT_EQ(QuantumRegisterCounter, quantum_start + 6);
  EXPECT_EQ(AncillaRegisterCounter, ancilla_start + 5);

  // Releasing the first Python object gives its size back, so the next
  // register starts inside the range of a live one.
  SubtractRegisterFromCounter(first);
  EXPECT_EQ(AncillaRegisterCounter, ancilla_start + 2);
  AncillaRegister third(1, "");
  EXPECT_EQ(third.first_index, ancilla_start + 2);

  SubtractRegisterFromCounter(third);
  SubtractRegisterFromCounter(second);
  SubtractRegisterFromCounter(bits);
  SubtractRegisterFromCounter(qubits);
  EXPECT_EQ(AncillaRegisterCounter, ancilla_start);
  EXPECT_EQ(ClassicalRegisterCounter, classical_start);
  EXPECT_EQ(QuantumRegisterCounter, quantum_start);
}

TEST(RegistersTest, CopiesLeaveTheCountersAlone) {
  QuantumRegister original(3, "data");
  const int32_t after_construction = QuantumRegisterCounter;
  QuantumRegister copy = original;
  QuantumRegister assigned(0, "");
  assigned = original;
  EXPECT_EQ(QuantumRegisterCounter, after_construction);
  EXPECT_EQ(copy.size, 3);
  EXPECT_EQ(copy.name, "data");
  EXPECT_EQ(copy.first_index, original.first_index);
  SubtractRegisterFromCounter(original);
}

TEST(RegistersTest, ZeroAndNegativeSizesAreStoredAndCounted) {
  const int32_t start = ClassicalRegisterCounter;
  ClassicalRegister empty(0, "");
  ClassicalRegister negative(-4, "");
  EXPECT_EQ(empty.size, 0);
  EXPECT_EQ(negative.size, -4);
  EXPECT_EQ(ClassicalRegisterCounter, start - 4);
  SubtractRegisterFromCounter(negative);
  EXPECT_EQ(ClassicalRegisterCounter, start);
}

TEST(RegistersTest, CountersWrapAroundInsteadOfOverflowing) {
  const int32_t start = QuantumRegisterCounter;
  QuantumRegisterCounter = INT32_MAX;
  QuantumRegister big(2, "");
  EXPECT_EQ(big.first_index, INT32_MAX);
  EXPECT_EQ(QuantumRegisterCounter, INT32_MIN + 1);
  SubtractRegisterFromCounter(big);
  EXPECT_EQ(QuantumRegisterCounter, INT32_MAX);
  QuantumRegisterCounter = start;
}

TEST(RegistersTest, PrefixNamesTheKind) {
  EXPECT_EQ(QuantumRegister(0, "").prefix(), 'q');
  EXPECT_EQ(AncillaRegister(0, "").prefix(), 'a');
  EXPECT_EQ(ClassicalRegister(0, "").prefix(), 'c');
}

struct ItemCase {
  int32_t first_index;
  int32_t size;
  int32_t index;
  int64_t expected;  // -1: std::out_of_range
};

TEST(RegistersTest, ItemsAreBoundedByTheRegister) {
  const std::vector<ItemCase> cases = {
      {4, 3, 0, 4},
      {4, 3, 2, 6},
      {4, 3, 3, -1},
      {4, 3, 10, -1},
      {4, 3, -1, -1},
      {0, 0, 0, -1},
      {0, -2, 0, -1},
      {INT32_MAX, 2, 1, int64_t{INT32_MAX} + 1},  // computed in 64 bits
  };
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.first_index) + "+" + std::to_string(c.index) +
                 " of size " + std::to_string(c.size));
    QuantumRegister quantum(0, "");
    AncillaRegister ancilla(0, "");
    ClassicalRegister classical(0, "");
    quantum.first_index = ancilla.first_index = classical.first_index =
        c.first_index;
    quantum.size = ancilla.size = classical.size = c.size;
    if (c.expected < 0) {
      EXPECT_THROW(quantum.__getitem__(c.index), std::out_of_range);
      EXPECT_THROW(ancilla.__getitem__(c.index), std::out_of_range);
      EXPECT_THROW(classical.__getitem__(c.index), std::out_of_range);
    } else {
      EXPECT_EQ(quantum.__getitem__(c.index), c.expected);
      EXPECT_EQ(ancilla.__getitem__(c.index), c.expected);
      EXPECT_EQ(classical.__getitem__(c.index), c.expected);
    }
  }
}

}  // namespace

}  // namespace taviron
