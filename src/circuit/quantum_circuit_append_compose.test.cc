#include "circuit/quantum_circuit_append_compose.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "circuit/registers.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const char kWider[] =
    "Input circuit has a wider number of qubits or classical bits and hence "
    "can't attach.";
const char kQubitListIncorrect[] = "The qubit list is incorrect";
const char kAppendListSize[] =
    "Either the qubit list or the classical bits list is not of the correct "
    "size";
const char kAppendClassical[] = "Classical register list is incorrect";
const char kComposeQubitSize[] = "The qubit list is not of the correct size";
const char kComposeClassicalSize[] =
    "The classical register list is not of the correct size";
const char kComposeClassical[] = "The classical register list is incorrect";

// What a refused call must leave untouched.
struct Snapshot {
  GateRecordList gates;
  std::vector<int64_t> active;
  int32_t counter;

  explicit Snapshot(const QuantumCircuit& c)
      : gates(c.gates()), active(c.active_qubits()), counter(CircuitNameCounter) {}
  void ExpectUnchanged(const QuantumCircuit& c) const {
    EXPECT_EQ(c.gates(), gates);
    EXPECT_EQ(c.active_qubits(), active);
    EXPECT_EQ(CircuitNameCounter, counter);
  }
};

template <class Call>
void ExpectRefused(QuantumCircuit& circuit, Call call, const std::string& message) {
  const Snapshot before(circuit);
  try {
    call();
    ADD_FAILURE() << "accepted; expected \"" << message << "\"";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
  before.ExpectUnchanged(circuit);
}

TEST(AppendComposeTest, ComposeWithDefaultListsUsesIdentityMaps) {
  QuantumCircuit circuit(3, 3, "outer");
  circuit.h(0);
  QuantumCircuit other(2, 2, "sub");
  other.h(0);
  other.cx(0, 1);
  other.measure(1, 1);
  other.gates()[0]->start_time = 5;
  other.gates()[0]->end_time = 7;

  EXPECT_EQ(circuit.compose(other), &circuit);
  ASSERT_EQ(circuit.gates().size(), 2u);
  const GateRecord& composite = *circuit.gates()[1];
  EXPECT_EQ(composite.gate_type, GateId::kComposite);
  EXPECT_EQ(composite.label, "sub");
  EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{0, 1, 2}));
  EXPECT_TRUE(composite.clbits.empty());
  EXPECT_TRUE(composite.params.empty());
  EXPECT_EQ(composite.matrix.size(), 0);
  ASSERT_EQ(composite.body.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const GateRecord& copy = *composite.body[i];
    const GateRecord& source = *other.gates()[i];
    EXPECT_NE(&copy, &source);
    EXPECT_EQ(copy.gate_type, source.gate_type);
    EXPECT_EQ(copy.qubits, source.qubits);
    EXPECT_EQ(copy.clbits, source.clbits);
    EXPECT_EQ(copy.matrix, source.matrix);
  }
  EXPECT_EQ(composite.body[0]->start_time, 5);
  EXPECT_EQ(composite.body[0]->end_time, 7);
  // Every qubit of the map is marked active, used or not.
  EXPECT_EQ(circuit.active_qubits(), (std::vector<int64_t>{1, 1, 1}));
  // The copies do not depend on the other circuit.
  other.clear();
  EXPECT_EQ(composite.body.size(), 3u);
}

TEST(AppendComposeTest, MapsRenameIndicesAtEveryDepth) {
  QuantumCircuit circuit(4, 3);
  QuantumCircuit other(3, 3, "inner");
  other.ccx(0, 1, 2);
  other.measure(2, 0);
  EXPECT_EQ(circuit.append(other, {3, 1, 0, 2}, {2, 0, 1}), 0);
  const GateRecord& composite = *circuit.gates().at(0);
  EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{3, 1, 0, 2}));
  const GateRecord& ccx = *composite.body.at(0);
  EXPECT_EQ(ccx.label, "ccx");
  EXPECT_EQ(ccx.qubits, (std::vector<uint64_t>{3, 1, 0}));
  ASSERT_EQ(ccx.body.size(), other.gates()[0]->body.size());
  for (size_t i = 0; i < ccx.body.size(); ++i) {
    std::vector<uint64_t> expected;
    for (uint64_t q : other.gates()[0]->body[i]->qubits) {
      expected.push_back(std::vector<uint64_t>{3, 1, 0}[q]);
    }
    EXPECT_EQ(ccx.body[i]->qubits, expected);
    EXPECT_NE(ccx.body[i], other.gates()[0]->body[i]);
  }
  const GateRecord& measure = *composite.body.at(1);
  EXPECT_EQ(measure.qubits, std::vector<uint64_t>{0});
  EXPECT_EQ(measure.clbits, std::vector<uint64_t>{2});
}

TEST(AppendComposeTest, ARecordInSeveralPlacesIsCopiedOnce) {
  // The reader lets calls alike share one composite; a copy keeps that.
  QuantumCircuit circuit(3, 0);
  QuantumCircuit other(3, 0, "inner");
  other.ccz(0, 1, 2);
  other.mutable_gates().push_back(other.gates()[0]);
  circuit.compose(other, {2, 0, 1}, {}, false, true);
  const GateRecord& composite = *circuit.gates().at(0);
  ASSERT_EQ(composite.body.size(), 2u);
  EXPECT_EQ(composite.body[0], composite.body[1]);
  EXPECT_NE(composite.body[0], other.gates()[0]);
  EXPECT_EQ(composite.body[0]->qubits, (std::vector<uint64_t>{2, 0, 1}));
}

TEST(AppendComposeTest, PlacementAndReturnValue) {
  QuantumCircuit circuit(2, 2);
  circuit.h(0);
  QuantumCircuit other(2, 2, "sub");
  other.x(1);
  EXPECT_EQ(circuit.compose(other, {}, {}, /*front=*/true), &circuit);
  EXPECT_EQ(circuit.gates().front()->label, "sub");
  EXPECT_EQ(circuit.compose(other, {}, {}, false, /*inplace=*/true), nullptr);
  EXPECT_EQ(circuit.gates().back()->label, "sub");
  EXPECT_EQ(circuit.append(other, {0, 1}, {0, 1}), 0);
  ASSERT_EQ(circuit.gates().size(), 4u);
  EXPECT_EQ(circuit.gates().back()->label, "sub");
  EXPECT_EQ(circuit.gates()[1]->gate_type, GateId::kH);
}

TEST(AppendComposeTest, NamingRule) {
  QuantumCircuit circuit(3, 3);
  QuantumCircuit first(2, 2, "gate");
  first.h(0);
  QuantumCircuit different(2, 2, "gate");
  different.x(0);
  QuantumCircuit moved(2, 2, "gate");
  moved.h(1);  // the same gates on another qubit compare equal

  const int32_t counter = CircuitNameCounter;
  circuit.compose(first);
  circuit.compose(first, {2, 1, 0});
  circuit.compose(moved);
  EXPECT_EQ(CircuitNameCounter, counter);
  circuit.compose(different);
  EXPECT_EQ(CircuitNameCounter, counter + 1);
  const std::vector<std::string> names = {"gate", "gate", "gate",
                                          "gate" + std::to_string(counter)};
  ASSERT_EQ(circuit.gates().size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(circuit.gates()[i]->label, names[i]);
  }
}

// The composites are found through the circuit's index, which follows
// records appended by other means, front insertions and clear.
TEST(AppendComposeTest, NamingRuleSeesEveryCompositeOfTheList) {
  QuantumCircuit first(2, 2, "g");
  first.h(0);
  QuantumCircuit second(2, 2, "g");
  second.x(0);
  const auto renamed = [](QuantumCircuit& circuit, const QuantumCircuit& other, bool front) {
    const int32_t counter = CircuitNameCounter;
    circuit.compose(other, {}, {}, front, true);
    return CircuitNameCounter != counter;
  };

  QuantumCircuit circuit(2, 2);
  circuit.x(1);
  EXPECT_FALSE(renamed(circuit, first, true));  // "g" holding h, in front
  circuit.h(0);
  EXPECT_TRUE(renamed(circuit, second, false));
  EXPECT_FALSE(renamed(circuit, first, false));
  EXPECT_TRUE(renamed(circuit, second, true));
  EXPECT_FALSE(renamed(circuit, first, false));
  circuit.clear();
  EXPECT_FALSE(renamed(circuit, second, false));  // nothing left to differ from
  EXPECT_TRUE(renamed(circuit, first, false));
}

// The suffix is the counter's decimal text, signed once the counter has
// wrapped. The walk stops at the first same-named composite whose body
// differs, so attaching the same other circuit again takes the next number.
TEST(AppendComposeTest, NamingSuffixIsTheSignedCounter) {
  const int32_t saved = CircuitNameCounter;
  QuantumCircuit circuit(2, 2);
  QuantumCircuit first(2, 2, "g");
  first.h(0);
  QuantumCircuit second(2, 2, "g");
  second.x(0);
  CircuitNameCounter = std::numeric_limits<int32_t>::max();
  circuit.compose(first);
  circuit.compose(second);
  EXPECT_EQ(CircuitNameCounter, std::numeric_limits<int32_t>::min());
  circuit.compose(second);
  EXPECT_EQ(CircuitNameCounter, std::numeric_limits<int32_t>::min() + 1);
  CircuitNameCounter = saved;
  ASSERT_EQ(circuit.gates().size(), 3u);
  EXPECT_EQ(circuit.gates()[0]->label, "g");
  EXPECT_EQ(circuit.gates()[1]->label, "g2147483647");
  EXPECT_EQ(circuit.gates()[2]->label, "g-2147483648");
}

TEST(AppendComposeTest, SelfCompose) {
  QuantumCircuit circuit(2, 2, "self");
  circuit.h(0);
  circuit.cx(0, 1);
  circuit.compose(circuit, {1, 0});
  ASSERT_EQ(circuit.gates().size(), 3u);
  const GateRecord& composite = *circuit.gates()[2];
  EXPECT_EQ(composite.label, "self");
  ASSERT_EQ(composite.body.size(), 2u);
  EXPECT_EQ(composite.body[1]->qubits, (std::vector<uint64_t>{1, 0}));
}

TEST(AppendComposeTest, RefusedCallsChangeNothing) {
  QuantumCircuit circuit(3, 2);
  circuit.h(1);
  QuantumCircuit narrow(2, 1, "narrow");
  narrow.cx(0, 1);
  QuantumCircuit more_qubits(4, 1);
  QuantumCircuit more_clbits(3, 3);
  const uint64_t big = std::numeric_limits<uint64_t>::max();

  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      // Width is checked before the lists are looked at.
      {"append wider qubits", [&] { circuit.append(more_qubits, {}, {}); }, kWider},
      {"append wider clbits", [&] { circuit.append(more_clbits, {0, 1, 2}, {0, 1}); }, kWider},
      {"compose wider qubits", [&] { circuit.compose(more_qubits, {9}); }, kWider},
      {"compose wider clbits", [&] { circuit.compose(more_clbits); }, kWider},
      // append's lists are sized by this circuit, not by the other one.
      {"append lists sized by other", [&] { circuit.append(narrow, {0, 1}, {0}); }, kAppendListSize},
      {"append short clbits", [&] { circuit.append(narrow, {0, 1, 2}, {0}); }, kAppendListSize},
      {"append qubit = total", [&] { circuit.append(narrow, {0, 3, 1}, {0, 1}); }, kQubitListIncorrect},
      {"append qubit negative", [&] { circuit.append(narrow, {0, big, 1}, {0, 1}); }, kQubitListIncorrect},
      {"append clbit = N", [&] { circuit.append(narrow, {0, 1, 2}, {3, 1}); }, kAppendClassical},
      {"compose qubit size", [&] { circuit.compose(narrow, {0, 1}); }, kComposeQubitSize},
      {"compose qubit = total", [&] { circuit.compose(narrow, {0, 1, 3}); }, kQubitListIncorrect},
      {"compose clbit size", [&] { circuit.compose(narrow, {}, {0}); }, kComposeClassicalSize},
      {"compose clbit = N", [&] { circuit.compose(narrow, {}, {0, 3}); }, kComposeClassical},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ExpectRefused(circuit, test.call, test.message);
  }
  // A classical entry below N but beyond the classical bits is accepted.
  EXPECT_EQ(circuit.append(narrow, {0, 1, 2}, {2, 0}), 0);
}

// A map under which a copied record would act twice on one qubit is refused
// before anything changes, at every depth; repeated entries that no record
// brings together are accepted.
TEST(AppendComposeTest, MapsThatMergeTheQubitsOfARecordAreRefused) {
  QuantumCircuit circuit(3, 3);
  QuantumCircuit two(2, 2, "two");
  two.cx(0, 1);
  QuantumCircuit nested(3, 3, "nested");
  nested.ccx(0, 1, 2);
  QuantumCircuit single(2, 2, "single");
  single.h(0);
  single.x(1);

  ExpectRefused(circuit, [&] { circuit.compose(two, {2, 2, 0}); },
                kQubitListIncorrect);
  ExpectRefused(circuit, [&] { circuit.append(two, {1, 1, 1}, {0, 1, 2}); },
                kQubitListIncorrect);
  ExpectRefused(circuit, [&] { circuit.compose(nested, {0, 2, 2}); },
                kQubitListIncorrect);

  EXPECT_EQ(circuit.compose(single, {2, 2, 0}), &circuit);
  const GateRecord& composite = *circuit.gates().at(0);
  EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{2, 2, 0}));
  EXPECT_EQ(composite.body.at(0)->qubits, std::vector<uint64_t>{2});
  EXPECT_EQ(composite.body.at(1)->qubits, std::vector<uint64_t>{2});

  // A composite that lists one qubit twice (a Pauli string on a repeated
  // qubit, or the composite just made from a map with repeated entries) is
  // attached like any other: its qubit list carries no operands.
  QuantumCircuit repeated(3, 3, "repeated");
  repeated.pauli({0, 0}, "XX");
  repeated.compose(single, {2, 2, 0});
  QuantumCircuit host(3, 3);
  EXPECT_EQ(host.compose(repeated), &host);
  const GateRecord& attached = *host.gates().at(0);
  EXPECT_EQ(attached.body.at(0)->qubits, (std::vector<uint64_t>{0, 0}));
  EXPECT_EQ(attached.body.at(1)->qubits, (std::vector<uint64_t>{2, 2, 0}));
  EXPECT_EQ(host.append(repeated, {1, 2, 0}, {0, 1, 2}), 0);
  EXPECT_EQ(host.gates().at(1)->body.at(0)->qubits,
            (std::vector<uint64_t>{1, 1}));
  // ... but the records inside such a composite are still checked.
  QuantumCircuit nested_pair(3, 3, "nested_pair");
  nested_pair.compose(two, {0, 1, 2});
  ExpectRefused(host, [&] { host.compose(nested_pair, {2, 2, 0}); },
                kQubitListIncorrect);

  // AttachCircuit itself never reads past its maps, nor marks a qubit the
  // circuit does not have.
  ExpectRefused(circuit, [&] { circuit.AttachCircuit(two, {0}, {0, 1}, false); },
                kQubitListIncorrect);
  ExpectRefused(circuit,
                [&] { circuit.AttachCircuit(single, {0, 1, 3}, {0, 1, 2}, false); },
                kQubitListIncorrect);
}

// A measure record may name a classical bit up to its circuit's last qubit,
// which can lie beyond the classical map: refused, not read past the map.
TEST(AppendComposeTest, ClassicalIndicesWithoutAMapEntryAreRefused) {
  QuantumCircuit circuit(3, 1);
  QuantumCircuit other(2, 1, "measures");
  other.measure(0, 1);
  ExpectRefused(circuit, [&] { circuit.compose(other); }, kComposeClassical);
  ExpectRefused(circuit, [&] { circuit.append(other, {0, 1, 2}, {0}); },
                kAppendClassical);

  // c_if refuses such a bit; the record is conditioned past that check.
  QuantumCircuit conditioned(2, 1, "conditioned");
  auto beyond = conditioned.x(0);
  beyond->condition_targets.reset();
  beyond->c_if_clbit(uint64_t{4}, 1);
  ExpectRefused(circuit, [&] { circuit.compose(conditioned); },
                kComposeClassical);
}

TEST(AppendComposeTest, ConditionsAreKept) {
  QuantumCircuit circuit(3, 3);
  QuantumCircuit other(3, 3, "conditioned");
  other.x(0)->c_if_clbit(uint64_t{1}, 1);
  auto reg = std::make_shared<ClassicalRegister>(1, "cr");
  reg->first_index = 2;
  // A register of its own, which c_if would refuse: conditioned past it.
  auto toffoli = other.ccx(0, 1, 2);
  toffoli->condition_targets.reset();
  toffoli->c_if(reg, 3);

  // Bit 1 moves to 0; the register's bit 2 stays where it is.
  circuit.compose(other, {}, {1, 0, 2});
  const GateRecordList& body = circuit.gates().at(0)->body;
  ASSERT_EQ(body.size(), 2u);
  EXPECT_TRUE(body[0]->conditioned);
  EXPECT_TRUE(body[0]->condition_on_clbit);
  EXPECT_EQ(body[0]->condition_clbit, 0u);
  EXPECT_EQ(body[0]->condition_value, 1u);
  EXPECT_TRUE(body[1]->conditioned);
  EXPECT_FALSE(body[1]->condition_on_clbit);
  EXPECT_EQ(body[1]->condition_register, reg);
  EXPECT_EQ(body[1]->condition_value, 3u);
  EXPECT_EQ(body[1]->body.size(), other.gates()[1]->body.size());

  // Conditions survive a second attachment too.
  QuantumCircuit outer(3, 3);
  outer.compose(circuit);
  const GateRecord& again = *outer.gates().at(0)->body.at(0)->body.at(0);
  EXPECT_TRUE(again.conditioned);
  EXPECT_EQ(again.condition_clbit, 0u);

  // A map that moves a bit of the register cannot keep its condition.
  QuantumCircuit target(3, 3);
  const Snapshot before(target);
  try {
    target.compose(other, {}, {0, 2, 1});
    ADD_FAILURE() << "register condition dropped or changed silently";
  } catch (const RunTimeError& e) {
    EXPECT_NE(std::string(e.what()).find("register"), std::string::npos);
  }
  before.ExpectUnchanged(target);
}

GateRecordPtr Record(GateId type, std::vector<uint64_t> qubits,
                     std::vector<double> params = {}, std::string label = "") {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = type;
  record->qubits = std::move(qubits);
  record->params = std::move(params);
  record->label = std::move(label);
  if (type != GateId::kComposite) record->matrix = MatrixXcd::Identity(2, 2);
  return record;
}

TEST(AppendComposeTest, GateListsEqual) {
  auto composite = [](GateRecordList body, std::vector<std::string> texts = {}) {
    GateRecordPtr record = Record(GateId::kComposite, {0, 1}, {}, "c");
    record->body = std::move(body);
    record->texts = std::move(texts);
    return record;
  };
  auto scaled = [](double relative) {
    GateRecordPtr record = Record(GateId::kH, {0});
    record->matrix *= 1.0 + relative;
    return record;
  };
  auto conditioned = [] {
    GateRecordPtr record = Record(GateId::kH, {0});
    record->conditioned = true;
    return record;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    GateRecordList a;
    GateRecordList b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"both empty", {}, {}, true},
      {"lengths differ", {Record(GateId::kH, {0})}, {}, false},
      {"other qubits, same count", {Record(GateId::kH, {0})}, {Record(GateId::kH, {2})}, true},
      {"qubit counts differ", {Record(GateId::kH, {0})}, {Record(GateId::kH, {0, 1})}, false},
      {"types differ", {Record(GateId::kH, {0})}, {Record(GateId::kX, {0})}, false},
      {"labels differ", {Record(GateId::kH, {0}, {}, "a")}, {Record(GateId::kH, {0}, {}, "b")}, false},
      {"params differ", {Record(GateId::kP, {0}, {0.5})}, {Record(GateId::kP, {0}, {0.25})}, false},
      {"NaN params", {Record(GateId::kP, {0}, {nan})}, {Record(GateId::kP, {0}, {nan})}, false},
      {"matrices within 1e-12", {Record(GateId::kH, {0})}, {scaled(1e-14)}, true},
      {"matrices beyond 1e-12", {Record(GateId::kH, {0})}, {scaled(1e-9)}, false},
      {"conditions differ", {Record(GateId::kH, {0})}, {conditioned()}, false},
      {"composite bodies equal up to qubits",
       {composite({Record(GateId::kH, {0})})}, {composite({Record(GateId::kH, {1})})}, true},
      {"composite bodies differ",
       {composite({Record(GateId::kH, {0})})}, {composite({Record(GateId::kX, {0})})}, false},
      {"composite texts differ",
       {composite({}, {"X"})}, {composite({}, {"Y"})}, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    EXPECT_EQ(GateListsEqual(test.a, test.b), test.equal);
    EXPECT_EQ(GateListsEqual(test.b, test.a), test.equal);
  }
}

}  // namespace

}  // namespace taviron
