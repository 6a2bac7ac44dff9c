#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// The process-wide counters, read at one moment.
struct Counters {
  int32_t quantum = QuantumRegisterCounter;
  int32_t ancilla = AncillaRegisterCounter;
  int32_t classical = ClassicalRegisterCounter;
  int32_t quantum_names = QuantumRegisterNameCounter;
  int32_t ancilla_names = AncillaRegisterNameCounter;
  int32_t classical_names = ClassicalRegisterNameCounter;
  int32_t circuit_names = CircuitNameCounter;
};

void ExpectCountersUnchanged(const Counters& before) {
  const Counters now;
  EXPECT_EQ(now.quantum, before.quantum);
  EXPECT_EQ(now.ancilla, before.ancilla);
  EXPECT_EQ(now.classical, before.classical);
  EXPECT_EQ(now.quantum_names, before.quantum_names);
  EXPECT_EQ(now.ancilla_names, before.ancilla_names);
  EXPECT_EQ(now.classical_names, before.classical_names);
  EXPECT_EQ(now.circuit_names, before.circuit_names);
}

std::vector<int32_t> ClassicalSizes(const QuantumCircuit& circuit) {
  std::vector<int32_t> sizes;
  for (const auto& reg : circuit.classical_registers()) sizes.push_back(reg->size);
  return sizes;
}

template <class Exception>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "<no exception>";
}

TEST(CircuitConstructorsTest, CommonFieldsOfANewCircuit) {
  QuantumCircuit circuit(3, 2, "named", 0.25);
  EXPECT_EQ(circuit.header(), "OPENQASM 2.0;");
  EXPECT_EQ(circuit.instances(), 153);
  EXPECT_EQ(circuit.prefix(), "circuit");
  EXPECT_EQ(circuit.name(), "named");
  EXPECT_EQ(circuit.global_phase(), 0.25);
  EXPECT_TRUE(circuit.quiet());
  EXPECT_EQ(circuit.shots(), 0);
  EXPECT_TRUE(circuit.gates().empty());
  EXPECT_EQ(circuit.active_qubits(), std::vector<int64_t>(3, 0));
  EXPECT_EQ(circuit.clbit_slots(), std::vector<int64_t>(2, -1));
  EXPECT_TRUE(circuit.ancilla_registers().empty());
}

struct CountCase {
  uint64_t num_qubits;
  std::optional<uint64_t> num_cbits;  // none: the qubit-count constructor
  uint64_t total;                     // 0: refused with the message below
  uint64_t clbits;
  const char* message = "";
};

constexpr char kBadQubits[] = "Invalid number of qubits passed.";
constexpr char kBadClbits[] = "Invalid number of classical bits passed.";

TEST(CircuitConstructorsTest, CountConstructorsCheckTheirSizes) {
  const std::vector<CountCase> cases = {
      {1, std::nullopt, 1, 1},       {100, std::nullopt, 100, 100},
      {0, std::nullopt, 0, 0, kBadQubits},   {101, std::nullopt, 0, 0, kBadQubits},
      {500, std::nullopt, 0, 0, kBadQubits}, {UINT64_MAX, std::nullopt, 0, 0, kBadQubits},
      {0, 7, 0, 0, kBadQubits},      {200, 200, 0, 0, kBadQubits},
      {150, 100, 0, 0, kBadQubits},  {100, 100, 100, 100},
      {3, 4, 0, 0, kBadClbits},      {100, 101, 0, 0, kBadClbits},
      {5, 2, 5, 2},                  {5, 0, 5, 0},
      {3, 3, 3, 3},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.num_qubits) + " qubits, " +
                 (c.num_cbits ? std::to_string(*c.num_cbits) : "no") +
                 " classical bits");
    auto build = [&c] {
      return c.num_cbits ? std::make_unique<QuantumCircuit>(c.num_qubits, *c.num_cbits)
                         : std::make_unique<QuantumCircuit>(c.num_qubits);
    };
    if (c.total == 0) {
      const Counters before;
      EXPECT_EQ(MessageOf<std::range_error>([&] { build(); }), c.message);
      ExpectCountersUnchanged(before);
      continue;
    }
    const Counters before;
    std::unique_ptr<QuantumCircuit> circuit = build();
    EXPECT_EQ(circuit->total_qubits(), c.total);
    EXPECT_EQ(circuit->num_qubits(), c.total);
    EXPECT_EQ(circuit->num_ancillas(), 0u);
    EXPECT_EQ(circuit->num_clbits(), c.clbits);
    EXPECT_EQ(circuit->clbit_slots().size(), c.clbits);
    EXPECT_EQ(circuit->active_qubits().size(), c.total);
    // One quantum and one classical register, both as wide as the qubits.
    ASSERT_EQ(circuit->quantum_registers().size(), 1u);
    EXPECT_EQ(circuit->quantum_registers()[0]->size, static_cast<int32_t>(c.total));
    EXPECT_EQ(circuit->quantum_registers()[0]->first_index, 0);
    EXPECT_EQ(circuit->quantum_registers()[0]->name,
              "q" + std::to_string(before.quantum_names));
    EXPECT_EQ(ClassicalSizes(*circuit), std::vector<int32_t>{static_cast<int32_t>(c.total)});
    EXPECT_EQ(circuit->classical_registers()[0]->name,
              "c" + std::to_string(before.classical_names));
    EXPECT_EQ(circuit->name(), "circuit_" + std::to_string(before.circuit_names));
    // The set-up leaves the index counters at this circuit's totals.
    EXPECT_EQ(QuantumRegisterCounter, static_cast<int32_t>(c.total));
    EXPECT_EQ(AncillaRegisterCounter, 0);
    EXPECT_EQ(ClassicalRegisterCounter, static_cast<int32_t>(c.total));
  }
}

TEST(CircuitConstructorsTest, DefaultNamesAreNumberedAndNamedCircuitsUseNone) {
  const int32_t start = CircuitNameCounter;
  QuantumCircuit first(2);
  QuantumCircuit named(2, "bell");
  QuantumCircuit second(2, 2);
  EXPECT_THROW(QuantumCircuit(std::vector<RegisterArgument>{}), std::range_error);
  QuantumCircuit third(2);
  EXPECT_EQ(first.name(), "circuit_" + std::to_string(start));
  EXPECT_EQ(named.name(), "bell");
  EXPECT_EQ(second.name(), "circuit_" + std::to_string(start + 1));
  EXPECT_EQ(third.name(), "circuit_" + std::to_string(start + 2));
}

// One positional argument of the register constructor, described by value.
struct ArgSpec {
  char kind;  // 'q', 'a', 'c', or 'x' for an argument that is no register
  int32_t size;
  std::string name;
};

// Owns the register objects that a register constructor call refers to.
struct Arguments {
  std::vector<std::unique_ptr<QuantumRegister>> quantum;
  std::vector<std::unique_ptr<AncillaRegister>> ancilla;
  std::vector<std::unique_ptr<ClassicalRegister>> classical;
  std::vector<RegisterArgument> args;

  explicit Arguments(const std::vector<ArgSpec>& specs) {
    for (const ArgSpec& spec : specs) {
      switch (spec.kind) {
        case 'q':
          quantum.push_back(std::make_unique<QuantumRegister>(spec.size, spec.name));
          args.emplace_back(quantum.back().get());
          break;
        case 'a':
          ancilla.push_back(std::make_unique<AncillaRegister>(spec.size, spec.name));
          args.emplace_back(ancilla.back().get());
          break;
        case 'c':
          classical.push_back(std::make_unique<ClassicalRegister>(spec.size, spec.name));
          args.emplace_back(classical.back().get());
          break;
        default:
          args.emplace_back(std::monostate{});
      }
    }
  }
};

struct RegisterCase {
  std::string description;
  std::vector<ArgSpec> args;
  std::string error;  // empty: accepted
  uint64_t num_qubits;
  uint64_t num_ancillas;
  uint64_t num_clbits;
  std::vector<int32_t> classical_sizes;
};

TEST(CircuitConstructorsTest, RegisterConstructorCases) {
  const char kQubits[] = "Invalid number of qubits passed.";
  const char kClbits[] = "Invalid number of classical bits passed.";
  const char kArgument[] = "Invalid argument passed to constructor.";
  const std::vector<RegisterCase> cases = {
      {"complementary classical register", {{'q', 3, ""}}, "", 3, 0, 3, {3}},
      {"complement after the given one", {{'q', 3, ""}, {'c', 2, ""}}, "", 3, 0, 3, {2, 1}},
      {"more classical bits than qubits", {{'q', 2, ""}, {'c', 5, ""}}, "", 2, 0, 2, {5}},
      {"ancillas only", {{'a', 3, ""}}, "", 0, 3, 3, {3}},
      {"quantum and ancilla", {{'q', 2, ""}, {'a', 1, ""}}, "", 2, 1, 3, {3}},
      {"exactly 100", {{'q', 60, ""}, {'a', 40, ""}}, "", 60, 40, 100, {100}},
      {"101 qubits", {{'q', 60, ""}, {'a', 41, ""}}, kQubits, 0, 0, 0, {}},
      {"no register", {}, kQubits, 0, 0, 0, {}},
      {"only classical", {{'c', 3, ""}}, kQubits, 0, 0, 0, {}},
      {"zero-size quantum", {{'q', 0, ""}}, kQubits, 0, 0, 0, {}},
      {"not a register", {{'q', 2, ""}, {'x', 0, ""}}, kArgument, 0, 0, 0, {}},
      {"not a register before a bad count", {{'x', 0, ""}}, kArgument, 0, 0, 0, {}},
      {"negative quantum size", {{'q', -1, ""}, {'q', 3, ""}}, kQubits, 0, 0, 0, {}},
      {"negative ancilla cannot shrink the qubits", {{'q', 5, ""}, {'a', -2, ""}}, kQubits, 0, 0, 0, {}},
      {"negative classical size", {{'q', 2, ""}, {'c', -1, ""}}, kClbits, 0, 0, 0, {}},
      {"huge classical sizes do not wrap",
       {{'q', 2, ""}, {'c', INT32_MAX, ""}, {'c', INT32_MAX, ""}}, "", 2, 0, 2,
       {INT32_MAX, INT32_MAX}},
  };
  for (const RegisterCase& c : cases) {
    SCOPED_TRACE(c.description);
    Arguments arguments(c.args);
    const Counters before;
    if (!c.error.empty()) {
      std::string message;
      try {
        QuantumCircuit circuit(arguments.args);
      } catch (const std::range_error& e) {
        message = e.what();
      } catch (const std::invalid_argument& e) {
        message = e.what();
      }
      EXPECT_EQ(message, c.error);
      // Refused before any register or name is made.
      ExpectCountersUnchanged(before);
      for (const auto& reg : arguments.quantum) EXPECT_EQ(reg->name, "");
      continue;
    }
    QuantumCircuit circuit(arguments.args);
    EXPECT_EQ(circuit.num_qubits(), c.num_qubits);
    EXPECT_EQ(circuit.num_ancillas(), c.num_ancillas);
    EXPECT_EQ(circuit.total_qubits(), c.num_qubits + c.num_ancillas);
    EXPECT_EQ(circuit.num_clbits(), c.num_clbits);
    EXPECT_EQ(circuit.active_qubits().size(), circuit.total_qubits());
    EXPECT_EQ(ClassicalSizes(circuit), c.classical_sizes);
    if (c.classical_sizes.size() > arguments.classical.size()) {
      EXPECT_EQ(circuit.classical_registers().back()->name,
                "c" + std::to_string(before.classical_names +
                                     static_cast<int32_t>(arguments.classical.size())));
    }
  }
}

TEST(CircuitConstructorsTest, RegisterConstructorWritesBackIntoTheCallersObjects) {
  QuantumRegister earlier(7, "");  // moves the counter, so the next starts late
  QuantumRegister qr(2, "");
  ClassicalRegister cr(2, "");
  ASSERT_NE(qr.first_index, 0);
  const Counters before;
  QuantumCircuit circuit({&qr, &cr});
  EXPECT_EQ(qr.name, "q" + std::to_string(before.quantum_names));
  EXPECT_EQ(cr.name, "c" + std::to_string(before.classical_names));
  EXPECT_EQ(qr.first_index, 0);
  EXPECT_EQ(qr.__getitem__(0), 0);
  EXPECT_EQ(cr.first_index, 0);
  // The circuit holds copies, not the caller's objects.
  EXPECT_NE(circuit.quantum_registers()[0].get(), &qr);
  qr.first_index = 42;
  EXPECT_EQ(circuit.quantum_registers()[0]->first_index, 0);

  // Building another circuit rewrites the objects, never the first copies.
  AncillaRegister ar(1, "");
  QuantumCircuit other({&ar, &qr});
  EXPECT_EQ(qr.first_index, 0);
  EXPECT_EQ(ar.first_index, 2);
  EXPECT_EQ(circuit.quantum_registers()[0]->first_index, 0);
}

TEST(CircuitConstructorsTest, UnnamedRegisterPassedTwiceIsCopiedTwice) {
  QuantumRegister qr(2, "");
  const Counters before;
  QuantumCircuit circuit({&qr, &qr});
  ASSERT_EQ(circuit.quantum_registers().size(), 2u);
  const std::string first_name = "q" + std::to_string(before.quantum_names);
  const std::string second_name = "q" + std::to_string(before.quantum_names + 1);
  EXPECT_EQ(circuit.quantum_registers()[0]->name, first_name);
  EXPECT_EQ(circuit.quantum_registers()[0]->first_index, 0);
  EXPECT_EQ(circuit.quantum_registers()[1]->name, second_name);
  EXPECT_EQ(circuit.quantum_registers()[1]->first_index, 2);
  EXPECT_EQ(circuit.num_qubits(), 4u);
  // The object holds the values of its second copy.
  EXPECT_EQ(qr.name, second_name);
  EXPECT_EQ(qr.first_index, 2);
}

TEST(CircuitConstructorsTest, NameClashFailsAfterNamingAndWritesNothingBack) {
  QuantumRegister named(2, "data");
  const int32_t named_index = named.first_index;
  ClassicalRegister cr(1, "");
  const Counters before;
  std::string message;
  try {
    QuantumCircuit circuit({&cr, &named, &named});
  } catch (const RunTimeError& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "data Register name already defined.");
  // The circuit had taken its default name; the set-up had reached the
  // first quantum register; no classical register was named yet.
  EXPECT_EQ(CircuitNameCounter, before.circuit_names + 1);
  EXPECT_EQ(QuantumRegisterCounter, 0);
  EXPECT_EQ(ClassicalRegisterNameCounter, before.classical_names);
  EXPECT_EQ(AncillaRegisterCounter, before.ancilla);
  // Only the complementary register of 3 bits, made before the set-up,
  // moved the classical counter.
  EXPECT_EQ(ClassicalRegisterCounter, before.classical + 3);
  EXPECT_EQ(cr.name, "");
  EXPECT_EQ(named.first_index, named_index);
}

TEST(CircuitConstructorsTest, VectorConstructorKeepsTheCallersObjects) {
  auto q = std::make_shared<QuantumRegister>(2, "");
  auto a = std::make_shared<AncillaRegister>(1, "anc");
  auto c = std::make_shared<ClassicalRegister>(1, "");
  std::vector<std::shared_ptr<ClassicalRegister>> classical = {c};
  const Counters before;
  {
    QuantumCircuit circuit({q}, {a}, classical, "", 0.0);
    EXPECT_EQ(circuit.quantum_registers()[0], q);
    EXPECT_EQ(circuit.ancilla_registers()[0], a);
    EXPECT_EQ(a->first_index, 2);
    EXPECT_EQ(q->name, "q" + std::to_string(before.quantum_names));
    // The complementary register is appended to the caller's vector too.
    ASSERT_EQ(classical.size(), 2u);
    EXPECT_EQ(classical[1]->size, 2);
    EXPECT_EQ(classical[1]->first_index, 1);
    EXPECT_EQ(circuit.classical_registers(), classical);
    EXPECT_EQ(circuit.num_clbits(), 3u);
  }
  // The circuit's release leaves the objects to the caller.
  EXPECT_EQ(q.use_count(), 1);
  EXPECT_EQ(a->name, "anc");
}

TEST(CircuitConstructorsTest, VectorConstructorFailuresLeaveTheCallersObjects) {
  auto q = std::make_shared<QuantumRegister>(2, "x");
  auto c = std::make_shared<ClassicalRegister>(2, "x");
  std::vector<std::shared_ptr<ClassicalRegister>> classical = {c};
  EXPECT_THROW(QuantumCircuit({q}, {}, classical, "", 0.0), RunTimeError);
  EXPECT_EQ(q.use_count(), 1);
  EXPECT_EQ(q->first_index, 0);

  // Refused sizes are refused before the caller's vector is padded.
  auto negative = std::make_shared<AncillaRegister>(-1, "");
  std::vector<std::shared_ptr<ClassicalRegister>> empty;
  auto negative_bits = std::make_shared<ClassicalRegister>(-1, "");
  std::vector<std::shared_ptr<ClassicalRegister>> bad = {negative_bits};
  const Counters before;
  EXPECT_EQ(MessageOf<std::range_error>([&] {
              QuantumCircuit circuit({q}, {negative}, empty, "", 0.0);
            }),
            "Invalid number of qubits passed.");
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(MessageOf<std::range_error>([&] {
              QuantumCircuit circuit({q}, {}, bad, "", 0.0);
            }),
            "Invalid number of classical bits passed.");
  EXPECT_EQ(bad.size(), 1u);
  ExpectCountersUnchanged(before);
}

}  // namespace

}  // namespace taviron
