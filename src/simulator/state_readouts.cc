// Readouts of the state: shot bits, classical values, state vector,
// probabilities, density matrices and amplitudes, and the moves and
// contractions of sites they rest on.
#include <algorithm>
#include <numeric>

#include "foundation/exceptions.h"
#include "simulator/mps_state.h"
#include "simulator/readout_memory.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

constexpr int64_t kStateVectorMaxQubits = 16;
// A lower bound on the bytes that one basis state of a grouped readout costs:
// its contracted block (matrix header, one element, allocator overhead) and
// the few arrays of one entry each that the reordering uses.
constexpr uint64_t kBytesPerGroupedBasisState = sizeof(MatrixXcd) + 32 + 4 * sizeof(double);

// j with its k lowest bits in reverse order.
uint64_t ReverseBits(uint64_t j, size_t k) {
  uint64_t r = 0;
  for (size_t b = 0; b < k; ++b) {
    r = (r << 1) | ((j >> b) & 1u);
  }
  return r;
}

template <typename T>
void PermuteBasis(const std::vector<T>& source, const std::vector<int64_t>& positions,
                  std::vector<T>& destination) {
  const size_t k = positions.size();
  const std::vector<int64_t> ranks = ComputeRanks(positions);
  destination.resize(source.size());
  for (uint64_t i = 0; i < source.size(); ++i) {
    uint64_t d = 0;
    for (size_t j = 0; j < k; ++j) {
      if ((i >> (k - 1 - static_cast<size_t>(ranks[j]))) & 1u) d |= uint64_t{1} << (k - 1 - j);
    }
    destination[d] = source[i];
  }
}

// out[j] := w[reverse_k(j)].
template <typename T>
std::vector<T> BitReversed(const std::vector<T>& w, size_t k) {
  std::vector<T> out(w.size());
  for (uint64_t j = 0; j < w.size(); ++j) out[j] = w[ReverseBits(j, k)];
  return out;
}

// A readout list must name distinct qubits of the state, at least one.
void CheckQubitList(const std::vector<int64_t>& qubits, int64_t qubit_count) {
  std::vector<char> seen(static_cast<size_t>(qubit_count), 0);
  bool valid = !qubits.empty();
  for (int64_t q : qubits) {
    if (!valid) break;
    if (q < 0 || q >= qubit_count || seen[static_cast<size_t>(q)]) {
      valid = false;
    } else {
      seen[static_cast<size_t>(q)] = 1;
    }
  }
  if (!valid) throw RunTimeError("Invalid qubit list passed to a state readout.");
}

// The contraction of the given sites, gathered around their median. The
// stored chain is used directly when the sites already form an ascending
// run that holds the orthogonality centre; otherwise a copy of the state is
// moved and contracted.
QubitTensor ContractGroup(const MpsState& state, const std::vector<int64_t>& sites) {
  const CentralizedIndices placement = FindCentralizedIndices(sites);
  if (placement.sorted == placement.run &&
      state.canonical_form().CentreWithin(placement.run.front(), placement.run.back())) {
    return state.ContractSites(placement.run.front(), placement.run.back());
  }
  MpsState copy(state);
  return copy.ContractQubits(sites);
}

}  // namespace

std::string FormatShotBits(const std::vector<int64_t>& classical_values) {
  std::string bits;
  bits.reserve(classical_values.size());
  for (size_t i = classical_values.size(); i-- > 0;) {
    if (classical_values[i] == 0) bits += '0';
    if (classical_values[i] == 1) bits += '1';
  }
  return bits;
}

std::string MpsState::GetShotBits() const { return FormatShotBits(classical_values_); }

std::string MpsState::GetClassicalRegister() const {
  std::string text;
  text.reserve(classical_values_.size());
  for (size_t i = classical_values_.size(); i-- > 0;) {
    const int64_t v = classical_values_[i];
    text += v == -1 ? 'X' : v == 0 ? '0' : v == 1 ? '1' : '-';
  }
  return text;
}

std::vector<int64_t> MpsState::QubitsToSites(const std::vector<int64_t>& qubits) const {
  std::vector<int64_t> result;
  result.reserve(qubits.size());
  for (int64_t q : qubits) result.push_back(qubit_to_site_[static_cast<size_t>(q)]);
  return result;
}

void MpsState::RestoreQubitOrder() {
  for (int64_t i = 0; i < qubit_count_; ++i) {
    const int64_t j = qubit_to_site_[static_cast<size_t>(i)];
    for (int64_t k = j; k > i; --k) SwapSites(k - 1, k);
  }
}

std::vector<int64_t> MpsState::CentralizeQubits(const std::vector<int64_t>& group_sites) {
  const CentralizedIndices placement = FindCentralizedIndices(group_sites);
  const size_t k = placement.sorted.size();
  const size_t m = (k - 1) / 2;
  for (size_t i = m; i < k; ++i) MoveSite(placement.sorted[i], placement.run[i]);
  for (size_t i = m; i-- > 0;) MoveSite(placement.sorted[i], placement.run[i]);
  return placement.run;
}

QubitTensor MpsState::ContractSites(int64_t a, int64_t b) const {
  QubitTensor t = sites_[static_cast<size_t>(a)];
  if (a > 0) t.ScaleByLambda(lambdas_[static_cast<size_t>(a - 1)], LambdaSide::kRows, LambdaMode::kMultiply);
  for (int64_t s = a + 1; s <= b; ++s) {
    t = QubitTensor::ContractPair(t, lambdas_[static_cast<size_t>(s - 1)], sites_[static_cast<size_t>(s)]);
  }
  if (b < qubit_count_ - 1) {
    t.ScaleByLambda(lambdas_[static_cast<size_t>(b)], LambdaSide::kColumns, LambdaMode::kMultiply);
  }
  return t;
}

QubitTensor MpsState::ContractQubits(const std::vector<int64_t>& group_sites) {
  const std::vector<int64_t> run = CentralizeQubits(group_sites);
  // The outer bond values stand for the rest of the chain only when the
  // run holds the orthogonality centre.
  MoveCentreOnto(run.front(), run.back());
  return ContractSites(run.front(), run.back());
}

std::vector<double> MpsState::GroupProbabilities(const std::vector<int64_t>& group_sites) const {
  const QubitTensor t = ContractGroup(*this, group_sites);
  std::vector<double> p(t.blocks.size());
  for (size_t i = 0; i < t.blocks.size(); ++i) p[i] = t.blocks[i].squaredNorm();
  return p;
}

std::vector<Complex> MpsState::GetStateVector() {
  if (qubit_count_ > kStateVectorMaxQubits) {
    throw RunTimeError("State Vector is supported only for 16 qubits or less.");
  }
  RestoreQubitOrder();
  std::vector<int64_t> all(static_cast<size_t>(qubit_count_));
  std::iota(all.begin(), all.end(), 0);
  const QubitTensor t = ContractQubits(QubitsToSites(all));
  std::vector<Complex> v(t.blocks.size());
  for (size_t i = 0; i < v.size(); ++i) v[i] = t.blocks[i](0, 0);
  std::vector<Complex> w;
  PermuteBasisAmplitudes(v, all, w);
  return BitReversed(w, all.size());
}

std::vector<double> MpsState::GetProbabilities(const std::vector<int64_t>& qubits) const {
  CheckQubitList(qubits, qubit_count_);
  const uint64_t dim = BasisSizeOrThrow(qubits.size());
  ReadoutBytesOrThrow(dim, kBytesPerGroupedBasisState);
  const std::vector<int64_t> group_sites = QubitsToSites(qubits);
  const std::vector<double> p = GroupProbabilities(group_sites);
  std::vector<double> w;
  PermuteBasisProbabilities(p, group_sites, w);
  return BitReversed(w, qubits.size());
}

MatrixXcd MpsState::GetDensityMatrix(const std::vector<int64_t>& qubits) const {
  CheckQubitList(qubits, qubit_count_);
  const size_t k = qubits.size();
  const uint64_t dim = BasisSizeOrThrow(k);
  const uint64_t row_bytes = ReadoutBytesOrThrow(dim, sizeof(Complex));
  RequireReadoutMemory(ReadoutBytesOrThrow(dim, row_bytes),
                       ReadoutBytesOrThrow(dim, kBytesPerGroupedBasisState));

  const std::vector<int64_t> group_sites = QubitsToSites(qubits);
  const QubitTensor t = ContractGroup(*this, group_sites);
  std::vector<int64_t> identity(dim);
  std::iota(identity.begin(), identity.end(), 0);
  std::vector<int64_t> e;
  PermuteBasisIndices(identity, group_sites, e);
  const std::vector<int64_t> f = BitReversed(e, k);

  // Row j holds the elements of the block that belongs to result index j;
  // rho(j, l) = sum of block_f[j] .* conj(block_f[l]) is then X X^H.
  const Eigen::Index elements = t.blocks[0].size();
  const Eigen::Index rows = static_cast<Eigen::Index>(dim);
  MatrixXcd x(rows, elements);
  for (Eigen::Index j = 0; j < rows; ++j) {
    const MatrixXcd& block = t.blocks[static_cast<size_t>(f[static_cast<size_t>(j)])];
    x.row(j) = Eigen::Map<const Eigen::RowVectorXcd>(block.data(), elements);
  }
  MatrixXcd rho(rows, rows);
  rho.noalias() = x * x.adjoint();
  return rho;
}

std::vector<Complex> MpsState::GetAmplitudes(const std::vector<uint64_t>& indices) const {
  std::vector<Complex> amplitudes;
  amplitudes.reserve(indices.size());
  const size_t n = static_cast<size_t>(qubit_count_);
  auto bit_of_site = [&](uint64_t index, size_t s) -> size_t {
    const int64_t qubit = site_to_qubit_[s];
    return qubit >= 64 ? 0 : static_cast<size_t>((index >> qubit) & 1u);
  };
  MatrixXcd row;
  MatrixXcd next;
  for (uint64_t index : indices) {
    // Every bit of the index names a qubit; a set bit beyond the state's
    // qubits makes it no basis state of the state.
    if (n < 64 && (index >> n) != 0) {
      amplitudes.push_back(0.0);
      continue;
    }
    row = sites_[0].blocks[bit_of_site(index, 0)];
    for (size_t s = 0; s + 1 < n; ++s) {
      const std::vector<double>& lambda = lambdas_[s];
      for (Eigen::Index c = 0; c < row.cols(); ++c) row(0, c) *= lambda[static_cast<size_t>(c)];
      next.noalias() = row * sites_[s + 1].blocks[bit_of_site(index, s + 1)];
      row.swap(next);
    }
    amplitudes.push_back(row(0, 0));
  }
  return amplitudes;
}

CentralizedIndices FindCentralizedIndices(const std::vector<int64_t>& positions) {
  CentralizedIndices result;
  result.sorted = positions;
  if (!std::is_sorted(result.sorted.begin(), result.sorted.end())) {
    std::sort(result.sorted.begin(), result.sorted.end());
  }
  const size_t k = positions.size();
  if (k <= 1) {
    result.run = positions;
    return result;
  }
  const size_t m = (k - 1) / 2;
  const int64_t first = result.sorted[m] - static_cast<int64_t>(m);
  result.run.resize(k);
  std::iota(result.run.begin(), result.run.end(), first);
  return result;
}

std::vector<int64_t> ComputeRanks(const std::vector<int64_t>& values) {
  std::vector<size_t> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] < values[b]; });
  std::vector<int64_t> ranks(values.size());
  for (size_t r = 0; r < order.size(); ++r) ranks[order[r]] = static_cast<int64_t>(r);
  return ranks;
}

void PermuteBasisAmplitudes(const std::vector<Complex>& source, const std::vector<int64_t>& positions,
                            std::vector<Complex>& destination) {
  PermuteBasis(source, positions, destination);
}

void PermuteBasisProbabilities(const std::vector<double>& source, const std::vector<int64_t>& positions,
                               std::vector<double>& destination) {
  PermuteBasis(source, positions, destination);
}

void PermuteBasisIndices(const std::vector<int64_t>& source, const std::vector<int64_t>& positions,
                         std::vector<int64_t>& destination) {
  PermuteBasis(source, positions, destination);
}

}  // namespace taviron
