#include "simulator/run_shots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "simulator/shot_thread_pool.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"
#include "simulator/testing/shot_statistics.h"

namespace taviron {

namespace {

struct Shots {
  std::vector<std::string> bits;
  std::unique_ptr<MpsState> state;
};

Shots RunSeeded(int n, const GateRecordList& records, int32_t shots, bool quiet, uint32_t seed,
          const OutputSink& progress = OutputSink()) {
  auto state = std::make_unique<MpsState>(n);
  state->SetUniformDraw(SeededDraws(seed));
  Shots out;
  out.state = RunShots(std::move(state), records, shots, quiet,
                       [&out](std::string bits) { out.bits.push_back(std::move(bits)); }, progress);
  return out;
}

// Ends of circuits over n qubits (n >= 4) whose shots part ways: a gate on
// a measured qubit, a reset, conditions on a bit (one on a bit not yet
// measured, which fails), a composite that measures and resets, and a
// measurement of a qubit that an earlier one entangled.
std::vector<GateRecordList> DynamicTails(int n) {
  const uint64_t last = static_cast<uint64_t>(n - 1);
  return {
      {MeasureRecord(0, 0), H(0), CX(0, 1), MeasureRecord(0, 1), MeasureRecord(1, 2)},
      {MeasureRecord(1, 0), ResetRecord(1), H(1), CX(1, last), MeasureRecord(1, 1),
       MeasureRecord(last, 2)},
      {ConditionOnBit(X(2), 1, 0), MeasureRecord(0, 0), ConditionOnBit(X(2), 0, 1),
       MeasureRecord(2, 1), MeasureRecord(last, 2)},
      {CompositeRecord("c", {MeasureRecord(1, 0), ResetRecord(1)}), CX(0, 1), MeasureRecord(1, 1),
       MeasureRecord(0, 2)},
      {MeasureRecord(last, 3), CX(last, 0), H(last), MeasureRecord(0, 0), MeasureRecord(last, 1)},
  };
}

// Counts of many shots against the exact distribution. The job's seed is
// fixed, and the outcomes of a seed do not depend on the threads.
TEST(RunShotsTest, LoopCountsFollowTheExactProbabilities) {
  for (uint32_t seed = 201; seed <= 203; ++seed) {
    std::mt19937 rng(seed);
    const int n = 5;
    const GateRecordList body = RandomCircuit(n, 20, rng);
    for (const GateRecordList& tail : DynamicTails(n)) {
      const GateRecordList records = Concat(body, tail);
      const Shots shots = RunSeeded(n, records, 4000, true, seed);
      ASSERT_EQ(shots.bits.size(), 4000u);
      SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(tail.size()) + " tail records");
      ExpectExactDistribution(n, records, shots.bits);
    }
  }
}

// Whatever the path (the threads' loop, one shot, progress printed, or
// sampling), the state returned is the one that the last shot left: with
// every qubit measured last, the basis state of the last bit string.
TEST(RunShotsTest, EveryPathReturnsTheLastShotsState) {
  const int n = 5;
  std::mt19937 rng(7);
  const GateRecordList body = RandomCircuit(n, 20, rng);
  const auto measure_all = [n] {
    GateRecordList records;
    for (uint64_t q = 0; q < static_cast<uint64_t>(n); ++q) records.push_back(MeasureRecord(q, q));
    return records;
  };
  struct Case {
    const char* what;
    GateRecordList records;
    int32_t shots;
    bool quiet;
  };
  const Case cases[] = {
      {"threads' loop", Concat(Concat(body, DynamicTails(n)[1]), measure_all()), 300, true},
      {"one shot", Concat(Concat(body, DynamicTails(n)[2]), measure_all()), 1, true},
      {"progress printed", Concat(Concat(body, DynamicTails(n)[3]), measure_all()), 4, false},
      {"sampled", Concat(body, measure_all()), 300, true},
  };
  for (const Case& c : cases) {
    const Shots shots = RunSeeded(n, c.records, c.shots, c.quiet, 11);
    ASSERT_EQ(shots.bits.size(), static_cast<size_t>(c.shots)) << c.what;
    const std::string& last = shots.bits.back();
    ASSERT_EQ(last.size(), static_cast<size_t>(n)) << c.what;
    const uint64_t index = std::stoull(last, nullptr, 2);
    EXPECT_NEAR(std::abs(shots.state->GetAmplitudes({index})[0]), 1.0, 1e-9) << c.what;
    EXPECT_EQ(shots.state->GetShotBits(), last) << c.what;
    // The records carry the times of a shot.
    EXPECT_GT(c.records.back()->start_time, 0) << c.what;
    EXPECT_GE(c.records.back()->end_time, c.records.back()->start_time) << c.what;
  }
}

TEST(RunShotsTest, ASeedGivesTheSameShotsWhicheverThreadsRunThem) {
  std::mt19937 rng(5);
  const GateRecordList records = Concat(RandomCircuit(6, 30, rng), DynamicTails(6)[0]);
  const Shots first = RunSeeded(6, records, 3000, true, 99);
  const Shots again = RunSeeded(6, records, 3000, true, 99);
  const Shots other = RunSeeded(6, records, 3000, true, 100);
  EXPECT_EQ(first.bits, again.bits);
  EXPECT_NE(first.bits, other.bits);
}

TEST(RunShotsTest, PrintingRunsKeepTheirLinesInShotOrder) {
  const GateRecordList records = {H(0), MeasureRecord(0, 0), ConditionOnBit(X(1), 0, 1),
                                  MeasureRecord(1, 1)};
  std::vector<std::string> lines;
  const Shots shots = RunSeeded(2, records, 3, false, 1, [&lines](const std::string& line) { lines.push_back(line); });
  ASSERT_EQ(shots.bits.size(), 3u);
  std::vector<std::string> expected;
  for (int shot = 0; shot < 3; ++shot) {
    for (const char* line : {"0 of 4, gate: h\n", "1 of 4, gate: measure\n", "2 of 4, gate: x\n",
                             "3 of 4, gate: measure\n"}) {
      expected.push_back(line);
    }
  }
  EXPECT_EQ(lines, expected);
}

TEST(RunShotsTest, NoShotsLeaveTheStateAsMade) {
  const GateRecordList records = {H(0), MeasureRecord(0, 0), ResetRecord(0), X(1)};
  for (int32_t shots : {0, -4}) {
    const Shots run = RunSeeded(2, records, shots, true, 1);
    EXPECT_TRUE(run.bits.empty());
    EXPECT_EQ(run.state->GetAmplitudes({0})[0], std::complex<double>(1.0));
  }
}

// A failure while shots run on the threads reaches the caller once every
// thread has left the job; the shots before it stay handed on.
TEST(RunShotsTest, AFailureEndsTheRunWithItsError) {
  std::mt19937 rng(3);
  const GateRecordList records = Concat(RandomCircuit(5, 20, rng), DynamicTails(5)[1]);
  int handed = 0;
  auto state = std::make_unique<MpsState>(5);
  EXPECT_THROW(RunShots(std::move(state), records, 2000, true,
                        [&handed](std::string) {
                          if (handed == 99) throw std::runtime_error("full");
                          ++handed;
                        }),
               std::runtime_error);
  EXPECT_EQ(handed, 99);
  EXPECT_EQ(ShotThreadPool::Instance().busy(), 0);
}

}  // namespace

}  // namespace taviron
