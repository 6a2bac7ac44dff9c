#include "simulator/small_svd.h"

#include <gtest/gtest.h>

#include <Eigen/QR>
#include <Eigen/SVD>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "simulator/testing/divide_and_conquer_failure.h"
#include "simulator/testing/ill_conditioned_matrices.h"
#include "simulator/two_site_split.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// The decomposition against Eigen's Jacobi SVD: it rebuilds m, its factors
// are orthonormal, its values are the leading exact ones and those it
// leaves out are negligible, and the kept part of a split (the values
// truncated by the split's rule) is the same to 1e-12.
void ExpectDecomposes(const MatrixXcd& m, const std::string& what) {
  MatrixXcd u, vt;
  std::vector<double> s;
  ASSERT_TRUE(SmallThinSvd(m, u, s, vt)) << what;
  const Eigen::Index k = static_cast<Eigen::Index>(s.size());
  ASSERT_GE(k, 1) << what;
  ASSERT_EQ(u.rows(), m.rows()) << what;
  ASSERT_EQ(u.cols(), k) << what;
  ASSERT_EQ(vt.rows(), k) << what;
  ASSERT_EQ(vt.cols(), m.cols()) << what;
  const Eigen::JacobiSVD<MatrixXcd> exact(m, Eigen::ComputeThinU | Eigen::ComputeThinV);
  const Eigen::VectorXd& values = exact.singularValues();
  for (Eigen::Index i = 0; i < values.size(); ++i) {
    const double mine = i < k ? s[static_cast<size_t>(i)] : 0.0;
    EXPECT_NEAR(mine, values[i], 1e-12) << what << " value " << i;
  }
  const Eigen::Map<const Eigen::VectorXd> mine(s.data(), k);
  EXPECT_LT((u * mine.cast<Complex>().asDiagonal() * vt - m).norm(), 1e-12 * std::max(1.0, m.norm())) << what;
  EXPECT_LT((u.adjoint() * u - MatrixXcd::Identity(k, k)).norm(), 1e-12) << what;
  EXPECT_LT((vt * vt.adjoint() - MatrixXcd::Identity(k, k)).norm(), 1e-12) << what;

  MatrixXcd ku = u, kv = vt.adjoint();
  std::vector<double> kept = s;
  TruncateSingularValues(ku, kept, kv);
  MatrixXcd eu = exact.matrixU(), ev = exact.matrixV();
  std::vector<double> exact_kept(values.data(), values.data() + values.size());
  TruncateSingularValues(eu, exact_kept, ev);
  ASSERT_EQ(kept.size(), exact_kept.size()) << what;
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_NEAR(kept[i], exact_kept[i], 1e-12) << what;
  const Eigen::Map<const Eigen::VectorXd> a(kept.data(), static_cast<Eigen::Index>(kept.size()));
  const Eigen::Map<const Eigen::VectorXd> b(exact_kept.data(), static_cast<Eigen::Index>(exact_kept.size()));
  EXPECT_LT((ku * a.cast<Complex>().asDiagonal() * kv.adjoint() -
             eu * b.cast<Complex>().asDiagonal() * ev.adjoint()).norm(),
            1e-12)
      << what;
}

TEST(SmallSvdTest, DecomposesIllConditionedMatrices) {
  std::mt19937 rng(2024);
  const std::pair<Eigen::Index, Eigen::Index> shapes[] = {{1, 2}, {2, 2}, {4, 2}, {2, 4}, {4, 4}, {8, 8},
                                                          {16, 8}, {8, 16}, {16, 16}, {32, 16}, {12, 40},
                                                          {32, 32}, {64, 64}};
  for (const auto& shape : shapes) {
    for (const std::vector<double>& spectrum : IllConditionedSpectra()) {
      ExpectDecomposes(WithSingularValues(shape.first, shape.second, spectrum, rng),
                       std::to_string(shape.first) + "x" + std::to_string(shape.second) +
                           " spectrum of " + std::to_string(spectrum.size()));
    }
  }
}

TEST(SmallSvdTest, DecomposesTheMatrixThatEigensDivideAndConquerGotWrong) {
  ExpectDecomposes(DivideAndConquerFailureMatrix(), "divide-and-conquer failure");
}

TEST(SmallSvdTest, ZeroMatrixAndMatricesWithoutNumbers) {
  MatrixXcd u, vt;
  std::vector<double> s;
  ASSERT_TRUE(SmallThinSvd(MatrixXcd::Zero(6, 4), u, s, vt));
  EXPECT_EQ(s, std::vector<double>{0.0});
  EXPECT_EQ(u.cols(), 1);
  EXPECT_NEAR(u.norm(), 1.0, 1e-15);
  EXPECT_NEAR(vt.norm(), 1.0, 1e-15);

  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    MatrixXcd m = MatrixXcd::Identity(4, 4);
    m(1, 2) = Complex(0.0, bad);
    EXPECT_FALSE(SmallThinSvd(m, u, s, vt)) << bad;
  }
}

}  // namespace

}  // namespace taviron
