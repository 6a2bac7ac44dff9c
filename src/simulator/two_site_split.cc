#include "simulator/two_site_split.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include <Eigen/SVD>

#include "simulator/lapack_svd.h"
#include "simulator/small_svd.h"

namespace taviron {

namespace {

thread_local uint64_t decomposition_count = 0;

// Decomposes m into thin U (r x k), the singular values (descending) and
// V^H (k x c), k at most min(r, c): small matrices without LAPACK, larger
// ones through it, and, when the chosen routine fails (as on a matrix
// holding no numbers), with Eigen's Jacobi SVD, whose
// decomposition object is kept per thread so that its workspace is reused.
void Decompose(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  ++decomposition_count;
  const bool done = UsesLapackSvd(m.rows(), m.cols()) ? LapackThinSvd(m, u, s, vt)
                                                      : SmallThinSvd(m, u, s, vt);
  if (done) return;
  thread_local Eigen::JacobiSVD<MatrixXcd> svd;
  svd.compute(m, Eigen::ComputeThinU | Eigen::ComputeThinV);
  const auto& values = svd.singularValues();
  s.assign(values.data(), values.data() + values.size());
  u = svd.matrixU();
  vt = svd.matrixV().adjoint();
}

// Cuts s to the number of values to keep (the significant ones, at least
// one) and renormalises them; returns that number.
Eigen::Index TruncateValues(std::vector<double>& s) {
  // A normalised state always has a significant value. None is left only
  // when the amplitudes are no longer numbers (a gate angle of NaN or
  // infinity); the leading value is then kept so that the bond never drops
  // to dimension 0, which no later split or contraction could work on.
  const Eigen::Index significant =
      static_cast<Eigen::Index>(CountSignificantSingularValues(s, kSignificantSquareThreshold));
  const Eigen::Index k = s.empty() ? 0 : std::max<Eigen::Index>(significant, 1);
  s.resize(static_cast<size_t>(k));
  double sum = 0.0;
  for (double x : s) sum += x * x;
  if (std::abs(1.0 - sum) > kRenormaliseTolerance) {
    const double norm = std::sqrt(sum);
    for (double& x : s) x /= norm;
  }
  return k;
}

}  // namespace

uint64_t DecompositionCount() { return decomposition_count; }

Eigen::Index DecomposeAndTruncate(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s,
                                  MatrixXcd& vt) {
  Decompose(m, u, s, vt);
  return TruncateValues(s);
}

int64_t CountSignificantSingularValues(std::vector<double> values, double threshold) {
  int64_t count = 0;
  for (double x : values) {
    if (threshold < x * x) ++count;
  }
  return count;
}

void TruncateSingularValues(MatrixXcd& u, std::vector<double>& s, MatrixXcd& v) {
  const Eigen::Index k = TruncateValues(s);
  if (k < u.cols()) u.conservativeResize(Eigen::NoChange, k);
  if (k < v.cols()) v.conservativeResize(Eigen::NoChange, k);
}

void SplitTwoSiteMatrix(const MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, QubitTensor& left,
                        std::vector<double>& lambda, QubitTensor& right) {
  // Per-thread factors: their storage is reused from one split to the next.
  thread_local MatrixXcd u;
  thread_local MatrixXcd vt;
  const Eigen::Index k = DecomposeAndTruncate(m, u, lambda, vt);
  left.blocks.resize(2);
  left.blocks[0] = u.topLeftCorner(dl, k);
  left.blocks[1] = u.block(dl, 0, dl, k);
  right.blocks.resize(2);
  right.blocks[0] = vt.topLeftCorner(k, dr);
  right.blocks[1] = vt.block(0, dr, k, dr);
}

}  // namespace taviron
