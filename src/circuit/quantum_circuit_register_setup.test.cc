#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

std::string Name(char letter, int32_t number) {
  return letter + std::to_string(number);
}

std::string ClashMessage(const std::vector<RegisterArgument>& args) {
  try {
    QuantumCircuit circuit(args);
  } catch (const RunTimeError& e) {
    return e.what();
  }
  return "<no exception>";
}

TEST(RegisterSetupTest, WorkedExample) {
  QuantumRegister q_unnamed(2, "");
  QuantumRegister data(3, "data");
  AncillaRegister a_unnamed(2, "");
  ClassicalRegister c_unnamed(1, "");
  const int32_t q = QuantumRegisterNameCounter;
  const int32_t a = AncillaRegisterNameCounter;
  const int32_t c = ClassicalRegisterNameCounter;

  QuantumCircuit circuit({&q_unnamed, &data, &a_unnamed, &c_unnamed});
  ASSERT_EQ(circuit.classical_registers().size(), 2u);
  EXPECT_EQ(circuit.classical_registers()[1]->size, 6);

  struct Expected {
    std::string name;
    int32_t first_index;
  };
  const std::vector<Expected> quantum = {{Name('q', q), 0}, {"data", 2}};
  const std::vector<Expected> ancilla = {{Name('a', a), 5}};
  const std::vector<Expected> classical = {{Name('c', c), 0}, {Name('c', c + 1), 1}};
  for (size_t k = 0; k < quantum.size(); ++k) {
    EXPECT_EQ(circuit.quantum_registers()[k]->name, quantum[k].name);
    EXPECT_EQ(circuit.quantum_registers()[k]->first_index, quantum[k].first_index);
  }
  EXPECT_EQ(circuit.ancilla_registers()[0]->name, ancilla[0].name);
  EXPECT_EQ(circuit.ancilla_registers()[0]->first_index, ancilla[0].first_index);
  for (size_t k = 0; k < classical.size(); ++k) {
    EXPECT_EQ(circuit.classical_registers()[k]->name, classical[k].name);
    EXPECT_EQ(circuit.classical_registers()[k]->first_index, classical[k].first_index);
  }
  EXPECT_EQ(circuit.num_qubits(), 5u);
  EXPECT_EQ(circuit.num_ancillas(), 2u);
  EXPECT_EQ(circuit.num_clbits(), 7u);
  EXPECT_EQ(circuit.clbit_slots(), std::vector<int64_t>(7, -1));
  EXPECT_EQ(QuantumRegisterCounter, 5);
  EXPECT_EQ(AncillaRegisterCounter, 2);
  EXPECT_EQ(ClassicalRegisterCounter, 7);

  // The next circuit's default names continue where this one stopped.
  QuantumRegister q_next(1, "");
  AncillaRegister a_next(1, "");
  ClassicalRegister c_next(2, "");
  QuantumCircuit next({&q_next, &a_next, &c_next});
  EXPECT_EQ(q_next.name, Name('q', q + 1));
  EXPECT_EQ(a_next.name, Name('a', a + 1));
  EXPECT_EQ(c_next.name, Name('c', c + 2));
}

TEST(RegisterSetupTest, ClashWithADefaultNameIsFoundAtTheNamedRegister) {
  QuantumRegister unnamed(1, "");
  QuantumRegister user(1, Name('q', QuantumRegisterNameCounter));
  const int32_t names = QuantumRegisterNameCounter;
  EXPECT_EQ(ClashMessage({&unnamed, &user}),
            user.name + " Register name already defined.");
  // The default name was given before the clash and is never reused.
  EXPECT_EQ(QuantumRegisterNameCounter, names + 1);
  EXPECT_EQ(unnamed.name, "");  // nothing written back
}

TEST(RegisterSetupTest, ClashAcrossKindsIsFoundAtTheQuantumRegister) {
  QuantumRegister qx(1, "x");
  ClassicalRegister cx(1, "x");
  const int32_t classical_counter = ClassicalRegisterCounter;
  EXPECT_EQ(ClashMessage({&cx, &qx}), "x Register name already defined.");
  EXPECT_EQ(QuantumRegisterCounter, 0);
  EXPECT_EQ(ClassicalRegisterCounter, classical_counter);  // not reached
}

TEST(RegisterSetupTest, NamesCompareExactly) {
  QuantumRegister upper(1, "Data");
  QuantumRegister lower(1, "data");
  AncillaRegister longer(1, "data1");
  QuantumCircuit circuit({&upper, &lower, &longer});
  EXPECT_TRUE(circuit.IsRegisterNameUsed("data", 1, 0));
  EXPECT_FALSE(circuit.IsRegisterNameUsed("data", 2, 0));  // itself
  EXPECT_TRUE(circuit.IsRegisterNameUsed("data1", 2, 0));
  EXPECT_FALSE(circuit.IsRegisterNameUsed("data1", 1, 1));
  EXPECT_FALSE(circuit.IsRegisterNameUsed("dat", 0, 2));
}

TEST(RegisterSetupTest, AncillasOnlyStartAtZero) {
  AncillaRegister first(2, "");
  AncillaRegister second(3, "");
  QuantumCircuit circuit({&first, &second});
  EXPECT_EQ(first.first_index, 0);
  EXPECT_EQ(second.first_index, 2);
  EXPECT_EQ(QuantumRegisterCounter, 0);
  EXPECT_EQ(AncillaRegisterCounter, 5);
  EXPECT_EQ(circuit.total_qubits(), 5u);
}

TEST(RegisterSetupTest, EmptyRegisterSharesTheNextFirstIndexAndIsNamed) {
  QuantumRegister empty(0, "");
  QuantumRegister two(2, "");
  const int32_t names = QuantumRegisterNameCounter;
  QuantumCircuit circuit({&empty, &two});
  EXPECT_EQ(empty.first_index, 0);
  EXPECT_EQ(two.first_index, 0);
  EXPECT_EQ(empty.name, Name('q', names));
  EXPECT_EQ(two.name, Name('q', names + 1));
}

}  // namespace

}  // namespace taviron
