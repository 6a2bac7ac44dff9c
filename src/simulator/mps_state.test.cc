#include "simulator/mps_state.h"

#include <gtest/gtest.h>

#include <random>

#include "foundation/exceptions.h"
#include "simulator/testing/record_builders.h"
#include "simulator/testing/mps_state_probe.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// The all-zero picture of a new or reset state.
void ExpectAllZeroState(const MpsState& state, int64_t n) {
  ASSERT_EQ(state.qubit_count(), n);
  ASSERT_EQ(state.sites().size(), static_cast<size_t>(n));
  ASSERT_EQ(state.lambdas().size(), static_cast<size_t>(n));
  for (int64_t k = 0; k < n; ++k) {
    const QubitTensor& site = state.sites()[static_cast<size_t>(k)];
    ASSERT_EQ(site.blocks.size(), 2u);
    ASSERT_EQ(site.blocks[0].rows(), 1);
    ASSERT_EQ(site.blocks[0].cols(), 1);
    ASSERT_EQ(site.blocks[1].rows(), 1);
    ASSERT_EQ(site.blocks[1].cols(), 1);
    EXPECT_EQ(site.blocks[0](0, 0), Complex(1.0));
    EXPECT_EQ(site.blocks[1](0, 0), Complex(0.0));
    EXPECT_EQ(state.lambdas()[static_cast<size_t>(k)], std::vector<double>{1.0});
    EXPECT_EQ(state.site_to_qubit()[static_cast<size_t>(k)], k);
    EXPECT_EQ(state.qubit_to_site()[static_cast<size_t>(k)], k);
  }
  EXPECT_EQ(state.classical_values(), std::vector<int64_t>(static_cast<size_t>(n), -1));
  EXPECT_EQ(MpsStateProbe::LowerBound(state), 0.0);
  EXPECT_EQ(MpsStateProbe::UpperBound(state), 1.0);
}

TEST(MpsStateTest, NewStateIsAllZero) {
  for (int64_t n : {1, 2, 7, 100}) {
    MpsState state(n);
    ExpectAllZeroState(state, n);
  }
}

TEST(MpsStateTest, RefusesAnEmptyChain) {
  EXPECT_THROW(MpsState(0), RunTimeError);
  EXPECT_THROW(MpsState(-3), RunTimeError);
}

TEST(MpsStateTest, ResetRestoresTheAllZeroPicture) {
  std::mt19937 rng(3);
  GateRecordList records = RandomCircuit(6, 40, rng);
  for (uint64_t q = 0; q < 6; ++q) records.push_back(MeasureRecord(q, q));
  MpsState state(6);
  MpsStateProbe::SetDrawBounds(state, 0.25, 1.0);
  state.ExecuteInstructions(true, records);
  state.Reset();
  ExpectAllZeroState(state, 6);
}

TEST(MpsStateTest, CopiesAreIndependent) {
  MpsState original(3);
  original.ExecuteInstructions(true, {H(0), CX(0, 2)});
  MpsState copy(original);
  copy.ExecuteInstructions(true, {X(1), CX(2, 1), MeasureRecord(0, 0)});
  EXPECT_EQ(original.classical_values(), std::vector<int64_t>(3, -1));
  const std::vector<Complex> amplitudes = original.GetAmplitudes({0, 5});
  EXPECT_NEAR(std::abs(amplitudes[0]), 0.7071067811865476, 1e-15);
  EXPECT_NEAR(std::abs(amplitudes[1]), 0.7071067811865476, 1e-15);
  EXPECT_EQ(copy.classical_values()[1], -1);
  EXPECT_NE(copy.classical_values()[0], -1);
}

TEST(MpsStateTest, SeededDrawsAreUniformOnTheUnitInterval) {
  MpsState state(1);
  double sum = 0.0;
  const int draws = 10000;
  for (int i = 0; i < draws; ++i) {
    const double r = MpsStateProbe::UniformDraw(state)();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    sum += r;
  }
  // Mean 1/2, standard deviation of the mean sqrt(1/12 / draws).
  EXPECT_NEAR(sum / draws, 0.5, 5.0 * std::sqrt(1.0 / 12.0 / draws));
}

}  // namespace

}  // namespace taviron
