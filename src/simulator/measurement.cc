// Measure and reset records: moving the orthogonality centre to the
// measured site, drawing the outcome there and collapsing the state.
#include <cmath>

#include "simulator/engine_clock.h"
#include "simulator/mps_state.h"

namespace taviron {

namespace {

// Whether a measure record can take part in a run: it names a qubit the
// state holds.
bool MeasuresHeldQubit(const GateRecord& record, int64_t qubit_count) {
  return !record.qubits.empty() && record.qubits[0] < static_cast<uint64_t>(qubit_count);
}

}  // namespace

size_t MpsState::ExecuteMeasurementRun(const GateRecordList& records, size_t first) {
  if (!MeasuresHeldQubit(*records[first], qubit_count_)) return first;
  // The run: the first record and the unconditioned, measurable measure
  // records that directly follow it. A conditioned measure record ends the
  // run, so that its condition is tested once the run's outcomes are stored.
  size_t last = first;
  std::vector<int64_t> qubits;
  for (size_t j = first; j < records.size(); ++j) {
    GateRecord& record = *records[j];
    if (j > first && (record.gate_type != GateId::kMeasure || record.conditioned ||
                      !MeasuresHeldQubit(record, qubit_count_))) {
      break;
    }
    record.start_time = SteadyNanoseconds();
    qubits.push_back(static_cast<int64_t>(record.qubits[0]));
    last = j;
  }
  const std::vector<int> outcomes = MeasureQubits(qubits);
  for (size_t j = first; j <= last; ++j) {
    const GateRecord& record = *records[j];
    if (!record.clbits.empty() && record.clbits[0] < classical_values_.size()) {
      classical_values_[record.clbits[0]] = outcomes[j - first];
    }
  }
  const int64_t end = SteadyNanoseconds();  // one reading ends the whole run
  for (size_t j = first; j <= last; ++j) records[j]->end_time = end;
  return last;
}

std::vector<int> MpsState::MeasureQubits(const std::vector<int64_t>& qubits) {
  const size_t n = static_cast<size_t>(qubit_count_);
  std::vector<char> listed(n, 0);
  for (int64_t q : qubits) listed[static_cast<size_t>(q)] = 1;
  std::vector<int64_t> order;
  for (size_t s = 0; s < n; ++s) {
    if (listed[static_cast<size_t>(site_to_qubit_[s])]) order.push_back(static_cast<int64_t>(s));
  }
  std::vector<int> outcome_of_qubit(n, 0);
  for (int64_t site : order) {
    outcome_of_qubit[static_cast<size_t>(site_to_qubit_[static_cast<size_t>(site)])] = MeasureSite(site);
  }
  std::vector<int> outcomes;
  outcomes.reserve(qubits.size());
  for (int64_t q : qubits) outcomes.push_back(outcome_of_qubit[static_cast<size_t>(q)]);
  return outcomes;
}

int MpsState::MeasureSite(int64_t site) {
  // The probabilities are read from the site's own tensor and bond values,
  // which is exact only at the orthogonality centre.
  MoveCentreOnto(site, site);
  const double p0 = ProbabilityOfZero(site);
  const double u = NextMeasurementDraw();
  int outcome = p0 > u ? 0 : 1;
  // The probability of 1 is taken from its own block rather than as 1 - p0,
  // which loses all precision when it is small; the rescaling below then
  // leaves the state at norm 1 to rounding.
  const double p1 = BlockProbability(site, 1);
  // Never an outcome of (numerically) zero probability, whatever the draw.
  if (outcome == 0 && p0 <= kNegligibleOutcomeProbability) outcome = 1;
  if (outcome == 1 && p1 <= kNegligibleOutcomeProbability) outcome = 0;

  // Project onto the outcome and rescale to norm 1. The sites on either side
  // keep their orthonormality; only the measured one loses it, and the
  // centre stays there until something needs it elsewhere.
  std::vector<MatrixXcd>& blocks = sites_[static_cast<size_t>(site)].blocks;
  const double probability = outcome == 0 ? p0 : p1;
  blocks[static_cast<size_t>(1 - outcome)].setZero();
  blocks[static_cast<size_t>(outcome)] *= 1.0 / std::sqrt(probability);
  canonical_form_.Collapse(site);
  return outcome;
}

double MpsState::ProbabilityOfZero(int64_t site) const { return BlockProbability(site, 0); }

double MpsState::BlockProbability(int64_t site, int value) const {
  const size_t s = static_cast<size_t>(site);
  const MatrixXcd& block = sites_[s].blocks[static_cast<size_t>(value)];
  const std::vector<double>* left = site > 0 ? &lambdas_[s - 1] : nullptr;
  const std::vector<double>* right = site < qubit_count_ - 1 ? &lambdas_[s] : nullptr;
  double p = 0.0;
  for (Eigen::Index k = 0; k < block.cols(); ++k) {
    const double rk = right ? (*right)[static_cast<size_t>(k)] : 1.0;
    double column = 0.0;
    for (Eigen::Index j = 0; j < block.rows(); ++j) {
      const double lj = left ? (*left)[static_cast<size_t>(j)] : 1.0;
      column += std::norm(block(j, k) * (lj * rk));
    }
    p += column;
  }
  return p;
}

void MpsState::ExecuteReset(GateRecord& record) {
  RestoreQubitOrder();
  const int64_t site = qubit_to_site_[record.qubits[0]];
  record.start_time = SteadyNanoseconds();
  if (MeasureSite(site) == 1) {
    std::vector<MatrixXcd>& blocks = sites_[static_cast<size_t>(site)].blocks;
    blocks[0].swap(blocks[1]);
  }
  record.end_time = SteadyNanoseconds();
}

}  // namespace taviron
