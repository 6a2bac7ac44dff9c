// Moving the orthogonality centre along the chain: the one-site re-splits
// that repair the canonical form where a measurement broke it, as far as
// the next measurement, gate or readout needs it.
#include <complex>

#include "simulator/mps_state.h"
#include "simulator/two_site_split.h"

namespace taviron {

namespace {

// Multiplies row j of m (and of every further stack of `rows` rows) by
// row_values[j], and column c by column_values[c]; a null vector scales
// nothing.
void ScaleCentre(MatrixXcd& m, Eigen::Index rows, const std::vector<double>* row_values,
                 Eigen::Index cols, const std::vector<double>* column_values) {
  if (row_values && IsTrivialBond(*row_values)) row_values = nullptr;
  if (column_values && IsTrivialBond(*column_values)) column_values = nullptr;
  if (!row_values && !column_values) return;
  for (Eigen::Index c = 0; c < m.cols(); ++c) {
    const double column_factor = column_values ? (*column_values)[static_cast<size_t>(c % cols)] : 1.0;
    std::complex<double>* column = m.data() + c * m.rows();
    for (Eigen::Index r = 0; r < m.rows(); ++r) {
      const double row_factor = row_values ? (*row_values)[static_cast<size_t>(r % rows)] : 1.0;
      column[r] *= row_factor * column_factor;
    }
  }
}

// Per-thread storage of the shifts, reused by every shift of the same shape.
struct ShiftScratch {
  MatrixXcd centre;
  MatrixXcd u;
  MatrixXcd vt;
  MatrixXcd product;
};

ShiftScratch& ThreadScratch() {
  thread_local ShiftScratch scratch;
  return scratch;
}

}  // namespace

void MpsState::ShiftCentreRight(int64_t k) {
  const size_t s = static_cast<size_t>(k);
  QubitTensor& site = sites_[s];
  QubitTensor& next = sites_[s + 1];
  const Eigen::Index dl = site.blocks[0].rows();
  const Eigen::Index dr = site.blocks[0].cols();
  auto& [centre, u, vt, product] = ThreadScratch();
  // The centre L_{k-1} G_k L_k with the site's value as the high row index.
  centre.resize(2 * dl, dr);
  centre.topRows(dl) = site.blocks[0];
  centre.bottomRows(dl) = site.blocks[1];
  ScaleCentre(centre, dl, k > 0 ? &lambdas_[s - 1] : nullptr, dr, &lambdas_[s]);

  const Eigen::Index kept = DecomposeAndTruncate(centre, u, lambdas_[s], vt);
  site.blocks[0] = u.topLeftCorner(dl, kept);
  site.blocks[1] = u.block(dl, 0, dl, kept);
  if (k > 0) site.ScaleByLambda(lambdas_[s - 1], LambdaSide::kRows, LambdaMode::kDivide);
  for (MatrixXcd& block : next.blocks) {
    product.noalias() = vt.topRows(kept) * block;
    block.swap(product);
  }
}

void MpsState::ShiftCentreLeft(int64_t k) {
  const size_t s = static_cast<size_t>(k);
  QubitTensor& site = sites_[s];
  QubitTensor& previous = sites_[s - 1];
  const Eigen::Index dl = site.blocks[0].rows();
  const Eigen::Index dr = site.blocks[0].cols();
  auto& [centre, u, vt, product] = ThreadScratch();
  // The centre with the site's value as the high column index.
  centre.resize(dl, 2 * dr);
  centre.leftCols(dr) = site.blocks[0];
  centre.rightCols(dr) = site.blocks[1];
  const bool has_right_bond = k + 1 < qubit_count_;
  ScaleCentre(centre, dl, &lambdas_[s - 1], dr, has_right_bond ? &lambdas_[s] : nullptr);

  const Eigen::Index kept = DecomposeAndTruncate(centre, u, lambdas_[s - 1], vt);
  site.blocks[0] = vt.topLeftCorner(kept, dr);
  site.blocks[1] = vt.block(0, dr, kept, dr);
  if (has_right_bond) site.ScaleByLambda(lambdas_[s], LambdaSide::kColumns, LambdaMode::kDivide);
  for (MatrixXcd& block : previous.blocks) {
    product.noalias() = block * u.leftCols(kept);
    block.swap(product);
  }
}

void MpsState::MoveCentreOnto(int64_t lo, int64_t hi) {
  // A break crosses a bond of dimension 1 without any work: there the
  // centre is a single column (row) of norm 1, already orthonormal, and the
  // sites beyond keep what they had.
  while (canonical_form_.left_frontier() < lo) {
    const int64_t k = canonical_form_.left_frontier();
    const bool split = lambdas_[static_cast<size_t>(k)].size() > 1;
    if (split) ShiftCentreRight(k);
    canonical_form_.RepairLeft(split);
  }
  while (canonical_form_.right_frontier() > hi) {
    const int64_t k = canonical_form_.right_frontier();
    const bool split = k > 0 && lambdas_[static_cast<size_t>(k - 1)].size() > 1;
    if (split) ShiftCentreLeft(k);
    canonical_form_.RepairRight(split);
  }
}

void MpsState::RestoreCanonicalForm() { MoveCentreOnto(qubit_count_, -1); }

}  // namespace taviron
