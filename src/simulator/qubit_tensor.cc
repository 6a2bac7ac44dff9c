#include "simulator/qubit_tensor.h"

#include <algorithm>
#include <array>
#include <utility>

namespace taviron {

namespace {

using Complex = std::complex<double>;

// Scales every block's rows (or columns) by lambda, multiplying or dividing.
template <typename Op>
void ScaleBlocks(std::vector<MatrixXcd>& blocks, const std::vector<double>& lambda,
                 LambdaSide side, Op op) {
  if (blocks.empty()) return;
  const Eigen::Index rows = blocks[0].rows();
  const Eigen::Index cols = blocks[0].cols();
  for (MatrixXcd& block : blocks) {
    for (Eigen::Index k = 0; k < cols; ++k) {
      Complex* column = block.data() + k * rows;
      if (side == LambdaSide::kColumns) {
        const double factor = lambda[static_cast<size_t>(k)];
        for (Eigen::Index j = 0; j < rows; ++j) column[j] = op(column[j], factor);
      } else {
        for (Eigen::Index j = 0; j < rows; ++j) {
          column[j] = op(column[j], lambda[static_cast<size_t>(j)]);
        }
      }
    }
  }
}

}  // namespace

QubitTensor::QubitTensor(std::complex<double> a0, std::complex<double> a1) : blocks(2) {
  blocks[0].resize(1, 1);
  blocks[0](0, 0) = a0;
  blocks[1].resize(1, 1);
  blocks[1](0, 0) = a1;
}

QubitTensor::QubitTensor(std::vector<MatrixXcd> blocks_in) : blocks(std::move(blocks_in)) {}

void QubitTensor::ApplyGate(const MatrixXcd& gate) {
  if (gate.rows() == 2 && gate.cols() == 2 && blocks.size() >= 2) {
    // The common case: two blocks combined element by element in place.
    const Complex g00 = gate(0, 0), g01 = gate(0, 1), g10 = gate(1, 0), g11 = gate(1, 1);
    Complex* b0 = blocks[0].data();
    Complex* b1 = blocks[1].data();
    const Eigen::Index size = blocks[0].size();
    for (Eigen::Index p = 0; p < size; ++p) {
      const Complex x0 = b0[p];
      const Complex x1 = b1[p];
      b0[p] = g00 * x0 + g01 * x1;
      b1[p] = g10 * x0 + g11 * x1;
    }
    return;
  }
  std::vector<int> idx(std::min(static_cast<size_t>(gate.cols()), blocks.size()));
  for (size_t j = 0; j < idx.size(); ++j) idx[j] = static_cast<int>(j);
  ApplyGateToBlocks(gate, idx);
}

void QubitTensor::ApplyGateToBlocks(const MatrixXcd& gate, const std::vector<int>& idx) {
  if (blocks.empty() || idx.empty()) return;
  const size_t count = idx.size();
  const Eigen::Index in_count = std::min<Eigen::Index>(gate.cols(), static_cast<Eigen::Index>(count));
  const Eigen::Index out_count = std::min<Eigen::Index>(gate.rows(), static_cast<Eigen::Index>(count));
  const Eigen::Index size = blocks[0].size();
  // Block pointers and the old values at one element position, gathered
  // before any output is written. Gates act on at most four blocks here; a
  // larger gate gets heap buffers once per call, never per element.
  constexpr size_t kSmall = 4;
  std::array<Complex, kSmall> small_old{};
  std::array<Complex*, kSmall> small_data{};
  std::vector<Complex> large_old;
  std::vector<Complex*> large_data;
  Complex* old = small_old.data();
  Complex** data = small_data.data();
  if (count > kSmall) {
    large_old.resize(count);
    large_data.resize(count);
    old = large_old.data();
    data = large_data.data();
  }
  for (size_t j = 0; j < count; ++j) data[j] = blocks[static_cast<size_t>(idx[j])].data();
  for (Eigen::Index p = 0; p < size; ++p) {
    for (Eigen::Index j = 0; j < in_count; ++j) old[j] = data[j][p];
    for (Eigen::Index i = 0; i < out_count; ++i) {
      Complex sum = 0.0;
      for (Eigen::Index j = 0; j < in_count; ++j) sum += gate(i, j) * old[j];
      data[i][p] = sum;
    }
  }
}

void QubitTensor::ScaleByLambda(const std::vector<double>& lambda, LambdaSide side,
                                LambdaMode mode) {
  if (IsTrivialBond(lambda)) return;
  if (mode == LambdaMode::kMultiply) {
    ScaleBlocks(blocks, lambda, side, [](Complex v, double f) { return v * f; });
  } else {
    ScaleBlocks(blocks, lambda, side, [](Complex v, double f) { return v / f; });
  }
}

QubitTensor QubitTensor::ContractPair(const QubitTensor& left, const std::vector<double>& lambda,
                                      const QubitTensor& right) {
  const size_t right_count = right.blocks.size();
  QubitTensor result;
  result.blocks.resize(left.blocks.size() * right_count);
  const bool trivial = IsTrivialBond(lambda);
  MatrixXcd scaled;
  for (size_t s1 = 0; s1 < left.blocks.size(); ++s1) {
    const MatrixXcd* factor = &left.blocks[s1];
    if (!trivial) {
      scaled = left.blocks[s1];
      for (Eigen::Index k = 0; k < scaled.cols(); ++k) {
        scaled.col(k) *= lambda[static_cast<size_t>(k)];
      }
      factor = &scaled;
    }
    for (size_t s2 = 0; s2 < right_count; ++s2) {
      result.blocks[s1 * right_count + s2].noalias() = *factor * right.blocks[s2];
    }
  }
  return result;
}

}  // namespace taviron
