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
    for (int64_t s = 0; s < n; ++s) EXPECT_EQ(state.site_to_qubit[static_cast<size_t>(s)], s);
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

}  // namespace

}  // namespace taviron
