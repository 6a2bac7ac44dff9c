// Running record lists: dispatch, progress lines, conditions, timestamps and
// the moves along the chain that two-qubit gates make.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "circuit/quantum_circuit.h"
#include "simulator/mps_state.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

std::vector<std::string> RunCapturingLines(MpsState& state, const GateRecordList& records) {
  std::vector<std::string> lines;
  state.ExecuteInstructions(false, records, [&](const std::string& line) { lines.push_back(line); });
  return lines;
}

std::vector<Complex> AllAmplitudes(const MpsState& state) {
  std::vector<uint64_t> indices(size_t{1} << state.qubit_count());
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = i;
  return state.GetAmplitudes(indices);
}

void ExpectMatchesDense(const MpsState& state, const GateRecordList& records) {
  DenseReference ref(static_cast<int>(state.qubit_count()));
  RunUnitaryOnDense(ref, records);
  const std::vector<Complex> actual = AllAmplitudes(state);
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(std::abs(actual[i] - ref.amplitudes()[i]), 0.0, 1e-12) << "index " << i;
  }
}

TEST(ExecuteInstructionsTest, ProgressLinesCountPerListAndComposite) {
  MpsState state(3);
  const GateRecordList records = {
      H(0), CompositeRecord("block", {X(1), CX(1, 2), H(2)}),
      ConditionOnBit(X(0), 0, 1),  // fails: its line is still printed
      MeasureRecord(0, 0), MeasureRecord(1, 1),  // one run: the second gets no line
      H(1)};
  const std::vector<std::string> lines = RunCapturingLines(state, records);
  const std::vector<std::string> expected = {
      "0 of 6, gate: h\n",   "1 of 6, gate: block\n", "0 of 3, gate: x\n",
      "1 of 3, gate: cx\n",  "2 of 3, gate: h\n",     "2 of 6, gate: x\n",
      "3 of 6, gate: measure\n", "4 of 6, gate: h\n"};
  EXPECT_EQ(lines, expected);

  MpsState quiet(3);
  std::vector<std::string> none;
  quiet.ExecuteInstructions(true, records, [&](const std::string& line) { none.push_back(line); });
  EXPECT_TRUE(none.empty());
}

TEST(ExecuteInstructionsTest, LongProgressLineIsPrintedWhole) {
  const std::string name(300, 'n');
  MpsState state(2);
  const std::vector<std::string> lines =
      RunCapturingLines(state, {CompositeRecord(name, {H(0)})});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "0 of 1, gate: " + name + "\n");
}

TEST(ExecuteInstructionsTest, CircuitSuppliesQuietFlag) {
  QuantumCircuit qc(2);
  qc.h(0);
  qc.cx(0, 1);
  std::vector<std::string> lines;
  const OutputSink sink = [&](const std::string& line) { lines.push_back(line); };
  MpsState state(2);
  state.ExecuteInstructions(qc.quiet(), qc.gates(), sink);  // a new circuit is quiet
  EXPECT_TRUE(lines.empty());
  qc.set_quiet(false);
  state.Reset();
  state.ExecuteInstructions(qc.quiet(), qc.gates(), sink);
  EXPECT_EQ(lines, (std::vector<std::string>{"0 of 2, gate: h\n", "1 of 2, gate: cx\n"}));
}

TEST(ExecuteInstructionsTest, TimestampsFollowTheRecordKind) {
  auto three_qubit_other = std::make_shared<GateRecord>();
  three_qubit_other->gate_type = GateId::kU;
  three_qubit_other->qubits = {0, 1, 2};
  auto no_qubits = std::make_shared<GateRecord>();
  no_qubits->gate_type = GateId::kH;
  auto barrier = std::make_shared<GateRecord>();
  barrier->gate_type = GateId::kBarrier;
  barrier->qubits = {0, 1};
  const GateRecordPtr composite = CompositeRecord("c", {H(0)});
  const GateRecordPtr skipped = ConditionOnBit(X(1), 2, 1);
  const GateRecordList records = {H(0), CX(0, 2), barrier, no_qubits, three_qubit_other,
                                  composite, skipped, MeasureRecord(0, 0), ResetRecord(1)};
  MpsState state(3);
  state.ExecuteInstructions(true, records);
  struct Expectation {
    GateRecordPtr record;
    bool stamped;
  };
  const std::vector<Expectation> expectations = {
      {records[0], true}, {records[1], true}, {barrier, true}, {no_qubits, true},
      {three_qubit_other, false}, {composite, false}, {composite->body[0], true},
      {skipped, false}, {records[7], true}, {records[8], true}};
  for (const Expectation& e : expectations) {
    if (e.stamped) {
      EXPECT_GT(e.record->start_time, 0) << e.record->GetName();
      EXPECT_LE(e.record->start_time, e.record->end_time) << e.record->GetName();
    } else {
      EXPECT_EQ(e.record->start_time, 0) << e.record->GetName();
      EXPECT_EQ(e.record->end_time, 0) << e.record->GetName();
    }
  }
}

TEST(ExecuteInstructionsTest, ConditionsOnUnmeasuredAndMissingBits) {
  auto reg = std::make_shared<ClassicalRegister>(2, "cr");
  reg->first_index = 0;
  auto on_register = [&](GateRecordPtr r, std::shared_ptr<ClassicalRegister> cr, uint64_t value) {
    r->conditioned = true;
    r->condition_on_clbit = false;
    r->condition_register = std::move(cr);
    r->condition_value = value;
    return r;
  };
  auto beyond = std::make_shared<ClassicalRegister>(3, "far");
  beyond->first_index = 2;  // bits 2..4 of a 3-qubit state: 3 and 4 do not exist
  struct Case {
    const char* name;
    GateRecordPtr record;
    bool acts;
  };
  const std::vector<Case> cases = {
      {"bit value 0, not measured", ConditionOnBit(X(0), 0, 0), false},
      {"register value 0, not measured", on_register(X(0), reg, 0), true},
      {"register value 1, not measured", on_register(X(0), reg, 1), false},
      {"bit beyond the state", ConditionOnBit(X(0), 7, 0), false},
      {"bit far beyond the state", ConditionOnBit(X(0), ~uint64_t{0}, 1), false},
      {"register past the state, value 0", on_register(X(0), beyond, 0), true},
  };
  for (const Case& c : cases) {
    MpsState state(3);
    state.ExecuteInstructions(true, {c.record});
    const std::vector<Complex> amplitudes = AllAmplitudes(state);
    EXPECT_NEAR(std::abs(amplitudes[c.acts ? 1 : 0]), 1.0, 1e-15) << c.name;
  }
}

TEST(ExecuteInstructionsTest, RecordsNamingAQubitTwiceOrOutsideAreSkipped) {
  MpsState state(3);
  state.ExecuteInstructions(true, {H(0), X(2)});
  const MpsState before = state;
  const GateRecordPtr same = CX(1, 1);
  const GateRecordPtr outside_one = X(3);
  const GateRecordPtr outside_two = CX(0, 9);
  state.ExecuteInstructions(true, {same, outside_one, outside_two});
  EXPECT_EQ(state.site_to_qubit(), before.site_to_qubit());
  EXPECT_EQ(AllAmplitudes(state), AllAmplitudes(before));
  for (const GateRecordPtr& r : {same, outside_one, outside_two}) EXPECT_EQ(r->start_time, 0);
}

TEST(ExecuteInstructionsTest, DistantGatesPermuteTheChain) {
  struct Case {
    uint64_t control, target;
    std::vector<int64_t> site_to_qubit;
  };
  const std::vector<Case> cases = {
      {0, 2, {0, 2, 1}},  // qubit 2 comes down to site 1, qubit 1 moves up
      {2, 0, {0, 2, 1}},  // the same move, gate with its first qubit on the right
      {1, 2, {0, 1, 2}},  // adjacent: nothing moves
  };
  for (const Case& c : cases) {
    MpsState state(3);
    // Control set, so the target flips: a wrong orientation shows.
    const GateRecordList records = {X(c.control), CX(c.control, c.target)};
    state.ExecuteInstructions(true, records);
    EXPECT_EQ(state.site_to_qubit(), c.site_to_qubit);
    for (int64_t q = 0; q < 3; ++q) {
      EXPECT_EQ(state.site_to_qubit()[static_cast<size_t>(state.qubit_to_site()[static_cast<size_t>(q)])], q);
    }
    ExpectMatchesDense(state, records);
    // A second gate on the same pair finds it adjacent and moves nothing.
    const std::vector<int64_t> after_first = state.site_to_qubit();
    state.ExecuteInstructions(true, {CX(c.control, c.target)});
    EXPECT_EQ(state.site_to_qubit(), after_first);
  }
}

TEST(ExecuteInstructionsTest, UnlistedTwoQubitTypesOnlyMoveTheirQubits) {
  // Types without a two-site action bring their qubits together and leave
  // the state as it was, whatever matrix they carry.
  for (GateId type : {GateId::kCXSpare, GateId::kCSwap, GateId::kU1, GateId::kU2, GateId::kCCX, GateId::kCCZ, GateId::kH}) {
    MpsState state(4);
    const GateRecordList prepare = {H(0), CX(0, 1), X(3)};
    state.ExecuteInstructions(true, prepare);
    const GateRecordPtr record = TwoQubitRecord(type, Constants().MatrixCX, 3, 0);
    state.ExecuteInstructions(true, {record});
    EXPECT_EQ(state.site_to_qubit(), (std::vector<int64_t>{0, 3, 1, 2})) << GateNumber(type);
    EXPECT_GT(record->start_time, 0) << GateNumber(type);
    ExpectMatchesDense(state, prepare);
  }
}

TEST(ExecuteInstructionsTest, MoveAndSwapSitesCarryQubits) {
  struct Case {
    bool swap;  // SwapSites(a, b), else MoveSite(a, b)
    int64_t a, b;
    std::vector<int64_t> site_to_qubit;
  };
  const std::vector<Case> cases = {
      {false, 4, 1, {0, 4, 1, 2, 3}}, {false, 0, 3, {1, 2, 3, 0, 4}}, {false, 2, 2, {0, 1, 2, 3, 4}},
      {true, 1, 4, {0, 4, 2, 3, 1}},  {true, 3, 2, {0, 1, 3, 2, 4}},  {true, 4, 0, {4, 1, 2, 3, 0}},
  };
  for (const Case& c : cases) {
    // Distinct qubit values (an entangled pair and basis states) make any
    // misplaced qubit visible in the amplitudes.
    std::mt19937 rng(11);
    const GateRecordList records = {H(0), CX(0, 1), X(2), OneQubitRecord(GateId::kU, RandomUnitary(2, rng), 4)};
    MpsState state(5);
    state.ExecuteInstructions(true, records);
    const std::vector<Complex> before = AllAmplitudes(state);
    if (c.swap) {
      state.SwapSites(c.a, c.b);
    } else {
      state.MoveSite(c.a, c.b);
    }
    EXPECT_EQ(state.site_to_qubit(), c.site_to_qubit);
    for (int64_t q = 0; q < 5; ++q) {
      EXPECT_EQ(state.site_to_qubit()[static_cast<size_t>(state.qubit_to_site()[static_cast<size_t>(q)])], q);
    }
    const std::vector<Complex> after = AllAmplitudes(state);
    for (size_t i = 0; i < after.size(); ++i) EXPECT_NEAR(std::abs(after[i] - before[i]), 0.0, 1e-12);
  }
}

TEST(ExecuteInstructionsTest, PairGateBitZeroIsTheFirstQubit) {
  // X on the gate's first qubit (basis index bit 0): 0<->1, 2<->3.
  MatrixXcd x_first = MatrixXcd::Zero(4, 4);
  x_first(0, 1) = x_first(1, 0) = x_first(2, 3) = x_first(3, 2) = 1.0;
  // A product state with four distinct amplitudes; qubit 0 on the left
  // site. Basis index q0 + 2 q1 holds block 2 s_left + s_right.
  const auto ry = [](double angle) {
    MatrixXcd m(2, 2);
    m << std::cos(angle / 2), -std::sin(angle / 2), std::sin(angle / 2), std::cos(angle / 2);
    return m;
  };
  const GateRecordList prepare = {OneQubitRecord(GateId::kRY, ry(0.4), 0),
                                  OneQubitRecord(GateId::kRY, ry(1.1), 1)};
  const std::vector<uint64_t> index_of_block = {0, 2, 1, 3};
  struct Case {
    bool first_on_left;
    std::vector<int> source_of_block;  // block i takes the old block source_of_block[i]
  };
  // First qubit on the left site flips s_left (block 2 s_left + s_right).
  const std::vector<Case> cases = {{true, {2, 3, 0, 1}}, {false, {1, 0, 3, 2}}};
  for (const Case& c : cases) {
    MpsState state(2);
    state.ExecuteInstructions(true, prepare);
    const std::vector<Complex> start = state.GetAmplitudes(index_of_block);
    const uint64_t first = c.first_on_left ? 0 : 1;
    state.ExecuteInstructions(true, {TwoQubitRecord(GateId::kCU, x_first, first, 1 - first)});
    const std::vector<Complex> after = state.GetAmplitudes(index_of_block);
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(std::abs(after[i] - start[c.source_of_block[i]]), 0.0, 1e-12) << i;
    }
  }
}

TEST(ExecuteInstructionsTest, FixedGatesActWithoutArithmetic) {
  MpsState state(1);
  state.ExecuteInstructions(true, {X(0)});
  // The blocks were exchanged, not computed.
  EXPECT_EQ(state.sites()[0].blocks[0](0, 0), Complex(0.0));
  EXPECT_EQ(state.sites()[0].blocks[1](0, 0), Complex(1.0));

  const GateMatrixConstants& g = Constants();
  // h t tdg h returns to 0; s twice is z.
  MpsState back(1);
  back.ExecuteInstructions(true, {H(0), OneQubitRecord(GateId::kT, g.MatrixT, 0),
                                  OneQubitRecord(GateId::kTdg, g.MatrixTdg, 0), H(0)});
  EXPECT_NEAR(std::abs(back.GetAmplitudes({0})[0] - 1.0), 0.0, 1e-15);

  MpsState ss(1), z(1);
  ss.ExecuteInstructions(true, {H(0), OneQubitRecord(GateId::kS, g.MatrixS, 0), OneQubitRecord(GateId::kS, g.MatrixS, 0)});
  z.ExecuteInstructions(true, {H(0), OneQubitRecord(GateId::kZ, g.MatrixZ, 0)});
  EXPECT_LT(std::abs(ss.GetAmplitudes({1})[0] - z.GetAmplitudes({1})[0]), 1e-15);
}

TEST(ExecuteInstructionsTest, NonFiniteAnglesKeepTheChainIntact) {
  // A NaN or infinite angle makes the amplitudes no numbers: the run must
  // still go through gates on entangled wide bonds, measurements, resets and
  // every readout without losing a bond.
  for (double angle : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    std::mt19937 rng(3);
    GateRecordList records = RandomCircuit(10, 80, rng);
    Eigen::MatrixXcd bad(2, 2);
    bad << std::cos(angle), 0.0, 0.0, std::cos(angle);
    records.push_back(OneQubitRecord(GateId::kRX, bad, 4));
    for (int i = 0; i < 20; ++i) records.push_back(RandomRecord(10, rng, 1));
    records.push_back(ResetRecord(2));
    for (uint64_t q = 0; q < 10; ++q) records.push_back(MeasureRecord(q, q));
    records.push_back(CX(0, 9));
    MpsState state(10);
    state.ExecuteInstructions(true, records);
    for (size_t b = 0; b < state.lambdas().size(); ++b) {
      EXPECT_GE(state.lambdas()[b].size(), 1u) << "bond " << b;
      EXPECT_EQ(state.sites()[b].blocks[0].cols(), static_cast<Eigen::Index>(state.lambdas()[b].size()));
    }
    EXPECT_EQ(state.GetShotBits().size(), 10u);
    EXPECT_EQ(state.GetProbabilities({7, 1, 4}).size(), 8u);
    EXPECT_EQ(state.GetDensityMatrix({3, 0}).rows(), 4);
    EXPECT_EQ(state.GetStateVector().size(), size_t{1} << 10);
  }
}

TEST(ExecuteInstructionsTest, CircuitGateMethodsMatchDense) {
  QuantumCircuit qc(4);
  qc.h(0);
  qc.cx(0, 3);
  qc.cu1(0.7, 3, 1);
  qc.ccx(0, 3, 2);
  qc.cswap(2, 0, 1);
  qc.rzz(0.3, 1, 3);
  qc.iswap(3, 0);
  qc.u(0.3, 0.2, 0.1, 2);
  qc.ecr(1, 2);
  MpsState state(4);
  state.ExecuteInstructions(qc.quiet(), qc.gates());
  ExpectMatchesDense(state, qc.gates());
}

}  // namespace

}  // namespace taviron
