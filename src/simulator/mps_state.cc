#include "simulator/mps_state.h"

#include <utility>

#include "foundation/exceptions.h"

namespace taviron {

namespace {

// A chain needs at least one site; circuits hold 1 to 100 qubits.
int64_t CheckedQubitCount(int64_t count) {
  if (count < 1) throw RunTimeError("Invalid number of qubits passed.");
  return count;
}

}  // namespace

MpsState::MpsState(int64_t count)
    : qubit_count_(CheckedQubitCount(count)),
      classical_values_(static_cast<size_t>(count), -1),
      uniform_draw_(MakeSeededUniformDraw()) {
  Reset();
}

MpsState::~MpsState() = default;

UniformDrawSource MpsState::TakeUniformDraw() {
  UniformDrawSource draw = std::move(uniform_draw_);
  uniform_draw_ = nullptr;  // a moved-from function need not be empty
  return draw;
}

void MpsState::Reset() {
  const size_t n = static_cast<size_t>(qubit_count_);
  classical_values_.assign(n, -1);
  lower_bound_ = 0.0;
  upper_bound_ = 1.0;
  // Rebuilt in place: a block that is already 1 x 1 keeps its storage, so a
  // shot that left the chain at bond dimension 1 costs no allocation here.
  sites_.resize(n);
  lambdas_.resize(n);
  for (size_t k = 0; k < n; ++k) {
    std::vector<MatrixXcd>& blocks = sites_[k].blocks;
    blocks.resize(2);
    blocks[0].resize(1, 1);
    blocks[0](0, 0) = 1.0;
    blocks[1].resize(1, 1);
    blocks[1](0, 0) = 0.0;
    lambdas_[k].assign(1, 1.0);
  }
  site_to_qubit_.resize(n);
  qubit_to_site_.resize(n);
  for (size_t k = 0; k < n; ++k) {
    site_to_qubit_[k] = static_cast<int64_t>(k);
    qubit_to_site_[k] = static_cast<int64_t>(k);
  }
  canonical_form_.Reset(qubit_count_);
}

}  // namespace taviron
