#ifndef TAVIRON_SIMULATOR_TWO_SITE_SPLIT_H
#define TAVIRON_SIMULATOR_TWO_SITE_SPLIT_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include <Eigen/Dense>

#include "simulator/qubit_tensor.h"

namespace taviron {

using Eigen::MatrixXcd;

// A matrix with a side of at most kSmallSvdMaxSide and at most
// kSmallSvdMaxElements elements is decomposed by SmallThinSvd, which is the
// faster there (bench/simulator_bench.cc times both); larger ones through
// LAPACK's divide-and-conquer SVD.
constexpr Eigen::Index kSmallSvdMaxSide = 32;
constexpr Eigen::Index kSmallSvdMaxElements = 2048;
// A singular value s is kept when s * s is strictly above this.
constexpr double kSignificantSquareThreshold = 1e-8;
// Kept values are renormalised when their squares sum differs from 1 by more.
constexpr double kRenormaliseTolerance = 1e-9;

// Whether a rows x cols matrix is decomposed through LAPACK.
inline bool UsesLapackSvd(Eigen::Index rows, Eigen::Index cols) {
  return std::min(rows, cols) > kSmallSvdMaxSide || rows * cols > kSmallSvdMaxElements;
}

// The number of singular value decompositions the calling thread has run so
// far (every split goes through one); benchmarks and tests read it.
uint64_t DecompositionCount();

// m = u diag(s) vt with its significant singular values only (at least
// one), renormalised as TruncateSingularValues does: u is r x k with
// orthonormal columns, s holds the k values in descending order, vt is
// k x c with orthonormal rows. Returns k. Only the first k columns of u and
// rows of vt are meaningful; both may be larger.
Eigen::Index DecomposeAndTruncate(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s,
                                  MatrixXcd& vt);

// The number of values x with threshold < x * x.
int64_t CountSignificantSingularValues(std::vector<double> values, double threshold);

// Cuts u (r x m) and v (c x m) to their first k columns and s to its first k
// values, k counting the significant values (at least one is kept); then
// renormalises the kept values so that their squares sum to 1 when they are
// off by more than the tolerance.
void TruncateSingularValues(MatrixXcd& u, std::vector<double>& s, MatrixXcd& v);

// Splits a two-site tensor (four Dl x Dr blocks, block 2 * s_left + s_right)
// into a left site (two Dl x k blocks), the k Schmidt values of the bond
// between them, and a right site (two k x Dr blocks). The tensor is laid out
// as one 2 Dl x 2 Dr matrix: row s_left * Dl + (left bond index), column
// s_right * Dr + (right bond index). This is the layout the SVD works on, so
// the gate path builds it directly.
void SplitTwoSiteMatrix(const MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, QubitTensor& left,
                        std::vector<double>& lambda, QubitTensor& right);

}  // namespace taviron

#endif
