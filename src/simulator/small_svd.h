#ifndef TAVIRON_SIMULATOR_SMALL_SVD_H
#define TAVIRON_SIMULATOR_SMALL_SVD_H

#include <vector>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// The thin singular value decomposition m = u diag(s) vt of a small matrix,
// written for the two-site and one-site splits, without LAPACK's fixed cost
// per call: a Householder QR with column pivoting of m (or of its adjoint
// when m is wide) reveals the numerical rank k, and the one-sided Jacobi
// method orthogonalises the k kept rows of R. u is r x k with orthonormal
// columns, s holds the k values in descending order, vt is k x c with
// orthonormal rows. Singular values below 1e-14 times the Frobenius norm of
// m are left out (k counts the others, and is 1 for a zero matrix, whose
// value is 0). False when m holds a value that is no number or the method
// does not converge; the outputs are then unspecified. Storage is kept per
// thread.
bool SmallThinSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt);

}  // namespace taviron

#endif
