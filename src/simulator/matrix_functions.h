#ifndef TAVIRON_SIMULATOR_MATRIX_FUNCTIONS_H
#define TAVIRON_SIMULATOR_MATRIX_FUNCTIONS_H

#include <cstdint>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// Status values of ElementwiseProduct.
constexpr int32_t kElementwiseOk = 0;
constexpr int32_t kElementwiseShapeMismatch = static_cast<int32_t>(0x80000014u);
constexpr int32_t kElementwiseNoMemory = static_cast<int32_t>(0x80000002u);

// Complex conjugate of every element, same shape.
MatrixXcd ConjugateMatrix(const MatrixXcd& m);

// Conjugate transpose: element (j, i) of the result is conj(m(i, j)).
MatrixXcd AdjointMatrix(const MatrixXcd& m);

// side_by_side 1: [a b] (same row count); 0: a stacked above b (same column
// count). A shape mismatch or any other flag value yields a copy of a.
MatrixXcd ConcatenateMatrices(const MatrixXcd& a, const MatrixXcd& b, int side_by_side);

// by_columns 1: left and right halves of m's columns; 0: upper and lower
// halves of its rows. An odd count, or any other flag value, leaves both
// outputs unchanged.
void SplitMatrix(const MatrixXcd& m, MatrixXcd& first, MatrixXcd& second, int by_columns);

// out := element-wise product of a and b. Returns kElementwiseOk,
// kElementwiseShapeMismatch (out unchanged) or kElementwiseNoMemory.
int32_t ElementwiseProduct(const MatrixXcd& a, const MatrixXcd& b, MatrixXcd& out);

}  // namespace taviron

#endif
