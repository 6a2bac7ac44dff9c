#ifndef TAVIRON_SIMULATOR_LAPACK_SVD_H
#define TAVIRON_SIMULATOR_LAPACK_SVD_H

#include <vector>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// The thin singular value decomposition m = u diag(s) vt of an r x c matrix
// through LAPACK: the divide-and-conquer zgesdd, and the QR-iteration zgesvd
// when that does not converge. u is r x k, s holds the k = min(r, c)
// singular values in descending order, vt is k x c (the adjoint of thin V).
// False when neither converges, the matrix holds a value that is no number
// or the library cannot be opened (it is opened by the first call); the
// outputs are then unspecified. The work arrays are kept per thread, so
// repeated calls of one shape allocate nothing.
bool LapackThinSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt);

// The two routines on their own, with the same outputs and result.
bool DivideAndConquerSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt);
bool QrIterationSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt);

}  // namespace taviron

#endif
