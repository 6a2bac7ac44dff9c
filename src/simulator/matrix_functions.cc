#include "simulator/matrix_functions.h"

#include <new>

namespace taviron {

MatrixXcd ConjugateMatrix(const MatrixXcd& m) { return m.conjugate(); }

MatrixXcd AdjointMatrix(const MatrixXcd& m) { return m.adjoint(); }

MatrixXcd ConcatenateMatrices(const MatrixXcd& a, const MatrixXcd& b, int side_by_side) {
  if (side_by_side == 1 && a.rows() == b.rows()) {
    MatrixXcd result(a.rows(), a.cols() + b.cols());
    result << a, b;
    return result;
  }
  if (side_by_side == 0 && a.cols() == b.cols()) {
    MatrixXcd result(a.rows() + b.rows(), a.cols());
    result << a, b;
    return result;
  }
  return a;
}

void SplitMatrix(const MatrixXcd& m, MatrixXcd& first, MatrixXcd& second, int by_columns) {
  if (by_columns == 1 && m.cols() % 2 == 0) {
    const Eigen::Index half = m.cols() / 2;
    first = m.leftCols(half);
    second = m.rightCols(half);
  } else if (by_columns == 0 && m.rows() % 2 == 0) {
    const Eigen::Index half = m.rows() / 2;
    first = m.topRows(half);
    second = m.bottomRows(half);
  }
}

int32_t ElementwiseProduct(const MatrixXcd& a, const MatrixXcd& b, MatrixXcd& out) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return kElementwiseShapeMismatch;
  try {
    out = a.cwiseProduct(b);
  } catch (const std::bad_alloc&) {
    return kElementwiseNoMemory;
  }
  return kElementwiseOk;
}

}  // namespace taviron
