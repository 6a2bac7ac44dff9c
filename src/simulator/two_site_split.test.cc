#include "simulator/two_site_split.h"

#include <gtest/gtest.h>

#include <Eigen/SVD>

#include <cmath>
#include <random>

#include "simulator/testing/divide_and_conquer_failure.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// The two-site tensor of bond dimension 1 with the blocks b0 .. b3 (block
// 2 * s_left + s_right), laid out as the split takes it.
MatrixXcd TwoSite(Complex b0, Complex b1, Complex b2, Complex b3) {
  MatrixXcd m(2, 2);
  m << b0, b1, b2, b3;
  return m;
}

// M rebuilt from a split: row s_left * Dl + l, column s_right * Dr + r.
MatrixXcd Rebuild(const QubitTensor& left, const std::vector<double>& lambda, const QubitTensor& right) {
  const Eigen::Index dl = left.blocks[0].rows();
  const Eigen::Index dr = right.blocks[0].cols();
  Eigen::VectorXd s = Eigen::Map<const Eigen::VectorXd>(lambda.data(), static_cast<Eigen::Index>(lambda.size()));
  MatrixXcd m(2 * dl, 2 * dr);
  for (int sl = 0; sl < 2; ++sl) {
    for (int sr = 0; sr < 2; ++sr) {
      m.block(sl * dl, sr * dr, dl, dr) =
          left.blocks[sl] * s.cast<Complex>().asDiagonal() * right.blocks[sr];
    }
  }
  return m;
}

TEST(TwoSiteSplitTest, ProductOfZerosKeepsOneUnitValue) {
  QubitTensor left, right;
  std::vector<double> lambda;
  SplitTwoSiteMatrix(TwoSite(1.0, 0.0, 0.0, 0.0), 1, 1, left, lambda, right);
  ASSERT_EQ(lambda.size(), 1u);
  EXPECT_EQ(lambda[0], 1.0);  // exactly {1.0}, which the scaling recognises
  EXPECT_NEAR(std::abs(left.blocks[0](0, 0)), 1.0, 1e-15);
  EXPECT_EQ(left.blocks[1](0, 0), Complex(0.0));
  EXPECT_NEAR(std::abs(right.blocks[0](0, 0)), 1.0, 1e-15);
  EXPECT_EQ(right.blocks[1](0, 0), Complex(0.0));
  EXPECT_NEAR(std::abs(left.blocks[0](0, 0) * right.blocks[0](0, 0) - 1.0), 0.0, 1e-15);
}

TEST(TwoSiteSplitTest, BellPairHasTwoEqualSchmidtValues) {
  const double r = 0.7071067811865476;
  QubitTensor left, right;
  std::vector<double> lambda;
  SplitTwoSiteMatrix(TwoSite(r, 0.0, 0.0, r), 1, 1, left, lambda, right);
  ASSERT_EQ(lambda.size(), 2u);
  EXPECT_NEAR(lambda[0], r, 1e-15);
  EXPECT_NEAR(lambda[1], r, 1e-15);
  ASSERT_EQ(left.blocks[0].cols(), 2);
  ASSERT_EQ(right.blocks[0].rows(), 2);
}

TEST(TwoSiteSplitTest, CountSignificantIsStrict) {
  // 1e-4 squared is 1e-8 in double arithmetic: not strictly above.
  EXPECT_EQ(1e-4 * 1e-4, 1e-8);
  const std::vector<std::pair<double, int64_t>> cases = {
      {2e-4, 1}, {0.5e-4, 0}, {1e-4, 0}, {std::nextafter(1e-4, 1.0), 1}, {0.0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(CountSignificantSingularValues({c.first}, 1e-8), c.second) << c.first;
  }
  EXPECT_EQ(CountSignificantSingularValues({0.9, 0.3, 2e-4, 1e-4, 1e-9}, 1e-8), 3);
}

TEST(TwoSiteSplitTest, TruncationCutsFactorsAndRenormalises) {
  struct Case {
    std::vector<double> s;
    size_t kept;
    bool renormalised;
  };
  const double a = std::sqrt(0.999999 - 0.25);
  const double b = std::sqrt(1.0 - 1e-10 - 0.25);
  const std::vector<Case> cases = {
      {{0.8, 0.6, 2e-4}, 3, true},            // 2e-4 survives
      {{0.8, 0.6, 0.5e-4}, 2, true},          // dropped
      {{0.8, 0.6, 1e-4}, 2, true},            // exactly 1e-4: dropped too
      {{0.5, a, 1e-5}, 2, true},              // kept squares sum to 0.999999
      {{0.5, b}, 2, false},                   // sum 1 - 1e-10: left alone
  };
  for (const Case& c : cases) {
    const Eigen::Index m = static_cast<Eigen::Index>(c.s.size());
    MatrixXcd u = MatrixXcd::Random(4, m);
    MatrixXcd v = MatrixXcd::Random(6, m);
    const MatrixXcd u0 = u, v0 = v;
    std::vector<double> s = c.s;
    TruncateSingularValues(u, s, v);
    ASSERT_EQ(s.size(), c.kept);
    const Eigen::Index k = static_cast<Eigen::Index>(c.kept);
    EXPECT_EQ(u, u0.leftCols(k));
    EXPECT_EQ(v, v0.leftCols(k));
    double sum = 0.0;
    for (size_t i = 0; i < c.kept; ++i) sum += c.s[i] * c.s[i];
    for (size_t i = 0; i < c.kept; ++i) {
      if (c.renormalised) {
        EXPECT_DOUBLE_EQ(s[i], c.s[i] / std::sqrt(sum));
      } else {
        EXPECT_EQ(s[i], c.s[i]);
      }
    }
  }
}

TEST(TwoSiteSplitTest, TruncationNeverLeavesAnEmptyBond) {
  // No significant value (amplitudes that are no numbers, or a theta far
  // below norm 1): the leading value and its vectors are kept.
  const double nan = std::nan("");
  struct Case {
    std::vector<double> s;
    bool leading_is_nan;
  };
  const std::vector<Case> cases = {{{nan, nan, nan}, true}, {{5e-5, 1e-5}, false}};
  for (const Case& c : cases) {
    MatrixXcd u = MatrixXcd::Random(4, 3);
    MatrixXcd v = MatrixXcd::Random(4, 3);
    const MatrixXcd u0 = u, v0 = v;
    std::vector<double> s = c.s;
    s.resize(3, 0.0);
    TruncateSingularValues(u, s, v);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(u, u0.leftCols(1));
    EXPECT_EQ(v, v0.leftCols(1));
    if (c.leading_is_nan) {
      EXPECT_TRUE(std::isnan(s[0]));
    } else {
      EXPECT_DOUBLE_EQ(s[0], 1.0);
    }
  }
}

TEST(TwoSiteSplitTest, SmallMatricesSkipLapack) {
  const struct {
    Eigen::Index rows, cols;
    bool lapack;
  } cases[] = {{2, 2, false},   {4, 2, false},   {2, 64, false},  {8, 8, false},  {16, 16, false},
               {32, 32, false}, {64, 32, false}, {32, 64, false}, {34, 34, true}, {66, 32, true},
               {48, 48, true},  {2, 1030, true}, {64, 64, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(UsesLapackSvd(c.rows, c.cols), c.lapack) << c.rows << " x " << c.cols;
  }
}

TEST(TwoSiteSplitTest, BothDecompositionsSplitExactly) {
  std::mt19937 rng(7);
  std::normal_distribution<double> normal;
  // Dl = Dr = 2 (4 x 4, without LAPACK) and Dl = Dr = 17 (34 x 34, LAPACK).
  for (Eigen::Index dl : {Eigen::Index{2}, Eigen::Index{17}}) {
    const Eigen::Index dr = dl;
    ASSERT_EQ(UsesLapackSvd(2 * dl, 2 * dr), dl != 2);
    std::vector<MatrixXcd> blocks(4, MatrixXcd(dl, dr));
    double norm2 = 0.0;
    for (MatrixXcd& b : blocks) {
      for (Eigen::Index i = 0; i < b.size(); ++i) b(i) = Complex(normal(rng), normal(rng));
      norm2 += b.squaredNorm();
    }
    for (MatrixXcd& b : blocks) b /= std::sqrt(norm2);
    MatrixXcd m(2 * dl, 2 * dr);
    m << blocks[0], blocks[1], blocks[2], blocks[3];
    QubitTensor left, right;
    std::vector<double> lambda;
    SplitTwoSiteMatrix(m, dl, dr, left, lambda, right);
    ASSERT_EQ(lambda.size(), static_cast<size_t>(2 * dr));
    EXPECT_TRUE(std::is_sorted(lambda.rbegin(), lambda.rend()));
    EXPECT_EQ(left.blocks[0].rows(), dl);
    EXPECT_EQ(right.blocks[0].cols(), dr);
    EXPECT_LT((Rebuild(left, lambda, right) - m).cwiseAbs().maxCoeff(), 1e-12) << dl;
    // The left factor has orthonormal columns, the right one orthonormal rows.
    MatrixXcd u(2 * dl, left.blocks[0].cols());
    u << left.blocks[0], left.blocks[1];
    EXPECT_LT((u.adjoint() * u - MatrixXcd::Identity(u.cols(), u.cols())).norm(), 1e-12);
  }
}

TEST(TwoSiteSplitTest, SplitsTheMatrixThatEigensDivideAndConquerGotWrong) {
  const Eigen::Index rows = kDivideAndConquerFailureRows;
  const Eigen::Index cols = kDivideAndConquerFailureCols;
  const MatrixXcd m = DivideAndConquerFailureMatrix();
  const Eigen::JacobiSVD<MatrixXcd> exact(m, Eigen::ComputeThinU | Eigen::ComputeThinV);
  QubitTensor left, right;
  std::vector<double> lambda;
  SplitTwoSiteMatrix(m, rows / 2, cols / 2, left, lambda, right);
  ASSERT_FALSE(lambda.empty());
  // The values are the exact ones (up to the renormalisation, 1e-9), and
  // the factors rebuild the matrix up to the values cut off.
  double kept = 0.0;
  double cut = 0.0;
  for (Eigen::Index k = 0; k < exact.singularValues().size(); ++k) {
    const double x = exact.singularValues()[k];
    (k < static_cast<Eigen::Index>(lambda.size()) ? kept : cut) += x * x;
  }
  const double scale = std::sqrt(kept);
  EXPECT_NEAR(lambda[0] * scale, exact.singularValues()[0], 1e-9);
  EXPECT_LT((Rebuild(left, lambda, right) * scale - m).norm(), std::sqrt(cut) + 1e-9);
}

}  // namespace

}  // namespace taviron
