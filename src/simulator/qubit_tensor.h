#ifndef TAVIRON_SIMULATOR_QUBIT_TENSOR_H
#define TAVIRON_SIMULATOR_QUBIT_TENSOR_H

#include <complex>
#include <cstdint>
#include <vector>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// Which index of a block a Schmidt-value vector scales, and how.
enum class LambdaSide { kRows, kColumns };
enum class LambdaMode { kMultiply, kDivide };

// One site tensor of the chain (two blocks, one per qubit value), or the
// contraction of m consecutive sites (2^m blocks, the leftmost site's value
// being the most significant digit of the block index). Every block has the
// shape of block 0: (left bond dimension) x (right bond dimension).
class QubitTensor {
 public:
  std::vector<MatrixXcd> blocks;

  QubitTensor() = default;
  // A single-site tensor with the 1 x 1 blocks [a0] and [a1].
  QubitTensor(std::complex<double> a0, std::complex<double> a1);
  explicit QubitTensor(std::vector<MatrixXcd> blocks);
  QubitTensor(const QubitTensor&) = default;
  QubitTensor(QubitTensor&&) noexcept = default;
  QubitTensor& operator=(const QubitTensor&) = default;
  QubitTensor& operator=(QubitTensor&&) noexcept = default;
  virtual ~QubitTensor() = default;

  // A one-qubit gate (2 x 2) on the physical index.
  void ApplyGate(const MatrixXcd& gate);

  // new_i = sum_j gate(i, j) * block[idx[j]] for i < rows(gate), all from the
  // old blocks; then block[idx[i]] := new_i. Works element by element in
  // place, so no block is allocated.
  void ApplyGateToBlocks(const MatrixXcd& gate, const std::vector<int>& idx);

  // Scales the rows or columns of every block by lambda (multiply or
  // divide). The one-element vector {1.0} is recognised and skipped.
  void ScaleByLambda(const std::vector<double>& lambda, LambdaSide side, LambdaMode mode);

  // Contraction of left, the bond vector between them, and right: block
  // s1 * |right.blocks| + s2 is (left_s1 * diag(lambda)) * right_s2.
  static QubitTensor ContractPair(const QubitTensor& left, const std::vector<double>& lambda,
                                  const QubitTensor& right);
};

// True when lambda is exactly the one-element vector {1.0}.
inline bool IsTrivialBond(const std::vector<double>& lambda) {
  return lambda.size() == 1 && lambda[0] == 1.0;
}

}  // namespace taviron

#endif
