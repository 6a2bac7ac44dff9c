// The engine against the independent dense state-vector reference on random
// circuits of every record kind, with permuted chains.
#include <gtest/gtest.h>

#include <random>

#include "simulator/mps_state.h"
#include "simulator/testing/dense_reference.h"
#include "simulator/testing/record_builders.h"

namespace taviron {

namespace {

constexpr double kTolerance = 1e-10;

std::vector<int64_t> RandomQubitList(int n, size_t k, std::mt19937& rng) {
  std::vector<int64_t> all(static_cast<size_t>(n));
  for (int q = 0; q < n; ++q) all[static_cast<size_t>(q)] = q;
  std::shuffle(all.begin(), all.end(), rng);
  all.resize(k);
  return all;
}

void ExpectNear(const std::vector<std::complex<double>>& actual,
                const std::vector<std::complex<double>>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(std::abs(actual[i] - expected[i]), 0.0, kTolerance) << "index " << i;
  }
}

// Every readout of the engine against the reference, with the chain as the
// circuit left it (permuted) and again after the state vector restored it.
void CompareReadouts(MpsState& state, const DenseReference& ref, std::mt19937& rng) {
  const int n = ref.qubit_count();
  const size_t dim = size_t{1} << n;
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<uint64_t> indices(dim);
    for (size_t i = 0; i < dim; ++i) indices[i] = i;
    ExpectNear(state.GetAmplitudes(indices), ref.amplitudes());

    for (size_t k = 1; k <= static_cast<size_t>(n); ++k) {
      const std::vector<int64_t> qubits = RandomQubitList(n, k, rng);
      const std::vector<double> p = state.GetProbabilities(qubits);
      const std::vector<double> expected = ref.Probabilities(qubits);
      ASSERT_EQ(p.size(), expected.size());
      for (size_t i = 0; i < p.size(); ++i) EXPECT_NEAR(p[i], expected[i], kTolerance);
      if (k <= 4) {
        const Eigen::MatrixXcd rho = state.GetDensityMatrix(qubits);
        const Eigen::MatrixXcd expected_rho = ref.DensityMatrix(qubits);
        EXPECT_LT((rho - expected_rho).cwiseAbs().maxCoeff(), kTolerance);
      }
    }
    ExpectNear(state.GetStateVector(), ref.amplitudes());
    for (int64_t s = 0; s < n; ++s) EXPECT_EQ(state.site_to_qubit()[static_cast<size_t>(s)], s);
  }
}

TEST(DenseAgreementTest, RandomCircuitsOfEveryRecordKind) {
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    std::mt19937 rng(seed);
    const int n = 3 + static_cast<int>(seed % 6);  // 3 .. 8 qubits
    const GateRecordList records = RandomCircuit(n, 12 + 4 * n, rng);
    MpsState state(n);
    state.ExecuteInstructions(true, records);
    DenseReference ref(n);
    RunUnitaryOnDense(ref, records);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(n) + " qubits");
    CompareReadouts(state, ref, rng);
  }
}

// Records with measurements, resets and conditions, run one at a time on the
// engine and mirrored on the reference with the same draws: the engine's
// state after each record (its orthogonality centre left wherever the
// record put it) is the collapsed reference state.
TEST(DenseAgreementTest, MidCircuitMeasurementsLeaveTheCollapsedState) {
  for (uint32_t seed = 1; seed <= 16; ++seed) {
    std::mt19937 rng(seed);
    const int n = 4 + static_cast<int>(seed % 5);  // 4 .. 8 qubits
    std::uniform_int_distribution<uint64_t> qubit(0, static_cast<uint64_t>(n - 1));
    std::uniform_int_distribution<int> coin(0, 6);
    std::vector<double> draws;
    MpsState state(n);
    state.SetUniformDraw([generator = std::mt19937(seed), &draws]() mutable {
      draws.push_back(std::uniform_real_distribution<double>(0.0, 1.0)(generator));
      return draws.back();
    });
    DenseReference ref(n);
    std::vector<int64_t> classical(static_cast<size_t>(n), -1);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(n) + " qubits");
    for (int i = 0; i < 40; ++i) {
      const int kind = coin(rng);
      GateRecordPtr record = kind == 0   ? MeasureRecord(qubit(rng), qubit(rng))
                             : kind == 1 ? ResetRecord(qubit(rng))
                                         : RandomRecord(n, rng);
      if (coin(rng) == 0) record = ConditionOnBit(record, qubit(rng), static_cast<uint64_t>(coin(rng) % 2));
      const size_t draws_before = draws.size();
      state.ExecuteInstructions(true, {record});

      if (!dense_reference_detail::ReferenceConditionHolds(*record, classical)) continue;
      if (record->gate_type != GateId::kMeasure && record->gate_type != GateId::kReset) {
        RunUnitaryOnDense(ref, {record});
      } else {
        ASSERT_EQ(draws.size(), draws_before + 1);
        const int q = static_cast<int>(record->qubits[0]);
        const double p0 = ref.ProbabilityOf(q, 0);
        int outcome = p0 > draws.back() ? 0 : 1;
        if (outcome == 0 && p0 <= kNegligibleOutcomeProbability) outcome = 1;
        if (outcome == 1 && ref.ProbabilityOf(q, 1) <= kNegligibleOutcomeProbability) outcome = 0;
        ref.Collapse(q, outcome);
        if (record->gate_type == GateId::kMeasure) {
          classical[record->clbits[0]] = outcome;
        } else if (outcome == 1) {
          ref.Flip(q);
        }
      }
      ASSERT_EQ(state.classical_values(), classical) << "record " << i;
      for (int64_t q = 0; q < n; ++q) {
        EXPECT_NEAR(state.GetProbabilities({q})[1], ref.ProbabilityOf(static_cast<int>(q), 1), kTolerance)
            << "record " << i << ", qubit " << q;
      }
    }
    CompareReadouts(state, ref, rng);
  }
}

}  // namespace

}  // namespace taviron
