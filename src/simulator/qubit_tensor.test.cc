#include "simulator/qubit_tensor.h"

#include <gtest/gtest.h>

namespace taviron {

namespace {

using Complex = std::complex<double>;

MatrixXcd Filled(Eigen::Index rows, Eigen::Index cols, double seed) {
  MatrixXcd m(rows, cols);
  for (Eigen::Index i = 0; i < m.size(); ++i) m(i) = Complex(seed + i, 0.5 * seed - i);
  return m;
}

TEST(QubitTensorTest, SiteConstructorAndDeepCopy) {
  QubitTensor site(Complex(1.0, 0.0), Complex(0.0, 2.0));
  ASSERT_EQ(site.blocks.size(), 2u);
  EXPECT_EQ(site.blocks[0](0, 0), Complex(1.0, 0.0));
  EXPECT_EQ(site.blocks[1](0, 0), Complex(0.0, 2.0));

  QubitTensor copy = site;
  copy.blocks[0](0, 0) = 5.0;
  EXPECT_EQ(site.blocks[0](0, 0), Complex(1.0, 0.0));
  copy = copy;  // self-assignment leaves the blocks as they are
  EXPECT_EQ(copy.blocks[0](0, 0), Complex(5.0, 0.0));
}

TEST(QubitTensorTest, ScaleByLambda) {
  const QubitTensor original({Filled(2, 3, 1.0), Filled(2, 3, 10.0)});
  struct Case {
    std::vector<double> lambda;
    LambdaSide side;
    LambdaMode mode;
  };
  const std::vector<Case> cases = {
      {{1.0}, LambdaSide::kRows, LambdaMode::kMultiply},  // recognised, skipped
      {{2.0, 4.0}, LambdaSide::kRows, LambdaMode::kMultiply},
      {{2.0, 4.0}, LambdaSide::kRows, LambdaMode::kDivide},
      {{0.5, 3.0, 8.0}, LambdaSide::kColumns, LambdaMode::kMultiply},
      {{0.5, 3.0, 8.0}, LambdaSide::kColumns, LambdaMode::kDivide},
  };
  for (const Case& c : cases) {
    QubitTensor t = original;
    t.ScaleByLambda(c.lambda, c.side, c.mode);
    for (size_t b = 0; b < 2; ++b) {
      for (Eigen::Index j = 0; j < 2; ++j) {
        for (Eigen::Index k = 0; k < 3; ++k) {
          double f = 1.0;
          if (c.lambda.size() > 1) {
            f = c.lambda[static_cast<size_t>(c.side == LambdaSide::kRows ? j : k)];
            if (c.mode == LambdaMode::kDivide) f = 1.0 / f;
          }
          EXPECT_NEAR(std::abs(t.blocks[b](j, k) - original.blocks[b](j, k) * f), 0.0, 1e-12);
        }
      }
    }
  }
  // A one-element vector other than {1.0} scales: {0.5} halves or doubles.
  QubitTensor site(Complex(2.0, 4.0), Complex(-6.0, 0.0));
  site.ScaleByLambda({0.5}, LambdaSide::kColumns, LambdaMode::kMultiply);
  EXPECT_EQ(site.blocks[0](0, 0), Complex(1.0, 2.0));
  site.ScaleByLambda({0.5}, LambdaSide::kRows, LambdaMode::kDivide);
  EXPECT_EQ(site.blocks[1](0, 0), Complex(-6.0, 0.0));
}

TEST(QubitTensorTest, ContractPairOrdersBlocksLeftValueFirst) {
  const QubitTensor left({Filled(1, 2, 1.0), Filled(1, 2, 3.0)});
  const QubitTensor right({Filled(2, 1, 5.0), Filled(2, 1, 7.0)});
  const std::vector<double> lambda = {0.8, 0.6};
  const QubitTensor pair = QubitTensor::ContractPair(left, lambda, right);
  ASSERT_EQ(pair.blocks.size(), 4u);
  Eigen::MatrixXcd d = Eigen::MatrixXcd::Zero(2, 2);
  d(0, 0) = 0.8;
  d(1, 1) = 0.6;
  for (int s1 = 0; s1 < 2; ++s1) {
    for (int s2 = 0; s2 < 2; ++s2) {
      const MatrixXcd expected = left.blocks[s1] * d * right.blocks[s2];
      EXPECT_LT((pair.blocks[2 * s1 + s2] - expected).norm(), 1e-12);
    }
  }
}

TEST(QubitTensorTest, GateOnBlocksUsesOldBlocksOnly) {
  // Each new block mixes both old ones: the result must not see a block
  // already overwritten.
  QubitTensor t({Filled(2, 2, 1.0), Filled(2, 2, 20.0)});
  const QubitTensor old = t;
  MatrixXcd g(2, 2);
  g << Complex(1, 0), Complex(1, 0), Complex(0, 1), Complex(-1, 0);
  t.ApplyGate(g);
  EXPECT_LT((t.blocks[0] - (old.blocks[0] + old.blocks[1])).norm(), 1e-12);
  EXPECT_LT((t.blocks[1] - (Complex(0, 1) * old.blocks[0] - old.blocks[1])).norm(), 1e-12);

  // A block index list addresses blocks out of order.
  QubitTensor four({Filled(1, 1, 1.0), Filled(1, 1, 2.0), Filled(1, 1, 3.0), Filled(1, 1, 4.0)});
  const QubitTensor before = four;
  four.ApplyGateToBlocks(g, {3, 1});
  EXPECT_EQ(four.blocks[0], before.blocks[0]);
  EXPECT_EQ(four.blocks[2], before.blocks[2]);
  EXPECT_LT((four.blocks[3] - (before.blocks[3] + before.blocks[1])).norm(), 1e-12);
  EXPECT_LT((four.blocks[1] - (Complex(0, 1) * before.blocks[3] - before.blocks[1])).norm(), 1e-12);
}

}  // namespace

}  // namespace taviron
