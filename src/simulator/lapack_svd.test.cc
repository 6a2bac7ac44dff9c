#include "simulator/lapack_svd.h"

#include <gtest/gtest.h>

#include <Eigen/QR>
#include <Eigen/SVD>

#include <cmath>
#include <limits>
#include <random>

#include "simulator/testing/divide_and_conquer_failure.h"
#include "simulator/testing/ill_conditioned_matrices.h"
#include "simulator/two_site_split.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;
using Routine = bool (*)(const MatrixXcd&, MatrixXcd&, std::vector<double>&, MatrixXcd&);

struct NamedRoutine {
  const char* name;
  Routine run;
};
const NamedRoutine kRoutines[] = {{"zgesdd then zgesvd", LapackThinSvd},
                                  {"zgesdd", DivideAndConquerSvd},
                                  {"zgesvd", QrIterationSvd}};

void ExpectDecomposes(const MatrixXcd& m, Routine run, const std::string& what) {
  MatrixXcd u, vt;
  std::vector<double> s;
  ASSERT_TRUE(run(m, u, s, vt)) << what;
  const Eigen::Index k = std::min(m.rows(), m.cols());
  ASSERT_EQ(u.rows(), m.rows()) << what;
  ASSERT_EQ(u.cols(), k) << what;
  ASSERT_EQ(vt.rows(), k) << what;
  ASSERT_EQ(vt.cols(), m.cols()) << what;
  ASSERT_EQ(s.size(), static_cast<size_t>(k)) << what;
  const Eigen::JacobiSVD<MatrixXcd> reference(m);
  for (Eigen::Index i = 0; i < k; ++i) {
    EXPECT_NEAR(s[static_cast<size_t>(i)], reference.singularValues()[i], 1e-12) << what << " " << i;
  }
  const Eigen::Map<const Eigen::VectorXd> values(s.data(), k);
  const MatrixXcd rebuilt = u * values.cast<Complex>().asDiagonal() * vt;
  EXPECT_LT((rebuilt - m).norm(), 1e-12 * std::max(1.0, m.norm())) << what;
  EXPECT_LT((u.adjoint() * u - MatrixXcd::Identity(k, k)).norm(), 1e-12) << what;
  EXPECT_LT((vt * vt.adjoint() - MatrixXcd::Identity(k, k)).norm(), 1e-12) << what;
}

TEST(LapackSvdTest, DecomposesTheMatrixThatEigensDivideAndConquerGotWrong) {
  const MatrixXcd m = DivideAndConquerFailureMatrix();
  for (const NamedRoutine& routine : kRoutines) ExpectDecomposes(m, routine.run, routine.name);
}

TEST(LapackSvdTest, DecomposesIllConditionedMatrices) {
  std::mt19937 rng(2024);
  const std::pair<Eigen::Index, Eigen::Index> shapes[] = {{16, 16}, {32, 16}, {12, 40}, {64, 64}};
  for (const auto& shape : shapes) {
    for (const std::vector<double>& spectrum : IllConditionedSpectra()) {
      const MatrixXcd m = WithSingularValues(shape.first, shape.second, spectrum, rng);
      for (const NamedRoutine& routine : kRoutines) {
        ExpectDecomposes(m, routine.run,
                         std::string(routine.name) + " " + std::to_string(shape.first) + "x" +
                             std::to_string(shape.second) + " spectrum of " +
                             std::to_string(spectrum.size()));
      }
    }
  }
}

// The split, through LAPACK (Dl = 20, Dr = 17) and without it (Dl = 12,
// Dr = 10), keeps the same values as one through the Jacobi SVD and leaves
// the same two-site state, to 1e-12.
TEST(LapackSvdTest, SplitKeepsTheValuesAndStateOfTheJacobiSplit) {
  std::mt19937 rng(99);
  const std::pair<Eigen::Index, Eigen::Index> bonds[] = {{20, 17}, {12, 10}};
  ASSERT_TRUE(UsesLapackSvd(2 * bonds[0].first, 2 * bonds[0].second));
  ASSERT_FALSE(UsesLapackSvd(2 * bonds[1].first, 2 * bonds[1].second));
  for (const auto& [dl, dr] : bonds) {
    for (const std::vector<double>& spectrum : IllConditionedSpectra()) {
      const MatrixXcd m = WithSingularValues(2 * dl, 2 * dr, spectrum, rng);
      QubitTensor left, right;
      std::vector<double> lambda;
      SplitTwoSiteMatrix(m, dl, dr, left, lambda, right);

      Eigen::JacobiSVD<MatrixXcd> jacobi(m, Eigen::ComputeThinU | Eigen::ComputeThinV);
      MatrixXcd u = jacobi.matrixU();
      MatrixXcd v = jacobi.matrixV();
      const Eigen::VectorXd& values = jacobi.singularValues();
      std::vector<double> kept(values.data(), values.data() + values.size());
      TruncateSingularValues(u, kept, v);
      ASSERT_EQ(lambda.size(), kept.size());
      for (size_t i = 0; i < kept.size(); ++i) EXPECT_NEAR(lambda[i], kept[i], 1e-12) << i;

      const Eigen::Map<const Eigen::VectorXd> s(lambda.data(), static_cast<Eigen::Index>(lambda.size()));
      MatrixXcd ul(2 * dl, s.size()), vr(s.size(), 2 * dr);
      ul << left.blocks[0], left.blocks[1];
      vr << right.blocks[0], right.blocks[1];
      const Eigen::Map<const Eigen::VectorXd> sk(kept.data(), static_cast<Eigen::Index>(kept.size()));
      const MatrixXcd expected = u * sk.cast<Complex>().asDiagonal() * v.adjoint();
      EXPECT_LT((ul * s.cast<Complex>().asDiagonal() * vr - expected).norm(), 1e-12);
    }
  }
}

TEST(LapackSvdTest, RefusesAMatrixWithoutNumbers) {
  MatrixXcd m = MatrixXcd::Identity(8, 8);
  m(3, 4) = Complex(std::numeric_limits<double>::quiet_NaN(), 0.0);
  MatrixXcd u, vt;
  std::vector<double> s;
  EXPECT_FALSE(LapackThinSvd(m, u, s, vt));
}

}  // namespace

}  // namespace taviron
