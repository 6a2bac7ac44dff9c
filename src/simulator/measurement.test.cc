// Measure and reset records: outcomes under fixed draws, runs of measure
// records, conditioned measurements, and sampled statistics against the
// exact distribution of the dense reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "circuit/quantum_circuit.h"
#include "simulator/mps_state.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/mps_state_probe.h"
#include "simulator/testing/record_builders.h"
#include "simulator/two_site_split.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// Counts the draws a state takes while returning fixed values.
UniformDrawSource CountedDraws(double value, int& count) {
  return [value, &count]() {
    ++count;
    return value;
  };
}

// A one-qubit rotation about Y: p(1) = sin(theta / 2)^2.
GateRecordPtr Ry(double theta, uint64_t q) {
  Eigen::MatrixXcd m(2, 2);
  m << std::cos(theta / 2), -std::sin(theta / 2), std::sin(theta / 2), std::cos(theta / 2);
  return OneQubitRecord(GateId::kRY, m, q);
}

double AmplitudeOf(const MpsState& state, uint64_t index) {
  return std::abs(state.GetAmplitudes({index})[0]);
}

TEST(MeasurementTest, DrawDecidesAgainstProbabilityOfZero) {
  const double tiny_p1_angle = 2.0 * std::asin(std::sqrt(1e-14));  // p(1) = 1e-14
  const double small_p1_angle = 2.0 * std::asin(std::sqrt(1e-10));  // p(1) = 1e-10
  struct Case {
    const char* name;
    GateRecordList prepare;
    double draw;
    int outcome;
  };
  const std::vector<Case> cases = {
      {"p0 = 0.5, u just below", {H(0)}, 0.5 - 1e-9, 0},
      {"p0 = 0.5, u just above", {H(0)}, 0.5 + 1e-9, 1},
      {"qubit in 0, u near 1", {}, std::nextafter(1.0, 0.0), 0},
      {"qubit in 1, u = 0", {X(0)}, 0.0, 1},
      // Draws outside [0, 1) never pick an outcome of probability 0.
      {"qubit in 0, u = 1", {}, 1.0, 0},
      {"qubit in 0, u above 1", {}, 7.5, 0},
      {"qubit in 1, u below 0", {X(0)}, -0.5, 1},
      // A probability at rounding-noise level is never chosen ...
      {"p1 = 1e-14 drawn", {Ry(tiny_p1_angle, 0)}, 1.0 - 1e-15, 0},
      // ... but a small real one is.
      {"p1 = 1e-10 drawn", {Ry(small_p1_angle, 0)}, 1.0 - 1e-11, 1},
  };
  for (const Case& c : cases) {
    MpsState state(2);
    state.SetUniformDraw(FixedDraws({c.draw}));
    GateRecordList records = c.prepare;
    records.push_back(MeasureRecord(0, 0));
    state.ExecuteInstructions(true, records);
    EXPECT_EQ(state.classical_values()[0], c.outcome) << c.name;
    // The state is the collapsed basis state with norm 1.
    EXPECT_NEAR(AmplitudeOf(state, static_cast<uint64_t>(c.outcome)), 1.0, 1e-12) << c.name;
  }
}

TEST(MeasurementTest, DrawIsMappedOntoTheStateBounds) {
  MpsState state(1);
  state.ExecuteInstructions(true, {H(0)});
  MpsStateProbe::SetDrawBounds(state, 0.4, 0.6);
  state.SetUniformDraw(FixedDraws({0.4}));  // u = 0.48 < p0 = 0.5
  state.ExecuteInstructions(true, {MeasureRecord(0, 0)});
  EXPECT_EQ(state.classical_values()[0], 0);
}

TEST(MeasurementTest, BellPairRunAgreesInEveryShot) {
  const GateRecordList records = {H(0), CX(0, 1), MeasureRecord(0, 0), MeasureRecord(1, 1)};
  MpsState state(2);
  state.SetUniformDraw(SeededDraws(2024));
  const int shots = 4000;
  int ones = 0;
  for (int shot = 0; shot < shots; ++shot) {
    state.Reset();
    state.ExecuteInstructions(true, records);
    const std::string bits = state.GetShotBits();
    ASSERT_TRUE(bits == "00" || bits == "11") << bits;
    ones += bits == "11";
  }
  EXPECT_LE(std::abs(ones - shots / 2), 5.0 * std::sqrt(shots * 0.25));
}

TEST(MeasurementTest, RunsStoreOutcomesAtTheirBits) {
  // qubit 0 into bit 1: bit 0 stays unmeasured and the shot has one bit.
  MpsState a(2);
  a.ExecuteInstructions(true, {X(0), MeasureRecord(0, 1)});
  EXPECT_EQ(a.classical_values(), (std::vector<int64_t>{-1, 1}));
  EXPECT_EQ(a.GetShotBits(), "1");

  // The same qubit twice in one run: one draw, both bits get its outcome.
  MpsState b(2);
  int draws = 0;
  b.SetUniformDraw(CountedDraws(0.9, draws));
  const GateRecordList run = {H(0), MeasureRecord(0, 0), MeasureRecord(0, 1)};
  b.ExecuteInstructions(true, run);
  EXPECT_EQ(draws, 1);
  EXPECT_EQ(b.classical_values(), (std::vector<int64_t>{1, 1}));
  EXPECT_GE(run[2]->start_time, run[1]->start_time);
  EXPECT_EQ(run[1]->end_time > 0, true);

  // A later record of a run overwrites an earlier one naming the same bit.
  MpsState c(2);
  c.ExecuteInstructions(true, {X(1), MeasureRecord(0, 0), MeasureRecord(1, 0)});
  EXPECT_EQ(c.classical_values()[0], 1);
}

TEST(MeasurementTest, ConditionedMeasureIsTestedAfterTheRunBeforeIt) {
  // Each case ends with a run of measure records followed directly by a
  // conditioned measure whose condition holds before the run's outcomes are
  // stored and fails after them (or the other way round). It must be tested
  // after them.
  auto register_of_bit0 = std::make_shared<ClassicalRegister>(1, "flag");
  register_of_bit0->first_index = 0;
  GateRecordPtr on_register = MeasureRecord(2, 2);
  on_register->conditioned = true;
  on_register->condition_on_clbit = false;
  on_register->condition_register = register_of_bit0;
  on_register->condition_value = 0;
  struct Case {
    const char* name;
    GateRecordList records;
    std::vector<int64_t> expected;
  };
  const std::vector<Case> cases = {
      {"stale bit: bit 0 was 0, the run makes it 1",
       {MeasureRecord(1, 0), X(0), X(2), MeasureRecord(0, 0), ConditionOnBit(MeasureRecord(2, 2), 0, 0)},
       {1, -1, -1}},
      {"register value 0 on an unmeasured bit, the run sets it",
       {X(0), X(2), MeasureRecord(0, 0), on_register},
       {1, -1, -1}},
      {"condition on an unmeasured bit that the run sets",
       {X(0), X(2), MeasureRecord(0, 0), ConditionOnBit(MeasureRecord(2, 2), 0, 1)},
       {1, -1, 1}},
      {"condition failing after the run",
       {X(2), MeasureRecord(0, 0), ConditionOnBit(MeasureRecord(2, 2), 0, 1), MeasureRecord(1, 1)},
       {0, 0, -1}},
  };
  for (const Case& c : cases) {
    MpsState state(3);
    state.ExecuteInstructions(true, c.records);
    EXPECT_EQ(state.classical_values(), c.expected) << c.name;
  }
}

TEST(MeasurementTest, ResetLeavesZeroAndTheClassicalValues) {
  MpsState one(2);
  one.ExecuteInstructions(true, {X(1), MeasureRecord(1, 0), ResetRecord(1)});
  EXPECT_EQ(one.classical_values(), (std::vector<int64_t>{1, -1}));
  EXPECT_NEAR(AmplitudeOf(one, 0), 1.0, 1e-15);

  // Reset of one qubit of a Bell pair leaves the other in the outcome drawn;
  // the permuted chain is brought back to natural order first.
  for (double draw : {0.2, 0.8}) {
    MpsState pair(3);
    pair.SetUniformDraw(FixedDraws({draw}));
    pair.ExecuteInstructions(true, {H(0), CX(0, 2), ResetRecord(0)});
    EXPECT_EQ(pair.site_to_qubit(), (std::vector<int64_t>{0, 1, 2}));
    const uint64_t other = draw < 0.5 ? 0 : 4;  // qubit 2 keeps the outcome
    EXPECT_NEAR(AmplitudeOf(pair, other), 1.0, 1e-12) << draw;
    EXPECT_EQ(pair.classical_values(), (std::vector<int64_t>(3, -1)));
  }
}

TEST(MeasurementTest, RepairStopsAtABondOfDimensionOne) {
  // A Bell pair on qubits 0 and 1, qubit 2 unentangled: measuring qubit 2
  // (the last site) finds bond 1 of dimension 1 and re-splits nothing, so
  // the pair's sites and Schmidt values stay exactly as they were.
  MpsState state(3);
  state.ExecuteInstructions(true, {H(0), CX(0, 1), H(2)});
  const MpsState before = state;
  ASSERT_EQ(state.lambdas()[0].size(), 2u);
  ASSERT_EQ(state.lambdas()[1].size(), 1u);
  state.ExecuteInstructions(true, {MeasureRecord(2, 2)});
  EXPECT_EQ(state.sites()[0].blocks, before.sites()[0].blocks);
  EXPECT_EQ(state.sites()[1].blocks, before.sites()[1].blocks);
  EXPECT_EQ(state.lambdas()[0], before.lambdas()[0]);

  // Measuring qubit 0 collapses the pair; bond 0 is re-split once the
  // orthogonality centre leaves the measured site, and then has dimension 1.
  state.ExecuteInstructions(true, {MeasureRecord(0, 0)});
  state.RestoreCanonicalForm();
  EXPECT_TRUE(state.canonical_form().IsCanonical());
  EXPECT_EQ(state.lambdas()[0].size(), 1u);
}

// Measurements and resets repair the canonical form only as far as they
// break it: on a chain whose entanglement stays local (a product state,
// neighbouring pairs) the decompositions they cost, with gates between them
// at the far ends of the chain, do not grow with the chain's length.
TEST(MeasurementTest, WorkOnALongChainDoesNotGrowWithItsLength) {
  struct Case {
    const char* name;
    GateRecordList (*prepare)(uint64_t n);
    GateRecordList (*measure)(uint64_t n);
  };
  const Case cases[] = {
      {"product state",
       [](uint64_t n) {
         GateRecordList records;
         for (uint64_t q = 0; q < n; ++q) records.push_back(Ry(0.3 + 0.01 * static_cast<double>(q), q));
         return records;
       },
       [](uint64_t n) {
         return GateRecordList{MeasureRecord(n / 2, 0), MeasureRecord(1, 1), ResetRecord(n - 2),
                               MeasureRecord(n / 2, 2), MeasureRecord(0, 3), MeasureRecord(n - 1, 4)};
       }},
      {"neighbouring pairs",
       [](uint64_t n) {
         GateRecordList records;
         for (uint64_t q = 0; q + 1 < n; q += 2) {
           records.push_back(H(q));
           records.push_back(CX(q, q + 1));
         }
         return records;
       },
       [](uint64_t n) {
         return GateRecordList{MeasureRecord(0, 0), CX(n - 2, n - 1), ResetRecord(n - 1),
                               MeasureRecord(n / 2, 1), CX(0, 1), MeasureRecord(1, 2),
                               CX(n / 2 + 1, n / 2), MeasureRecord(n - 2, 3)};
       }},
      // Entangled end to end: the collapse at one end changes the Schmidt
      // values of every bond, but nothing here needs them.
      {"cat state",
       [](uint64_t n) {
         GateRecordList records = {H(0)};
         for (uint64_t q = 0; q + 1 < n; ++q) records.push_back(CX(q, q + 1));
         return records;
       },
       [](uint64_t) {
         return GateRecordList{MeasureRecord(0, 0), ResetRecord(0), H(0), CX(0, 1),
                               MeasureRecord(1, 1), MeasureRecord(0, 2)};
       }},
  };
  for (const Case& c : cases) {
    std::vector<uint64_t> counts;
    for (uint64_t n : {16u, 48u, 96u}) {
      MpsState state(static_cast<int64_t>(n));
      state.SetUniformDraw(SeededDraws(static_cast<uint32_t>(n)));
      state.ExecuteInstructions(true, c.prepare(n));
      const uint64_t before = DecompositionCount();
      state.ExecuteInstructions(true, c.measure(n));
      counts.push_back(DecompositionCount() - before);
    }
    EXPECT_EQ(counts[0], counts[1]) << c.name;
    EXPECT_EQ(counts[0], counts[2]) << c.name;
  }
}

TEST(MeasurementTest, ProbabilityOfZeroUsesTheBondValues) {
  std::mt19937 rng(5);
  const GateRecordList records = RandomCircuit(5, 30, rng);
  MpsState state(5);
  state.ExecuteInstructions(true, records);
  DenseReference ref(5);
  RunUnitaryOnDense(ref, records);
  for (int64_t site = 0; site < 5; ++site) {
    const int q = static_cast<int>(state.site_to_qubit()[static_cast<size_t>(site)]);
    EXPECT_NEAR(state.ProbabilityOfZero(site), ref.ProbabilityOf(q, 0), 1e-12);
  }
}

// Sampled shot strings against the exact distribution: every string within
// five standard deviations of its expected count, strings of probability 0
// never seen. The draws come from a fixed seed, so the test cannot flake.
void ExpectSampledDistribution(int n, const GateRecordList& records, int shots, UniformDrawSource draws) {
  const std::map<std::string, double> exact = ExactShotDistribution(n, records);
  MpsState state(n);
  state.SetUniformDraw(std::move(draws));
  std::map<std::string, int> counts;
  for (int shot = 0; shot < shots; ++shot) {
    if (shot > 0) state.Reset();
    state.ExecuteInstructions(true, records);
    ++counts[state.GetShotBits()];
  }
  for (const auto& entry : counts) {
    EXPECT_TRUE(exact.count(entry.first)) << "impossible outcome " << entry.first;
  }
  for (const auto& entry : exact) {
    const double p = entry.second;
    const double mean = shots * p;
    // A probability rounded just above 1 must not make the bound NaN.
    const double sigma = std::sqrt(std::max(0.0, shots * p * (1.0 - p)));
    const int count = counts.count(entry.first) ? counts[entry.first] : 0;
    EXPECT_LE(std::abs(count - mean), 5.0 * sigma + 1.0) << entry.first << " p=" << p;
  }
}

TEST(MeasurementTest, MidCircuitStatisticsMatchDenseConditionalProbabilities) {
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    std::mt19937 rng(seed);
    const int n = 3 + static_cast<int>(seed % 3);
    std::uniform_int_distribution<uint64_t> qubit(0, static_cast<uint64_t>(n - 1));
    std::uniform_int_distribution<int> coin(0, 5);
    GateRecordList records;
    for (int i = 0; i < 24; ++i) {
      switch (coin(rng)) {
        case 0:
          records.push_back(MeasureRecord(qubit(rng), qubit(rng)));
          break;
        case 1:
          records.push_back(ResetRecord(qubit(rng)));
          break;
        case 2:
          // Conditioned gates and conditioned measures on earlier outcomes.
          records.push_back(ConditionOnBit(
              coin(rng) < 3 ? RandomRecord(n, rng, 1) : MeasureRecord(qubit(rng), qubit(rng)),
              qubit(rng), static_cast<uint64_t>(coin(rng) % 2)));
          break;
        default:
          records.push_back(RandomRecord(n, rng, 1));
          break;
      }
    }
    for (int q = 0; q < n; ++q) records.push_back(MeasureRecord(static_cast<uint64_t>(q), static_cast<uint64_t>(q)));
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSampledDistribution(n, records, 3000, SeededDraws(seed * 7919));
  }
}

TEST(MeasurementTest, SeededGeneratorSamplesTheDistribution) {
  // The state's own generator (seeded once from the random device and the
  // clocks): a 5-sigma bound on a skewed distribution.
  QuantumCircuit qc(3);
  qc.ry(1.1, 0);
  qc.cx(0, 2);
  qc.h(1);
  qc.measure(0, 0);
  qc.measure(1, 1);
  qc.measure(2, 2);
  MpsState probe(3);
  ExpectSampledDistribution(3, qc.gates(), 4000, MpsStateProbe::UniformDraw(probe));
}

}  // namespace

}  // namespace taviron
