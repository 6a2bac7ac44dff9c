#include "simulator/two_site_split.h"

#include <algorithm>
#include <cmath>

#include <Eigen/SVD>

#include "simulator/matrix_functions.h"

namespace {

constexpr unsigned int kThinFactors = Eigen::ComputeThinU | Eigen::ComputeThinV;

// Decomposes m into thin U, the singular values (descending) and thin V. The
// decomposition objects are kept per thread so that their workspaces are
// reused from one split to the next.
void Decompose(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& v) {
  auto take = [&](auto& svd) {
    svd.compute(m, kThinFactors);
    const auto& values = svd.singularValues();
    s.assign(values.data(), values.data() + values.size());
    u = svd.matrixU();
    v = svd.matrixV();
  };
  if (UsesDivideAndConquerSvd(m.rows())) {
    thread_local Eigen::BDCSVD<MatrixXcd> svd;
    take(svd);
  } else {
    thread_local Eigen::JacobiSVD<MatrixXcd> svd;
    take(svd);
  }
}

}  // namespace

int64_t CountSignificantSingularValues(std::vector<double> values, double threshold) {
  int64_t count = 0;
  for (double x : values) {
    if (threshold < x * x) ++count;
  }
  return count;
}

void TruncateSingularValues(MatrixXcd& u, std::vector<double>& s, MatrixXcd& v) {
  // A normalised state always has a significant value. None is left only
  // when the amplitudes are no longer numbers (a gate angle of NaN or
  // infinity); the leading value is then kept so that the bond never drops
  // to dimension 0, which no later split or contraction could work on.
  const Eigen::Index significant =
      static_cast<Eigen::Index>(CountSignificantSingularValues(s, kSignificantSquareThreshold));
  const Eigen::Index k = s.empty() ? 0 : std::max<Eigen::Index>(significant, 1);
  if (k < u.cols()) u.conservativeResize(Eigen::NoChange, k);
  if (k < v.cols()) v.conservativeResize(Eigen::NoChange, k);
  s.resize(static_cast<size_t>(k));
  double sum = 0.0;
  for (double x : s) sum += x * x;
  if (std::abs(1.0 - sum) > kRenormaliseTolerance) {
    const double norm = std::sqrt(sum);
    for (double& x : s) x /= norm;
  }
}

void SplitTwoSiteMatrix(const MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, QubitTensor& left,
                        std::vector<double>& lambda, QubitTensor& right) {
  // Per-thread factors: their storage is reused from one split to the next.
  thread_local MatrixXcd u;
  thread_local MatrixXcd v;
  Decompose(m, u, lambda, v);
  TruncateSingularValues(u, lambda, v);
  left.blocks.resize(2);
  left.blocks[0] = u.topRows(dl);
  left.blocks[1] = u.bottomRows(dl);
  right.blocks.resize(2);
  right.blocks[0] = v.topRows(dr).adjoint();
  right.blocks[1] = v.bottomRows(dr).adjoint();
}

void SplitTwoSiteTensor(const QubitTensor& theta, QubitTensor& left, std::vector<double>& lambda,
                        QubitTensor& right) {
  const MatrixXcd& b0 = theta.blocks[0];
  MatrixXcd m = ConcatenateMatrices(ConcatenateMatrices(b0, theta.blocks[1], 1),
                                    ConcatenateMatrices(theta.blocks[2], theta.blocks[3], 1), 0);
  SplitTwoSiteMatrix(m, b0.rows(), b0.cols(), left, lambda, right);
}
