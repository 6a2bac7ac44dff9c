#ifndef TAVIRON_SIMULATOR_TESTING_DENSE_REFERENCE_H
#define TAVIRON_SIMULATOR_TESTING_DENSE_REFERENCE_H

// Test-only: a plain state-vector simulator, written independently of the
// matrix-product engine, that the engine's results are checked against.
// Amplitude index bit q is the value of qubit q.

#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "circuit/registers.h"
#include "foundation/gate_record.h"

namespace taviron {

class DenseReference {
 public:
  using Complex = std::complex<double>;

  explicit DenseReference(int qubit_count)
      : n_(qubit_count), psi_(size_t{1} << qubit_count, Complex(0.0)) {
    psi_[0] = 1.0;
  }

  int qubit_count() const { return n_; }
  const std::vector<Complex>& amplitudes() const { return psi_; }

  // g acts on (|0>, |1>) of qubit q.
  void ApplyOneQubit(const Eigen::MatrixXcd& g, int q) {
    const size_t bit = size_t{1} << q;
    for (size_t i = 0; i < psi_.size(); ++i) {
      if (i & bit) continue;
      const Complex a = psi_[i], b = psi_[i | bit];
      psi_[i] = g(0, 0) * a + g(0, 1) * b;
      psi_[i | bit] = g(1, 0) * a + g(1, 1) * b;
    }
  }

  // g acts on the basis index 2 * (value of second) + (value of first).
  void ApplyTwoQubit(const Eigen::MatrixXcd& g, int first, int second) {
    const size_t b0 = size_t{1} << first, b1 = size_t{1} << second;
    for (size_t i = 0; i < psi_.size(); ++i) {
      if ((i & b0) || (i & b1)) continue;
      const size_t idx[4] = {i, i | b0, i | b1, i | b0 | b1};
      Complex x[4];
      for (int j = 0; j < 4; ++j) x[j] = psi_[idx[j]];
      for (int r = 0; r < 4; ++r) {
        Complex sum = 0.0;
        for (int c = 0; c < 4; ++c) sum += g(r, c) * x[c];
        psi_[idx[r]] = sum;
      }
    }
  }

  double ProbabilityOf(int q, int value) const {
    double p = 0.0;
    for (size_t i = 0; i < psi_.size(); ++i) {
      if (static_cast<int>((i >> q) & 1u) == value) p += std::norm(psi_[i]);
    }
    return p;
  }

  // Projects qubit q onto value and renormalises.
  void Collapse(int q, int value) {
    const double p = ProbabilityOf(q, value);
    const double scale = 1.0 / std::sqrt(p);
    for (size_t i = 0; i < psi_.size(); ++i) {
      if (static_cast<int>((i >> q) & 1u) == value) {
        psi_[i] *= scale;
      } else {
        psi_[i] = 0.0;
      }
    }
  }

  // Flips qubit q.
  void Flip(int q) {
    const size_t bit = size_t{1} << q;
    for (size_t i = 0; i < psi_.size(); ++i) {
      if (!(i & bit)) std::swap(psi_[i], psi_[i | bit]);
    }
  }

  // Index j: bit m is the value of qubits[m].
  std::vector<double> Probabilities(const std::vector<int64_t>& qubits) const {
    std::vector<double> p(size_t{1} << qubits.size(), 0.0);
    for (size_t i = 0; i < psi_.size(); ++i) p[GroupIndex(i, qubits)] += std::norm(psi_[i]);
    return p;
  }

  // rho(j, l) = sum over the other qubits' values of psi(j, rest) conj(psi(l, rest)).
  Eigen::MatrixXcd DensityMatrix(const std::vector<int64_t>& qubits) const {
    const size_t dim = size_t{1} << qubits.size();
    size_t group_mask = 0;
    for (int64_t q : qubits) group_mask |= size_t{1} << q;
    Eigen::MatrixXcd rho = Eigen::MatrixXcd::Zero(static_cast<Eigen::Index>(dim),
                                                  static_cast<Eigen::Index>(dim));
    for (size_t i = 0; i < psi_.size(); ++i) {
      for (size_t i2 = 0; i2 < psi_.size(); ++i2) {
        if ((i & ~group_mask) != (i2 & ~group_mask)) continue;
        rho(static_cast<Eigen::Index>(GroupIndex(i, qubits)),
            static_cast<Eigen::Index>(GroupIndex(i2, qubits))) += psi_[i] * std::conj(psi_[i2]);
      }
    }
    return rho;
  }

 private:
  static size_t GroupIndex(size_t i, const std::vector<int64_t>& qubits) {
    size_t j = 0;
    for (size_t m = 0; m < qubits.size(); ++m) j |= ((i >> qubits[m]) & 1u) << m;
    return j;
  }

  int n_;
  std::vector<Complex> psi_;
};

// The gate ids the reference needs to know apart.
namespace dense_reference_types {
constexpr GateId kMeasure = GateId::kMeasure;
constexpr GateId kReset = GateId::kReset;
constexpr GateId kComposite = GateId::kComposite;
constexpr GateId kCu1 = GateId::kCU1;
inline bool DoesNothing(GateId type) {
  return type == GateId::kI || type == GateId::kId || IsBarrier(type) || type == GateId::kU0;
}
}  // namespace dense_reference_types

// A record's unitary action on the reference state: the record's own matrix
// (a cu1 record keeps its angle in element (3, 3) instead).
inline void ApplyRecordToDense(DenseReference& ref, const GateRecord& record) {
  namespace t = dense_reference_types;
  if (t::DoesNothing(record.gate_type) || record.qubits.empty()) return;
  if (record.qubits.size() == 1) {
    ref.ApplyOneQubit(record.matrix, static_cast<int>(record.qubits[0]));
    return;
  }
  if (record.qubits.size() != 2) return;
  if (record.gate_type == t::kCu1) {
    Eigen::MatrixXcd g = Eigen::MatrixXcd::Identity(4, 4);
    g(3, 3) = std::polar(1.0, record.matrix(3, 3).real());
    ref.ApplyTwoQubit(g, static_cast<int>(record.qubits[0]), static_cast<int>(record.qubits[1]));
    return;
  }
  ref.ApplyTwoQubit(record.matrix, static_cast<int>(record.qubits[0]),
                    static_cast<int>(record.qubits[1]));
}

// Runs a measurement-free list of records (composites recursively) on the
// reference state. Conditions are not evaluated.
inline void RunUnitaryOnDense(DenseReference& ref, const GateRecordList& records) {
  namespace t = dense_reference_types;
  for (const GateRecordPtr& record : records) {
    if (record->gate_type == t::kComposite) {
      RunUnitaryOnDense(ref, record->body);
    } else if (record->gate_type == t::kMeasure || record->gate_type == t::kReset) {
      throw std::logic_error("RunUnitaryOnDense: measurement in a unitary list");
    } else {
      ApplyRecordToDense(ref, *record);
    }
  }
}

namespace dense_reference_detail {

struct Branch {
  DenseReference state;
  std::vector<int64_t> classical;
  double weight;
  // Frames of (list, next index): composites push their body.
  std::vector<std::pair<const GateRecordList*, size_t>> frames;
};

inline bool ReferenceConditionHolds(const GateRecord& r, const std::vector<int64_t>& classical) {
  if (!r.conditioned) return true;
  if (r.condition_on_clbit) {
    if (r.condition_clbit >= classical.size()) return false;
    const int64_t v = classical[r.condition_clbit];
    return v >= 0 && static_cast<uint64_t>(v) == r.condition_value;
  }
  uint64_t number = 0;
  if (r.condition_register) {
    for (int32_t j = 0; j < r.condition_register->BitCount(); ++j) {
      const int64_t bit = r.condition_register->FirstBitIndex() + j;
      if (bit >= 0 && static_cast<size_t>(bit) < classical.size() && classical[bit] == 1) {
        number |= uint64_t{1} << j;
      }
    }
  }
  return number == r.condition_value;
}

inline std::string ShotBits(const std::vector<int64_t>& classical) {
  std::string bits;
  for (size_t i = classical.size(); i-- > 0;) {
    if (classical[i] == 0 || classical[i] == 1) bits += static_cast<char>('0' + classical[i]);
  }
  return bits;
}

inline void Explore(Branch branch, std::map<std::string, double>& out) {
  namespace t = dense_reference_types;
  while (!branch.frames.empty()) {
    auto& frame = branch.frames.back();
    if (frame.second >= frame.first->size()) {
      branch.frames.pop_back();
      continue;
    }
    const GateRecord& r = *(*frame.first)[frame.second++];
    if (!ReferenceConditionHolds(r, branch.classical)) continue;
    if (r.gate_type == t::kComposite) {
      branch.frames.push_back({&r.body, 0});
      continue;
    }
    if (r.gate_type == t::kMeasure || r.gate_type == t::kReset) {
      const int q = static_cast<int>(r.qubits[0]);
      for (int v = 0; v < 2; ++v) {
        const double p = branch.state.ProbabilityOf(q, v);
        if (p < 1e-12) continue;
        Branch next = branch;
        next.weight *= p;
        next.state.Collapse(q, v);
        if (r.gate_type == t::kMeasure) {
          next.classical[r.clbits[0]] = v;
        } else if (v == 1) {
          next.state.Flip(q);
        }
        Explore(std::move(next), out);
      }
      return;
    }
    ApplyRecordToDense(branch.state, r);
  }
  out[ShotBits(branch.classical)] += branch.weight;
}

}  // namespace dense_reference_detail

// The exact probability of every shot bit string of a record list run from
// the all-zero state of n qubits (n classical bits), measurements, resets and
// conditions included.
inline std::map<std::string, double> ExactShotDistribution(int n, const GateRecordList& records) {
  std::map<std::string, double> out;
  dense_reference_detail::Branch start{DenseReference(n), std::vector<int64_t>(n, -1), 1.0, {}};
  start.frames.push_back({&records, 0});
  dense_reference_detail::Explore(std::move(start), out);
  return out;
}

}  // namespace taviron

#endif
