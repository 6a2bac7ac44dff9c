#include <gtest/gtest.h>

#include <random>

#include "foundation/exceptions.h"
#include "simulator/mps_state.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/mps_state_probe.h"
#include "simulator/testing/record_builders.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;
constexpr double kR = 0.7071067811865476;

TEST(StateReadoutsTest, StateVectorBitQIsQubitQ) {
  MpsState state(2);
  state.ExecuteInstructions(true, {H(0)});
  const std::vector<Complex> v = state.GetStateVector();
  ASSERT_EQ(v.size(), 4u);
  const std::vector<double> expected = {kR, kR, 0.0, 0.0};
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(std::abs(v[i] - expected[i]), 0.0, 1e-15);
}

TEST(StateReadoutsTest, ProbabilitiesFollowTheListOrder) {
  MpsState state(2);
  state.ExecuteInstructions(true, {X(0)});
  // Bit 0 of the index is the first listed qubit (1), bit 1 the second (0).
  EXPECT_EQ(state.GetProbabilities({1, 0}), (std::vector<double>{0.0, 0.0, 1.0, 0.0}));
  EXPECT_EQ(state.GetProbabilities({0, 1}), (std::vector<double>{0.0, 1.0, 0.0, 0.0}));
  EXPECT_EQ(state.GetProbabilities({1}), (std::vector<double>{1.0, 0.0}));
}

TEST(StateReadoutsTest, PermutedChainReadoutsAgreeWithTheStateVector) {
  MpsState state(3);
  state.ExecuteInstructions(true, {H(0), CX(0, 2), X(1)});
  ASSERT_EQ(state.site_to_qubit(), (std::vector<int64_t>{0, 2, 1}));
  const MpsState before = state;
  const std::vector<double> p = state.GetProbabilities({0, 1, 2});
  const Eigen::MatrixXcd rho = state.GetDensityMatrix({0, 1, 2});
  const std::vector<Complex> amplitudes = state.GetAmplitudes({0, 1, 2, 3, 4, 5, 6, 7});
  // The readouts above leave the stored chain alone.
  EXPECT_EQ(state.site_to_qubit(), before.site_to_qubit());
  for (size_t s = 0; s < 3; ++s) EXPECT_EQ(state.sites()[s].blocks, before.sites()[s].blocks);

  const std::vector<Complex> v = state.GetStateVector();
  EXPECT_EQ(state.site_to_qubit(), (std::vector<int64_t>{0, 1, 2}));
  EXPECT_EQ(state.qubit_to_site(), (std::vector<int64_t>{0, 1, 2}));
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_NEAR(p[i], std::norm(v[i]), 1e-14);
    EXPECT_NEAR(std::abs(amplitudes[i] - v[i]), 0.0, 1e-14);
    for (size_t j = 0; j < 8; ++j) {
      EXPECT_NEAR(std::abs(rho(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) -
                           v[i] * std::conj(v[j])),
                  0.0, 1e-14);
    }
  }
  EXPECT_NEAR(std::abs(v[2]), kR, 1e-15);  // |010>
  EXPECT_NEAR(std::abs(v[7]), kR, 1e-15);  // |111>
}

TEST(StateReadoutsTest, BellPairDensityMatrices) {
  MpsState state(2);
  state.ExecuteInstructions(true, {H(0), CX(0, 1)});
  const Eigen::MatrixXcd one = state.GetDensityMatrix({0});
  EXPECT_LT((one - 0.5 * Eigen::MatrixXcd::Identity(2, 2)).cwiseAbs().maxCoeff(), 1e-15);
  Eigen::MatrixXcd expected = Eigen::MatrixXcd::Zero(4, 4);
  expected(0, 0) = expected(0, 3) = expected(3, 0) = expected(3, 3) = 0.5;
  EXPECT_LT((state.GetDensityMatrix({0, 1}) - expected).cwiseAbs().maxCoeff(), 1e-15);
}

TEST(StateReadoutsTest, StateVectorRefusesSeventeenQubitsBeforeMoving) {
  MpsState state(17);
  state.ExecuteInstructions(true, {H(0), CX(0, 16)});
  const std::vector<int64_t> chain = state.site_to_qubit();
  try {
    state.GetStateVector();
    FAIL() << "no exception";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), "State Vector is supported only for 16 qubits or less.");
  }
  EXPECT_EQ(state.site_to_qubit(), chain);
  MpsState sixteen(16);
  EXPECT_EQ(sixteen.GetStateVector().size(), size_t{1} << 16);
}

TEST(StateReadoutsTest, ClassicalValueTexts) {
  MpsState three(3);
  MpsStateProbe::ClassicalValues(three) = {1, -1, 0};
  EXPECT_EQ(three.GetClassicalRegister(), "0X1");
  EXPECT_EQ(three.GetShotBits(), "01");
  MpsState four(4);
  MpsStateProbe::ClassicalValues(four) = {1, -1, 0, 7};  // any other value: "-" and no bit
  EXPECT_EQ(four.GetClassicalRegister(), "-0X1");
  EXPECT_EQ(four.GetShotBits(), "01");
  EXPECT_EQ(MpsState(2).GetShotBits(), "");
}

TEST(StateReadoutsTest, AmplitudeIndicesReadAllSixtyFourBits) {
  MpsState fresh(3);
  EXPECT_EQ(fresh.GetAmplitudes({0, 1, 7}), (std::vector<Complex>{1.0, 0.0, 0.0}));

  MpsState state(3);
  state.ExecuteInstructions(true, {X(0), X(2)});  // basis state 5
  const uint64_t high = uint64_t{1} << 40;
  const std::vector<Complex> a =
      state.GetAmplitudes({5, 5 + 8, 5 + high, 5 | (uint64_t{1} << 63), 5 | (uint64_t{1} << 32)});
  EXPECT_EQ(a, (std::vector<Complex>{1.0, 0.0, 0.0, 0.0, 0.0}));

  // A chain longer than 64 qubits: index bits name qubits 0..63, higher
  // qubits read as 0.
  MpsState wide(70);
  wide.ExecuteInstructions(true, {X(63)});
  EXPECT_EQ(wide.GetAmplitudes({uint64_t{1} << 63, 0})[0], Complex(1.0));
  EXPECT_EQ(wide.GetAmplitudes({uint64_t{1} << 63, 0})[1], Complex(0.0));
  wide.ExecuteInstructions(true, {X(65)});
  EXPECT_EQ(wide.GetAmplitudes({uint64_t{1} << 63})[0], Complex(0.0));
}

TEST(StateReadoutsTest, OversizedReadoutsRaiseMemoryAllocError) {
  MpsState state(100);
  std::vector<int64_t> all(100);
  for (int64_t q = 0; q < 100; ++q) all[static_cast<size_t>(q)] = q;
  struct Case {
    size_t qubits;
    bool density;
  };
  // 2^k or 4^k entries that cannot be represented, or that exceed any
  // machine's memory.
  const std::vector<Case> cases = {{100, false}, {100, true}, {64, false}, {63, false},
                                   {62, false},  {48, false}, {40, true},  {32, true}};
  for (const Case& c : cases) {
    const std::vector<int64_t> qubits(all.begin(), all.begin() + static_cast<long>(c.qubits));
    if (c.density) {
      EXPECT_THROW(state.GetDensityMatrix(qubits), MemoryAllocError) << c.qubits;
    } else {
      EXPECT_THROW(state.GetProbabilities(qubits), MemoryAllocError) << c.qubits;
    }
  }
  // Small groups of a wide chain are fine.
  const std::vector<double> p = state.GetProbabilities({99, 3});
  EXPECT_EQ(p, (std::vector<double>{1.0, 0.0, 0.0, 0.0}));
}

TEST(StateReadoutsTest, InvalidQubitListsAreRefused) {
  MpsState state(3);
  for (const std::vector<int64_t>& qubits :
       {std::vector<int64_t>{}, {0, 0}, {3}, {-1}, {2, 1, 2}}) {
    EXPECT_THROW(state.GetProbabilities(qubits), RunTimeError);
    EXPECT_THROW(state.GetDensityMatrix(qubits), RunTimeError);
  }
}

TEST(StateReadoutsTest, CentralizedIndices) {
  struct Case {
    std::vector<int64_t> positions, sorted, run;
  };
  const std::vector<Case> cases = {
      {{7, 2, 4}, {2, 4, 7}, {3, 4, 5}},
      {{1, 6}, {1, 6}, {1, 2}},
      {{5}, {5}, {5}},
      {{0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, 3}},
      {{9, 0, 8, 1}, {0, 1, 8, 9}, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    const CentralizedIndices result = FindCentralizedIndices(c.positions);
    EXPECT_EQ(result.sorted, c.sorted);
    EXPECT_EQ(result.run, c.run);
  }
}

TEST(StateReadoutsTest, CentralizeKeepsRelativeOrder) {
  std::mt19937 rng(17);
  const GateRecordList records = RandomCircuit(7, 30, rng);
  MpsState state(7);
  state.ExecuteInstructions(true, records);
  MpsState moved = state;
  const std::vector<int64_t> sites = {6, 1, 3};
  const std::vector<int64_t> qubits = {state.site_to_qubit()[6], state.site_to_qubit()[1], state.site_to_qubit()[3]};
  const std::vector<int64_t> run = moved.CentralizeQubits(sites);
  EXPECT_EQ(run, (std::vector<int64_t>{2, 3, 4}));
  // Site order of the group is kept: the qubit of site 1, then 3, then 6.
  EXPECT_EQ(moved.site_to_qubit()[2], qubits[1]);
  EXPECT_EQ(moved.site_to_qubit()[3], qubits[2]);
  EXPECT_EQ(moved.site_to_qubit()[4], qubits[0]);
  std::vector<uint64_t> all(128);
  for (uint64_t i = 0; i < 128; ++i) all[i] = i;
  const std::vector<Complex> a = state.GetAmplitudes(all), b = moved.GetAmplitudes(all);
  for (size_t i = 0; i < 128; ++i) EXPECT_NEAR(std::abs(a[i] - b[i]), 0.0, 1e-12);
}

TEST(StateReadoutsTest, RanksAndBasisPermutation) {
  EXPECT_EQ(ComputeRanks({7, 2, 4}), (std::vector<int64_t>{2, 0, 1}));
  // Source digits: ascending positions, smallest most significant (2, 4, 7).
  // Destination digits: list order 7, 2, 4, first most significant.
  std::vector<int64_t> source(8);
  for (int64_t i = 0; i < 8; ++i) source[static_cast<size_t>(i)] = i;
  std::vector<int64_t> destination;
  PermuteBasisIndices(source, {7, 2, 4}, destination);
  for (int64_t i = 0; i < 8; ++i) {
    const int64_t v2 = (i >> 2) & 1, v4 = (i >> 1) & 1, v7 = i & 1;
    EXPECT_EQ(destination[static_cast<size_t>((v7 << 2) | (v2 << 1) | v4)], i);
  }
  std::vector<double> probabilities;
  PermuteBasisProbabilities({0.1, 0.2, 0.3, 0.4}, {1, 0}, probabilities);
  EXPECT_EQ(probabilities, (std::vector<double>{0.1, 0.3, 0.2, 0.4}));
  std::vector<Complex> amplitudes;
  PermuteBasisAmplitudes({1.0, 2.0}, {5}, amplitudes);
  EXPECT_EQ(amplitudes, (std::vector<Complex>{1.0, 2.0}));
}

}  // namespace

}  // namespace taviron
