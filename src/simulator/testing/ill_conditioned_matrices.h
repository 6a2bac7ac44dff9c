#ifndef TAVIRON_SIMULATOR_TESTING_ILL_CONDITIONED_MATRICES_H
#define TAVIRON_SIMULATOR_TESTING_ILL_CONDITIONED_MATRICES_H

// Test-only: matrices with chosen singular values, and the spectra that
// make a decomposition hard.

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include <Eigen/Dense>
#include <Eigen/QR>

namespace taviron {

// A Haar-like random unitary from the QR decomposition of a Gaussian matrix.
inline Eigen::MatrixXcd GaussianUnitary(Eigen::Index n, std::mt19937& rng) {
  std::normal_distribution<double> normal;
  Eigen::MatrixXcd a(n, n);
  for (Eigen::Index i = 0; i < a.size(); ++i) a(i) = std::complex<double>(normal(rng), normal(rng));
  return Eigen::HouseholderQR<Eigen::MatrixXcd>(a).householderQ() * Eigen::MatrixXcd::Identity(n, n);
}

// A rows x cols matrix of unit Frobenius norm with the given singular values
// (padded with zeros) between random unitary factors.
inline Eigen::MatrixXcd WithSingularValues(Eigen::Index rows, Eigen::Index cols, std::vector<double> values,
                                           std::mt19937& rng) {
  const Eigen::Index k = std::min(rows, cols);
  values.resize(static_cast<size_t>(k), 0.0);
  double sum = 0.0;
  for (double x : values) sum += x * x;
  Eigen::VectorXd s(k);
  for (Eigen::Index i = 0; i < k; ++i) s[i] = values[static_cast<size_t>(i)] / std::sqrt(sum);
  return GaussianUnitary(rows, rng).leftCols(k) * s.cast<std::complex<double>>().asDiagonal() *
         GaussianUnitary(cols, rng).topRows(k);
}

// Values that make a matrix hard: a wide range down to below the cut, a
// cluster of equal values, values either side of the kept threshold 1e-4,
// exact rank deficiency, and rank one.
inline std::vector<std::vector<double>> IllConditionedSpectra() {
  std::vector<double> graded;
  for (int i = 0; i < 16; ++i) graded.push_back(std::pow(10.0, -i));
  return {graded,
          {1.0, 1.0, 1.0, 1.0, 0.5, 0.5, 1e-3, 1e-3},
          {0.9, 0.3, 1.5e-4, 1.0001e-4, 0.9999e-4, 1e-7, 1e-12},
          {1.0, 1e-15},
          {0.6, 0.8},
          {1.0}};
}

}  // namespace taviron

#endif
