#include "simulator/two_site_split.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include <Eigen/SVD>

#include "simulator/matrix_functions.h"

namespace {

constexpr unsigned int kThinFactors = Eigen::ComputeThinU | Eigen::ComputeThinV;

// How far U diag(s) V^H may stand from the matrix, relative to its norm,
// before a divide-and-conquer result is refused. Correct factorisations
// rebuild the matrix to about 1e-14.
constexpr double kFactorisationTolerance = 1e-10;

template <typename Svd>
void Take(const Svd& svd, MatrixXcd& u, std::vector<double>& s, MatrixXcd& v) {
  const auto& values = svd.singularValues();
  s.assign(values.data(), values.data() + values.size());
  u = svd.matrixU();
  v = svd.matrixV();
}

// Two fixed probe columns of `cols` entries, none of them zero and no two
// alike, kept per thread and remade only when the width changes.
const MatrixXcd& ProbeColumns(Eigen::Index cols) {
  thread_local MatrixXcd probe;
  if (probe.rows() != cols) {
    probe.resize(cols, 2);
    for (Eigen::Index j = 0; j < cols; ++j) {
      const double t = static_cast<double>(j);
      probe(j, 0) = std::polar(1.0 + 0.5 * std::sin(1.3 * t), 0.7 * t + 0.3);
      probe(j, 1) = std::polar(1.0 + 0.5 * std::cos(0.9 * t), 2.1 * t + 1.1);
    }
  }
  return probe;
}

// Whether the factors of `svd` rebuild m. Eigen 3.4.0's divide-and-conquer
// SVD returns, for some complex matrices, factors that are several percent
// off (wrong leading values included), so its result is checked before use:
// m and U diag(s) V^H are applied to two fixed probe columns, which costs a
// few matrix-vector products, and the results compared.
bool RebuildsMatrix(const Eigen::BDCSVD<MatrixXcd>& svd, const MatrixXcd& m) {
  const MatrixXcd& probe = ProbeColumns(m.cols());
  thread_local MatrixXcd direct;
  thread_local MatrixXcd reduced;
  direct.noalias() = m * probe;
  reduced.noalias() = svd.matrixV().adjoint() * probe;
  reduced = svd.singularValues().asDiagonal() * reduced;
  direct.noalias() -= svd.matrixU() * reduced;
  // Written so that a NaN anywhere counts as a failure.
  return direct.norm() <= kFactorisationTolerance * m.norm() * probe.norm();
}

// Decomposes m into thin U, the singular values (descending) and thin V:
// with the divide-and-conquer SVD above the row limit, else (or when its
// factors do not rebuild m) with the one-sided Jacobi SVD. The decomposition
// objects are kept per thread so that their workspaces are reused from one
// split to the next.
void Decompose(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& v) {
  if (UsesDivideAndConquerSvd(m.rows())) {
    thread_local Eigen::BDCSVD<MatrixXcd> svd;
    svd.compute(m, kThinFactors);
    if (RebuildsMatrix(svd, m)) {
      Take(svd, u, s, v);
      return;
    }
  }
  thread_local Eigen::JacobiSVD<MatrixXcd> svd;
  svd.compute(m, kThinFactors);
  Take(svd, u, s, v);
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
