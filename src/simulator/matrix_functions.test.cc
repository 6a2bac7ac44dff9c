#include "simulator/matrix_functions.h"

#include <gtest/gtest.h>

namespace taviron {

namespace {

using Complex = std::complex<double>;

MatrixXcd Counting(Eigen::Index rows, Eigen::Index cols, double start = 1.0) {
  MatrixXcd m(rows, cols);
  for (Eigen::Index r = 0; r < rows; ++r) {
    for (Eigen::Index c = 0; c < cols; ++c) m(r, c) = Complex(start + r * cols + c, -(r + c));
  }
  return m;
}

TEST(MatrixFunctionsTest, ConjugateAndAdjoint) {
  const MatrixXcd m = Counting(2, 3);
  const MatrixXcd conj = ConjugateMatrix(m);
  const MatrixXcd adj = AdjointMatrix(m);
  ASSERT_EQ(adj.rows(), 3);
  ASSERT_EQ(adj.cols(), 2);
  for (Eigen::Index r = 0; r < 2; ++r) {
    for (Eigen::Index c = 0; c < 3; ++c) {
      EXPECT_EQ(conj(r, c), std::conj(m(r, c)));
      EXPECT_EQ(adj(c, r), std::conj(m(r, c)));
    }
  }
}

TEST(MatrixFunctionsTest, ConcatenateShapesAndFallbacks) {
  const MatrixXcd a = Counting(2, 3);
  const MatrixXcd b = Counting(3, 3, 100.0);
  const MatrixXcd c = Counting(2, 2, 50.0);
  // Side by side needs equal row counts, stacking equal column counts; any
  // other case (or flag) answers a copy of a.
  EXPECT_EQ(ConcatenateMatrices(a, b, 1), a);
  EXPECT_EQ(ConcatenateMatrices(a, c, 0), a);
  EXPECT_EQ(ConcatenateMatrices(a, a, 2), a);

  const MatrixXcd stacked = ConcatenateMatrices(a, b, 0);
  ASSERT_EQ(stacked.rows(), 5);
  ASSERT_EQ(stacked.cols(), 3);
  EXPECT_EQ(stacked.topRows(2), a);
  EXPECT_EQ(stacked.bottomRows(3), b);

  const MatrixXcd wide = ConcatenateMatrices(a, c, 1);
  ASSERT_EQ(wide.cols(), 5);
  EXPECT_EQ(wide.leftCols(3), a);
  EXPECT_EQ(wide.rightCols(2), c);
}

TEST(MatrixFunctionsTest, SplitHalvesOrLeavesOutputsAlone) {
  const MatrixXcd m = Counting(3, 4);
  const MatrixXcd sentinel = Counting(1, 1, -7.0);
  MatrixXcd first = sentinel, second = sentinel;
  SplitMatrix(m, first, second, 0);  // three rows: no halves
  EXPECT_EQ(first, sentinel);
  EXPECT_EQ(second, sentinel);
  SplitMatrix(m, first, second, 5);  // unknown flag
  EXPECT_EQ(first, sentinel);

  SplitMatrix(m, first, second, 1);
  ASSERT_EQ(first.rows(), 3);
  ASSERT_EQ(first.cols(), 2);
  EXPECT_EQ(first, m.leftCols(2));
  EXPECT_EQ(second, m.rightCols(2));

  const MatrixXcd tall = Counting(4, 3);
  SplitMatrix(tall, first, second, 0);
  EXPECT_EQ(first, tall.topRows(2));
  EXPECT_EQ(second, tall.bottomRows(2));
}

TEST(MatrixFunctionsTest, ElementwiseProductStatus) {
  const MatrixXcd a = Counting(2, 2);
  const MatrixXcd b = Counting(2, 3);
  MatrixXcd out = Counting(1, 1, 9.0);
  const MatrixXcd before = out;
  EXPECT_EQ(ElementwiseProduct(a, b, out), static_cast<int32_t>(0x80000014u));
  EXPECT_EQ(ElementwiseProduct(a, b, out), -2147483628);
  EXPECT_EQ(out, before);

  EXPECT_EQ(ElementwiseProduct(a, ConjugateMatrix(a), out), 0);
  for (Eigen::Index i = 0; i < a.size(); ++i) {
    EXPECT_DOUBLE_EQ(out(i).real(), std::norm(a(i)));
    EXPECT_DOUBLE_EQ(out(i).imag(), 0.0);
  }
}

}  // namespace

}  // namespace taviron
