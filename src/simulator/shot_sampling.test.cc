#include "simulator/shot_sampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"

namespace taviron {

namespace {

GateRecordPtr Barrier() {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kBarrier;
  return record;
}

// The shot-by-shot loop: reset, the whole list, the shot's bits.
std::vector<std::string> LoopShots(MpsState& state, const GateRecordList& records, int shots) {
  std::vector<std::string> bits;
  for (int shot = 0; shot < shots; ++shot) {
    if (!state.fresh) state.Reset();
    state.fresh = false;
    state.ExecuteInstructions(true, records);
    bits.push_back(state.GetShotBits());
  }
  return bits;
}

GateRecordList Concat(GateRecordList a, const GateRecordList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Measurement tails over n qubits after a random circuit: every qubit in
// one run, a subset into scrambled bits (unmeasured sites between and
// before the measured ones), a qubit measured twice in two runs, two bits
// overwritten by one record each, and gates on other qubits between runs.
std::vector<GateRecordList> MeasurementTails(int n) {
  const uint64_t last = static_cast<uint64_t>(n - 1);
  GateRecordList all;
  for (uint64_t q = 0; q <= last; ++q) all.push_back(MeasureRecord(q, q));
  return {
      all,
      {MeasureRecord(last, 0), MeasureRecord(1, 2), MeasureRecord(last - 1, 1)},
      {MeasureRecord(1, 1), Barrier(), MeasureRecord(1, 0), MeasureRecord(last, 3)},
      {MeasureRecord(0, 1), MeasureRecord(1, 1), MeasureRecord(2, 0)},
      {MeasureRecord(0, 0), H(1), CX(2, last), MeasureRecord(last, 2)},
  };
}

TEST(ShotSamplingTest, SameDrawsGiveTheLoopsBitStringsAndFinalState) {
  int sampled_circuits = 0;
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    const int n = 4 + static_cast<int>(seed % 5);  // 4 .. 8 qubits
    const GateRecordList body = RandomCircuit(n, 10 + 3 * n, rng);
    for (const GateRecordList& tail : MeasurementTails(n)) {
      const GateRecordList records = Concat(body, tail);
      MpsState loop(n);
      loop.uniform_draw = SeededDraws(seed);
      const std::vector<std::string> expected = LoopShots(loop, records, 60);

      MpsState sampled(n);
      sampled.uniform_draw = SeededDraws(seed);
      ASSERT_TRUE(QualifiesForSampling(records, true, n));
      std::vector<std::string> bits;
      if (!RunSampledShots(sampled, records, 60,
                           [&bits](std::string b) { bits.push_back(std::move(b)); })) {
        // Runs that would draw out of site order are left to the loop.
        EXPECT_TRUE(bits.empty());
        EXPECT_FALSE(sampled.fresh);
        continue;
      }
      ++sampled_circuits;
      SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(records.size()) + " records");
      EXPECT_EQ(bits, expected);
      // Both end in the state collapsed by the last shot.
      EXPECT_EQ(sampled.classical_values, loop.classical_values);
      std::vector<uint64_t> indices(size_t{1} << n);
      for (size_t i = 0; i < indices.size(); ++i) indices[i] = i;
      const auto a = sampled.GetAmplitudes(indices);
      const auto b = loop.GetAmplitudes(indices);
      for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(std::abs(a[i] - b[i]), 0.0, 1e-10) << i;
    }
  }
  // Most of the circuits take the sampling path.
  EXPECT_GE(sampled_circuits, 40);
}

TEST(ShotSamplingTest, LaterRunLeftOfAnEarlierOneIsLeftToTheLoop) {
  const GateRecordList records = {H(0), CX(0, 1), MeasureRecord(1, 1), Barrier(), MeasureRecord(0, 0)};
  ASSERT_TRUE(QualifiesForSampling(records, true, 2));
  MpsState state(2);
  int appended = 0;
  EXPECT_FALSE(RunSampledShots(state, records, 10, [&appended](std::string) { ++appended; }));
  EXPECT_EQ(appended, 0);
  EXPECT_FALSE(state.fresh);
}

// Counts of many sampled shots against the exact distribution: every
// outcome within 5 standard deviations (the draws are seeded, so the test
// gives the same counts on every run), none of probability 0.
TEST(ShotSamplingTest, CountsFollowTheExactProbabilities) {
  const int shots = 20000;
  int sampled_circuits = 0;
  for (uint32_t seed = 101; seed <= 104; ++seed) {
    std::mt19937 rng(seed);
    const int n = 6;
    const GateRecordList body = RandomCircuit(n, 30, rng);
    for (const GateRecordList& tail : MeasurementTails(n)) {
      const GateRecordList records = Concat(body, tail);
      MpsState state(n);
      state.uniform_draw = SeededDraws(seed);
      std::map<std::string, int> counts;
      if (!RunSampledShots(state, records, shots,
                           [&counts](std::string b) { ++counts[b]; })) {
        continue;
      }
      ++sampled_circuits;
      const std::map<std::string, double> exact = ExactShotDistribution(n, records);
      for (const auto& entry : counts) {
        EXPECT_TRUE(exact.count(entry.first)) << entry.first << " cannot occur";
      }
      for (const auto& entry : exact) {
        const double p = entry.second;
        const double expected = shots * p;
        const double sigma = std::sqrt(shots * p * (1.0 - p));
        const auto found = counts.find(entry.first);
        const int count = found == counts.end() ? 0 : found->second;
        EXPECT_LE(std::abs(count - expected), 5.0 * sigma + 1.0)
            << entry.first << ": p " << p << ", seed " << seed;
      }
    }
  }
  EXPECT_GE(sampled_circuits, 12);
}

TEST(ShotSamplingTest, QualifyingRule) {
  const GateRecordList bell = {H(0), CX(0, 1)};
  const GateRecordList measured = {MeasureRecord(0, 0), MeasureRecord(1, 1)};
  struct Case {
    const char* what;
    GateRecordList records;
    bool quiet;
    bool qualifies;
  };
  const Case cases[] = {
      {"measured at the end", Concat(bell, measured), true, true},
      {"no measurement", bell, true, true},
      {"progress lines printed", Concat(bell, measured), false, false},
      {"conditioned gate", Concat({H(0), ConditionOnBit(X(1), 0, 1)}, measured), true, false},
      {"conditioned measurement",
       Concat(bell, {MeasureRecord(0, 0), ConditionOnBit(MeasureRecord(1, 1), 0, 1)}), true, false},
      {"reset before the measurements", Concat({H(0), ResetRecord(1)}, measured), true, false},
      {"reset inside a composite",
       Concat({CompositeRecord("c", {H(0), ResetRecord(1)})}, measured), true, false},
      {"measurement inside a composite",
       {H(0), CompositeRecord("c", {MeasureRecord(0, 0)})}, true, false},
      {"gate after the measurement of its qubit",
       {H(0), MeasureRecord(0, 0), X(0), MeasureRecord(1, 1)}, true, false},
      {"composite touching a measured qubit",
       {H(1), MeasureRecord(0, 0), CompositeRecord("c", {H(1), CX(1, 0)})}, true, false},
      {"gate on another qubit between measurements",
       {H(0), MeasureRecord(0, 0), CX(1, 2), MeasureRecord(2, 1)}, true, true},
      {"measurement of a qubit the state lacks", {H(0), MeasureRecord(5, 0)}, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QualifiesForSampling(c.records, c.quiet, 3), c.qualifies) << c.what;
  }
}

}  // namespace

}  // namespace taviron
