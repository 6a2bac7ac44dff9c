// Running a list of records on the state, and the two-site gate update that
// every two-qubit gate, swap of sites and re-canonicalisation goes through.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "circuit/quantum_circuit.h"
#include "simulator/condition.h"
#include "simulator/engine_clock.h"
#include "simulator/gate_dispatch.h"
#include "simulator/mps_state.h"
#include "simulator/two_site_split.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

std::string ProgressLine(int32_t counter, int32_t count, const std::string& name) {
  return std::to_string(counter) + " of " + std::to_string(count) + ", gate: " + name + "\n";
}

// Sets both timestamps around an action.
template <typename Action>
void Stamped(GateRecord& record, Action&& action) {
  record.start_time = SteadyNanoseconds();
  action();
  record.end_time = SteadyNanoseconds();
}

// Both timestamps of a record that does nothing: one reading serves both.
void StampedEmpty(GateRecord& record) { record.start_time = record.end_time = SteadyNanoseconds(); }

// The quadrant of the two-site matrix that holds block 2 * s_left + s_right.
Eigen::Block<MatrixXcd> Quadrant(MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, int block) {
  return m.block((block >> 1) * dl, (block & 1) * dr, dl, dr);
}

// A general 4 x 4 gate on the four quadrants, element by element in place.
// Bit 0 of the gate's basis index is its first qubit.
void ApplyGeneralPairGate(MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, const MatrixXcd& gate,
                          bool first_on_right) {
  // Gate basis index g -> block index: the first qubit is s_right when it
  // sits on the right site, s_left otherwise.
  static constexpr int kFirstOnLeft[4] = {0, 2, 1, 3};
  static constexpr int kFirstOnRight[4] = {0, 1, 2, 3};
  const int* idx = first_on_right ? kFirstOnRight : kFirstOnLeft;
  Complex g[4][4];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) g[i][j] = gate(i, j);
  }
  const Eigen::Index ld = m.rows();
  Complex* base = m.data();
  Complex* quadrant[4];
  for (int j = 0; j < 4; ++j) {
    quadrant[j] = base + (idx[j] >> 1) * dl + (idx[j] & 1) * dr * ld;
  }
  for (Eigen::Index c = 0; c < dr; ++c) {
    for (Eigen::Index r = 0; r < dl; ++r) {
      const Eigen::Index p = c * ld + r;
      const Complex x0 = quadrant[0][p], x1 = quadrant[1][p], x2 = quadrant[2][p],
                    x3 = quadrant[3][p];
      for (int i = 0; i < 4; ++i) {
        quadrant[i][p] = g[i][0] * x0 + g[i][1] * x1 + g[i][2] * x2 + g[i][3] * x3;
      }
    }
  }
}

// The gate of a two-site update, applied to the two-site tensor laid out as
// one matrix (quadrant (s_left, s_right) = block 2 * s_left + s_right).
void ApplyPairAction(MatrixXcd& m, Eigen::Index dl, Eigen::Index dr, GateId gate_type,
                     const MatrixXcd& gate, bool first_on_right) {
  const bool has_matrix = gate.rows() >= 4 && gate.cols() >= 4;
  switch (LookupPairAction(gate_type)) {
    case PairAction::kControlledExchange:
      // The control (first qubit) is 1: s_right = 1 when it sits on the
      // right (blocks 1 and 3), s_left = 1 otherwise (blocks 2 and 3).
      Quadrant(m, dl, dr, first_on_right ? 1 : 2).swap(Quadrant(m, dl, dr, 3));
      break;
    case PairAction::kNegateBoth:
      Quadrant(m, dl, dr, 3) *= -1.0;
      break;
    case PairAction::kExchangeMiddle:
      Quadrant(m, dl, dr, 1).swap(Quadrant(m, dl, dr, 2));
      break;
    case PairAction::kPhaseBoth:
      if (has_matrix) {
        const double angle = gate(3, 3).real();
        Quadrant(m, dl, dr, 3) *= Complex(std::cos(angle), std::sin(angle));
      }
      break;
    case PairAction::kGeneral:
      if (has_matrix) ApplyGeneralPairGate(m, dl, dr, gate, first_on_right);
      break;
    case PairAction::kNone:
      break;
  }
}

}  // namespace

void MpsState::ExecuteInstructions(const QuantumCircuit& circuit, const GateRecordList& records,
                                   const OutputSink& progress) {
  ExecuteInstructions(circuit.quiet(), records, progress);
}

void MpsState::ExecuteInstructions(bool quiet, const GateRecordList& records,
                                   const OutputSink& progress) {
  const int32_t count = static_cast<int32_t>(records.size());
  const uint64_t n = static_cast<uint64_t>(qubit_count);
  int32_t printed = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    GateRecord& record = *records[i];
    if (!quiet) {
      if (progress) progress(ProgressLine(printed, count, record.GetName()));
      ++printed;
    }
    if (!ConditionHolds(record, classical_values)) continue;

    // Records that name a qubit the state does not hold cannot act on it;
    // they are skipped like a failed condition.
    const bool qubits_held = std::all_of(record.qubits.begin(), record.qubits.end(),
                                         [n](uint64_t q) { return q < n; });
    const GateDispatch& dispatch = LookupGateDispatch(record.gate_type);
    switch (dispatch.action) {
      case GateAction::kComposite:
        ExecuteInstructions(quiet, record.body, progress);
        continue;
      case GateAction::kMeasure:
        i = ExecuteMeasurementRun(records, i);
        continue;
      case GateAction::kReset:
        if (record.qubits.empty()) {
          StampedEmpty(record);
        } else if (qubits_held) {
          ExecuteReset(record);
        }
        continue;
      case GateAction::kNothing:
        StampedEmpty(record);
        continue;
      default:
        break;
    }
    if (record.qubits.empty()) {
      StampedEmpty(record);
      continue;
    }
    if (!qubits_held) continue;
    QubitTensor& site = sites[static_cast<size_t>(qubit_to_site[record.qubits[0]])];
    switch (dispatch.action) {
      case GateAction::kExchangeBlocks:
        Stamped(record, [&] { site.blocks[0].swap(site.blocks[1]); });
        break;
      case GateAction::kPhaseBlockOne:
        Stamped(record, [&] { site.blocks[1] *= dispatch.phase; });
        break;
      default:
        if (record.qubits.size() == 1) {
          Stamped(record, [&] { site.ApplyGate(record.matrix); });
        } else if (record.qubits.size() == 2 && record.qubits[0] != record.qubits[1]) {
          // A pair naming one qubit twice has no two-qubit action; skipped.
          Stamped(record, [&] {
            ApplyTwoQubitGate(qubit_to_site[record.qubits[0]], qubit_to_site[record.qubits[1]],
                              record.gate_type, record);
          });
        }
        break;
    }
  }
}

void MpsState::ApplyTwoQubitGate(int64_t site_a, int64_t site_b, GateId gate_type,
                                 const GateRecord& record) {
  const int64_t lo = std::min(site_a, site_b);
  MoveSite(std::max(site_a, site_b), lo + 1);
  ApplyTwoSiteGate(lo, gate_type, record.matrix, site_a > site_b);
}

void MpsState::MoveSite(int64_t from, int64_t to) {
  if (from > to) {
    for (int64_t k = from; k > to; --k) SwapSites(k, k - 1);
  } else {
    for (int64_t k = from; k < to; ++k) SwapSites(k, k + 1);
  }
}

void MpsState::SwapSites(int64_t a, int64_t b) {
  const int64_t lo = std::min(a, b);
  const int64_t hi = std::max(a, b);
  if (hi == lo + 1) {
    static const MatrixXcd kNoMatrix;
    ApplyTwoSiteGate(lo, GateId::kSwap, kNoMatrix, false);
    const size_t l = static_cast<size_t>(lo);
    const size_t h = static_cast<size_t>(hi);
    std::swap(site_to_qubit[l], site_to_qubit[h]);
    qubit_to_site[static_cast<size_t>(site_to_qubit[l])] = lo;
    qubit_to_site[static_cast<size_t>(site_to_qubit[h])] = hi;
    return;
  }
  for (int64_t k = lo; k < hi; ++k) SwapSites(k, k + 1);
  for (int64_t k = hi - 1; k > lo; --k) SwapSites(k, k - 1);
}

void MpsState::ApplyTwoSiteGate(int64_t a, GateId gate_type, const MatrixXcd& gate,
                                bool first_on_right) {
  // The split keeps the significant Schmidt values of bond a, which it sees
  // only with the orthogonality centre on the pair.
  MoveCentreOnto(a, a + 1);
  const int64_t n = qubit_count;
  const size_t l = static_cast<size_t>(a);
  QubitTensor& left = sites[l];
  QubitTensor& right = sites[l + 1];
  // Absorb the outer Schmidt values, and the bond's own into the left
  // factor: both sites are replaced below, so they serve as scratch.
  if (a > 0) left.ScaleByLambda(lambdas[l - 1], LambdaSide::kRows, LambdaMode::kMultiply);
  if (a + 1 < n - 1) right.ScaleByLambda(lambdas[l + 1], LambdaSide::kColumns, LambdaMode::kMultiply);
  left.ScaleByLambda(lambdas[l], LambdaSide::kColumns, LambdaMode::kMultiply);

  // The two-site tensor, built directly in the layout the SVD works on.
  const Eigen::Index dl = left.blocks[0].rows();
  const Eigen::Index dr = right.blocks[0].cols();
  // Per-thread storage, reused by every update of the same shape.
  thread_local MatrixXcd m;
  m.resize(2 * dl, 2 * dr);
  for (int sl = 0; sl < 2; ++sl) {
    for (int sr = 0; sr < 2; ++sr) {
      m.block(sl * dl, sr * dr, dl, dr).noalias() = left.blocks[sl] * right.blocks[sr];
    }
  }
  ApplyPairAction(m, dl, dr, gate_type, gate, first_on_right);

  SplitTwoSiteMatrix(m, dl, dr, left, lambdas[l], right);
  if (a > 0) left.ScaleByLambda(lambdas[l - 1], LambdaSide::kRows, LambdaMode::kDivide);
  if (a + 1 < n - 1) right.ScaleByLambda(lambdas[l + 1], LambdaSide::kColumns, LambdaMode::kDivide);
  canonical_form.SplitPair(a);
}

}  // namespace taviron
