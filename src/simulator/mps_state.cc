#include "simulator/mps_state.h"

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
    : qubit_count(CheckedQubitCount(count)),
      classical_values(static_cast<size_t>(count), -1),
      uniform_draw(MakeSeededUniformDraw()) {
  Reset();
}

MpsState::~MpsState() = default;

void MpsState::Reset() {
  const size_t n = static_cast<size_t>(qubit_count);
  classical_values.assign(n, -1);
  lower_bound = 0.0;
  upper_bound = 1.0;
  // Rebuilt in place: a block that is already 1 x 1 keeps its storage, so a
  // shot that left the chain at bond dimension 1 costs no allocation here.
  sites.resize(n);
  lambdas.resize(n);
  for (size_t k = 0; k < n; ++k) {
    std::vector<MatrixXcd>& blocks = sites[k].blocks;
    blocks.resize(2);
    blocks[0].resize(1, 1);
    blocks[0](0, 0) = 1.0;
    blocks[1].resize(1, 1);
    blocks[1](0, 0) = 0.0;
    lambdas[k].assign(1, 1.0);
  }
  site_to_qubit.resize(n);
  qubit_to_site.resize(n);
  for (size_t k = 0; k < n; ++k) {
    site_to_qubit[k] = static_cast<int64_t>(k);
    qubit_to_site[k] = static_cast<int64_t>(k);
  }
  canonical_form.Reset(qubit_count);
}

}  // namespace taviron
