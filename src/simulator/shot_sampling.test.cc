#include "simulator/shot_sampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"
#include "simulator/testing/shot_statistics.h"

namespace taviron {

namespace {

GateRecordPtr Barrier(std::vector<uint64_t> qubits = {}) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kBarrier;
  record->qubits = std::move(qubits);
  return record;
}

// Measurement tails over n qubits after a random circuit: every qubit in
// one run, a subset into scrambled bits (unmeasured sites between and
// before the measured ones), a qubit measured twice in two runs, two bits
// overwritten by one record each, gates on other qubits between runs, runs
// that go down the chain, a measurement half way whose neighbours are
// entangled afterwards, and measurements inside a composite.
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
      {MeasureRecord(last, 0), Barrier(), MeasureRecord(2, 1), Barrier(), MeasureRecord(0, 2)},
      {MeasureRecord(1, 1), Barrier(), CX(0, 2), H(2), CX(2, last), MeasureRecord(2, 2),
       MeasureRecord(0, 0)},
      {CompositeRecord("m", {MeasureRecord(last, 1), H(0), MeasureRecord(1, 0)}),
       MeasureRecord(0, 2)},
  };
}

// Calls visit on every record of a list in the order it runs, composite
// bodies entered.
void VisitLeaves(const GateRecordList& records, const std::function<void(const GateRecord&)>& visit) {
  for (const GateRecordPtr& record : records) {
    if (record->gate_type == GateId::kComposite) {
      VisitLeaves(record->body, visit);
    } else {
      visit(*record);
    }
  }
}

// The last shot measures the state itself: its bit string is read from the
// classical values, and the state is the gates' state collapsed onto the
// outcomes (compared where every record names a bit of its own, so that the
// classical values tell every outcome).
TEST(ShotSamplingTest, TheLastShotLeavesItsCollapsedState) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    const int n = 4 + static_cast<int>(seed % 4);  // 4 .. 7 qubits
    const GateRecordList body = RandomCircuit(n, 10 + 3 * n, rng);
    for (const GateRecordList& tail : MeasurementTails(n)) {
      const GateRecordList records = Concat(body, tail);
      ASSERT_TRUE(QualifiesForSampling(records, n));
      MpsState state(n);
      state.SetUniformDraw(SeededDraws(seed));
      std::vector<std::string> bits;
      RunSampledShots(state, records, 20, [&bits](std::string b) { bits.push_back(std::move(b)); });
      ASSERT_EQ(bits.size(), 20u);
      EXPECT_EQ(bits.back(), state.GetShotBits());

      std::map<uint64_t, int> writes;
      DenseReference dense(n);
      std::vector<std::pair<int, int>> outcomes;
      VisitLeaves(records, [&](const GateRecord& record) {
        if (record.gate_type != GateId::kMeasure) {
          ApplyRecordToDense(dense, record);
          return;
        }
        ++writes[record.clbits[0]];
        outcomes.push_back({static_cast<int>(record.qubits[0]),
                            static_cast<int>(state.classical_values()[record.clbits[0]])});
      });
      if (std::any_of(writes.begin(), writes.end(), [](const auto& w) { return w.second > 1; })) {
        continue;
      }
      for (const auto& outcome : outcomes) dense.Collapse(outcome.first, outcome.second);
      std::vector<uint64_t> indices(size_t{1} << n);
      for (size_t i = 0; i < indices.size(); ++i) indices[i] = i;
      const auto amplitudes = state.GetAmplitudes(indices);
      for (size_t i = 0; i < amplitudes.size(); ++i) {
        EXPECT_NEAR(std::abs(amplitudes[i] - dense.amplitudes()[i]), 0.0, 1e-9)
            << "seed " << seed << ", index " << i;
      }
    }
  }
}

// Counts of many sampled shots against the exact distribution.
TEST(ShotSamplingTest, CountsFollowTheExactProbabilities) {
  const int shots = 20000;
  for (uint32_t seed = 101; seed <= 104; ++seed) {
    std::mt19937 rng(seed);
    const int n = 6;
    const GateRecordList body = RandomCircuit(n, 30, rng);
    for (const GateRecordList& tail : MeasurementTails(n)) {
      const GateRecordList records = Concat(body, tail);
      MpsState state(n);
      state.SetUniformDraw(SeededDraws(seed));
      std::vector<std::string> bits;
      RunSampledShots(state, records, shots, [&bits](std::string b) { bits.push_back(std::move(b)); });
      SCOPED_TRACE("seed " + std::to_string(seed));
      ExpectExactDistribution(n, records, bits);
    }
  }
}

TEST(ShotSamplingTest, QualifyingRule) {
  const GateRecordList bell = {H(0), CX(0, 1)};
  const GateRecordList measured = {MeasureRecord(0, 0), MeasureRecord(1, 1)};
  struct Case {
    const char* what;
    GateRecordList records;
    bool qualifies;
  };
  const Case cases[] = {
      {"measured at the end", Concat(bell, measured), true},
      {"measured down the chain", {H(0), CX(0, 2), MeasureRecord(2, 0), Barrier(), MeasureRecord(0, 1)},
       true},
      {"no measurement", bell, true},
      {"conditioned gate", Concat({H(0), ConditionOnBit(X(1), 0, 1)}, measured), false},
      {"conditioned measurement",
       Concat(bell, {MeasureRecord(0, 0), ConditionOnBit(MeasureRecord(1, 1), 0, 1)}), false},
      {"reset before the measurements", Concat({H(0), ResetRecord(1)}, measured), false},
      {"reset inside a composite", Concat({CompositeRecord("c", {H(0), ResetRecord(1)})}, measured),
       false},
      {"measurement inside a composite", {H(0), CompositeRecord("c", {MeasureRecord(0, 0)})}, true},
      {"gate after the measurement of its qubit",
       {H(0), MeasureRecord(0, 0), X(0), MeasureRecord(1, 1)}, false},
      {"gate after a measurement inside a composite",
       {H(0), CompositeRecord("c", {MeasureRecord(0, 0)}), CX(1, 0)}, false},
      {"composite touching a measured qubit",
       {H(1), MeasureRecord(0, 0), CompositeRecord("c", {H(1), CX(1, 0)})}, false},
      {"barrier over a measured qubit", {H(0), MeasureRecord(0, 0), Barrier({0, 1}), MeasureRecord(1, 1)},
       true},
      {"gate on another qubit between measurements",
       {H(0), MeasureRecord(0, 0), CX(1, 2), MeasureRecord(2, 1)}, true},
      {"measurement of a qubit the state lacks", {H(0), MeasureRecord(5, 0)}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QualifiesForSampling(c.records, 3), c.qualifies) << c.what;
  }
}

}  // namespace

}  // namespace taviron
