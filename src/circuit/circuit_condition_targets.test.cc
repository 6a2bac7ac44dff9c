#include "circuit/circuit_condition_targets.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// A circuit of three qubits and two classical registers, c0 of 2 bits
// and flags of 1 bit, built from the caller's registers as Python builds
// it; the register objects stay the caller's.
struct TwoRegisterCircuit {
  QuantumRegister q{3, "q"};
  ClassicalRegister c0{2, "c0"};
  ClassicalRegister flags{1, "flags"};
  QuantumCircuit circuit{std::vector<RegisterArgument>{&q, &c0, &flags}};
};

struct ConditionCase {
  const char* what;
  std::function<void(Gate&, TwoRegisterCircuit&)> condition;
  const char* refusal;  // nullptr: accepted
};

TEST(CircuitConditionTargetsTest, RefusesBitsAndRegistersTheCircuitDoesNotHave) {
  const std::vector<ConditionCase> cases = {
      {"bit 0", [](Gate& g, TwoRegisterCircuit&) { g.c_if_clbit(0, 1); }, nullptr},
      {"last bit, in the second register",
       [](Gate& g, TwoRegisterCircuit&) { g.c_if_clbit(2, 1); }, nullptr},
      {"one past the last bit", [](Gate& g, TwoRegisterCircuit&) { g.c_if_clbit(3, 1); },
       "Invalid Classical Bit Index: 3"},
      {"bit 64", [](Gate& g, TwoRegisterCircuit&) { g.c_if_clbit(64, 1); },
       "Invalid Classical Bit Index: 64"},
      {"the largest index",
       [](Gate& g, TwoRegisterCircuit&) { g.c_if_clbit(UINT64_MAX, 0); },
       "Invalid Classical Bit Index: 18446744073709551615"},
      {"the caller's register object (the circuit keeps a copy)",
       [](Gate& g, TwoRegisterCircuit& t) {
         g.c_if(std::make_shared<ClassicalRegister>(t.flags), 1);
       },
       nullptr},
      {"the circuit's own register object",
       [](Gate& g, TwoRegisterCircuit& t) { g.c_if(t.circuit.classical_registers()[0], 3); },
       nullptr},
      {"a register of another name",
       [](Gate& g, TwoRegisterCircuit&) {
         auto other = std::make_shared<ClassicalRegister>(1, "other");
         other->first_index = 2;
         g.c_if(other, 1);
       },
       "Invalid Classical Register: other is not a classical register of the circuit"},
      {"a register of the same name over other bits",
       [](Gate& g, TwoRegisterCircuit& t) {
         auto moved = std::make_shared<ClassicalRegister>(t.flags);
         moved->first_index = 5;
         g.c_if(moved, 1);
       },
       "Invalid Classical Register: flags is not a classical register of the circuit"},
  };
  for (const ConditionCase& c : cases) {
    TwoRegisterCircuit t;
    auto handle = t.circuit.h(0);
    if (c.refusal == nullptr) {
      EXPECT_NO_THROW(c.condition(*handle, t)) << c.what;
      EXPECT_TRUE(handle->records[0]->conditioned) << c.what;
      continue;
    }
    try {
      c.condition(*handle, t);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const RunTimeError& error) {
      EXPECT_STREQ(error.what(), c.refusal) << c.what;
    }
    // Refused before anything changed.
    EXPECT_FALSE(handle->records[0]->conditioned) << c.what;
  }
}

TEST(CircuitConditionTargetsTest, EveryKindOfHandleChecksAndOutlivesItsCircuit) {
  auto circuit = std::make_unique<QuantumCircuit>(3, 2);
  std::vector<std::unique_ptr<Gate>> handles;
  handles.push_back(circuit->x(0));
  handles.push_back(circuit->h_list({0, 1}));
  handles.push_back(circuit->cx(0, 1));
  handles.push_back(circuit->ccx(0, 1, 2));
  handles.push_back(circuit->mcx({0, 1}, 2));
  handles.push_back(circuit->measure(0, 0));
  handles.push_back(circuit->reset_list({0, 1}));
  handles.push_back(circuit->measure_active());  // may hold no record: still checked
  circuit.reset();
  // The count constructor's classical register has a bit for every qubit.
  for (const auto& handle : handles) {
    EXPECT_THROW(handle->c_if_clbit(3, 1), RunTimeError);
    EXPECT_NO_THROW(handle->c_if_clbit(2, 1));
  }
  // A handle made on its own belongs to no circuit and holds no record.
  XGate lone;
  EXPECT_NO_THROW(lone.c_if_clbit(64, 1));
}

}  // namespace

}  // namespace taviron
