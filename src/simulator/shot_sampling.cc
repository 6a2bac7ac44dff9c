#include "simulator/shot_sampling.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <utility>
#include <vector>

#include <Eigen/QR>

#include "simulator/gate_dispatch.h"
#include "simulator/hot_kernel.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

GateAction ActionOf(const GateRecord& record) { return LookupGateDispatch(record.gate_type).action; }

// Whether a record or any record of its body has a condition or is a reset
// or a measurement.
bool HoldsConditionResetOrMeasure(const GateRecord& record) {
  const GateAction action = ActionOf(record);
  if (record.conditioned || action == GateAction::kReset || action == GateAction::kMeasure) {
    return true;
  }
  return std::any_of(record.body.begin(), record.body.end(),
                     [](const GateRecordPtr& part) { return HoldsConditionResetOrMeasure(*part); });
}

// Whether a record or its body names a qubit marked in `measured`.
bool TouchesMarked(const GateRecord& record, const std::vector<char>& measured) {
  for (uint64_t q : record.qubits) {
    if (q < measured.size() && measured[q]) return true;
  }
  return std::any_of(record.body.begin(), record.body.end(),
                     [&](const GateRecordPtr& part) { return TouchesMarked(*part, measured); });
}

// One draw of a shot: the site it measures and whether an earlier draw of
// the same shot measured it already (the outcome is then that one).
struct Draw {
  int64_t site;
  bool repeat;
};

// The draws of one shot in order, the measure records' places in the list
// and where each measurement run starts, as the state after the gates
// places the qubits.
struct DrawPlan {
  std::vector<Draw> draws;
  std::vector<size_t> run_starts;
  std::vector<size_t> measures;
  bool ascending = true;
};

DrawPlan PlanDraws(const MpsState& state, const GateRecordList& records) {
  DrawPlan plan;
  const size_t n = static_cast<size_t>(state.qubit_count);
  std::vector<char> drawn(n, 0);
  int64_t last_site = -1;
  for (size_t i = 0; i < records.size();) {
    if (ActionOf(*records[i]) != GateAction::kMeasure) {
      ++i;
      continue;
    }
    plan.run_starts.push_back(i);
    std::vector<char> in_run(n, 0);
    for (; i < records.size() && ActionOf(*records[i]) == GateAction::kMeasure; ++i) {
      in_run[records[i]->qubits[0]] = 1;
      plan.measures.push_back(i);
    }
    // A run measures its distinct qubits once each, in ascending site order.
    for (size_t site = 0; site < n; ++site) {
      const size_t qubit = static_cast<size_t>(state.site_to_qubit[site]);
      if (!in_run[qubit]) continue;
      const bool repeat = drawn[qubit] != 0;
      if (!repeat) {
        plan.ascending = plan.ascending && static_cast<int64_t>(site) > last_site;
        last_site = static_cast<int64_t>(site);
      }
      drawn[qubit] = 1;
      plan.draws.push_back({static_cast<int64_t>(site), repeat});
    }
  }
  return plan;
}

// x := w * (block scaled on its columns by lambda), with w r x Dl. The
// complex products are written out in real arithmetic: the library's
// complex multiplication guards every product against infinities, which
// costs more than the product itself here.
TAVIRON_HOT_KERNEL void ContractRightCanonical(const Complex* w, Eigen::Index r, Eigen::Index dl,
                                               const MatrixXcd& block,
                                               const std::vector<double>& lambda, bool trivial,
                                               Complex* x) {
  const Eigen::Index dr = block.cols();
  const double* wd = reinterpret_cast<const double*>(w);
  for (Eigen::Index c = 0; c < dr; ++c) {
    const double scale = trivial ? 1.0 : lambda[static_cast<size_t>(c)];
    const double* column = reinterpret_cast<const double*>(block.data() + c * dl);
    double* out = reinterpret_cast<double*>(x + c * r);
    if (r == 1) {
      // One row: a dot product, in two interleaved partial sums.
      double re[2] = {0.0, 0.0}, im[2] = {0.0, 0.0};
      Eigen::Index j = 0;
      for (; j + 1 < dl; j += 2) {
        for (int k = 0; k < 2; ++k) {
          const double ar = wd[2 * (j + k)], ai = wd[2 * (j + k) + 1];
          const double br = column[2 * (j + k)], bi = column[2 * (j + k) + 1];
          re[k] += ar * br - ai * bi;
          im[k] += ar * bi + ai * br;
        }
      }
      if (j < dl) {
        const double ar = wd[2 * j], ai = wd[2 * j + 1], br = column[2 * j], bi = column[2 * j + 1];
        re[0] += ar * br - ai * bi;
        im[0] += ar * bi + ai * br;
      }
      out[0] = (re[0] + re[1]) * scale;
      out[1] = (im[0] + im[1]) * scale;
      continue;
    }
    for (Eigen::Index i = 0; i < 2 * r; ++i) out[i] = 0.0;
    for (Eigen::Index j = 0; j < dl; ++j) {
      const double br = column[2 * j] * scale, bi = column[2 * j + 1] * scale;
      const double* wj = wd + 2 * j * r;
      for (Eigen::Index i = 0; i < r; ++i) {
        const double ar = wj[2 * i], ai = wj[2 * i + 1];
        out[2 * i] += ar * br - ai * bi;
        out[2 * i + 1] += ar * bi + ai * br;
      }
    }
  }
}

// The sum of the squared magnitudes of `count` complex values.
TAVIRON_HOT_KERNEL double SquaredNorm(const Complex* values, size_t count) {
  const double* d = reinterpret_cast<const double*>(values);
  double sum = 0.0;
  for (size_t i = 0; i < 2 * count; ++i) sum += d[i] * d[i];
  return sum;
}

// The left environment of the sweep: a matrix W (rows x bond) with W^H W
// the reduced state of everything left of the current bond, conditioned on
// the outcomes drawn so far. One row while every site so far was measured;
// tracing out unmeasured sites adds rows, which are folded back to at most
// the bond dimension.
class Sweep {
 public:
  explicit Sweep(const MpsState& state) : state_(state) {}

  // Starts a shot at the first measured site.
  void Start(int64_t first_site) {
    site_ = first_site;
    if (first_site == 0 || IsTrivialBond(Lambda(first_site - 1))) {
      rows_ = cols_ = 1;
      w_.assign(1, Complex(1.0));
      return;
    }
    // Tracing out every site left of the first measured one leaves the
    // Schmidt values of the bond before it.
    const std::vector<double>& lambda = Lambda(first_site - 1);
    rows_ = cols_ = static_cast<Eigen::Index>(lambda.size());
    w_.assign(lambda.size() * lambda.size(), Complex(0.0));
    for (size_t j = 0; j < lambda.size(); ++j) w_[j * lambda.size() + j] = lambda[j];
  }

  // Moves the environment over the unmeasured sites up to (not including)
  // `site`.
  void TraceUpTo(int64_t site) {
    for (; site_ < site; ++site_) {
      const Eigen::Index dr = Block(site_, 0).cols();
      x_.resize(static_cast<size_t>(2 * rows_ * dr));
      for (int s = 0; s < 2; ++s) Contract(site_, s, x_.data() + s * rows_ * dr);
      // Stack the two products: row i of outcome s becomes row s * rows + i.
      stacked_.resize(2 * rows_, dr);
      for (int s = 0; s < 2; ++s) {
        stacked_.middleRows(s * rows_, rows_) =
            Eigen::Map<const MatrixXcd>(x_.data() + s * rows_ * dr, rows_, dr);
      }
      Fold(dr);
    }
  }

  // The conditional probabilities of 0 and 1 at `site` (the sweep being
  // there), unnormalised, keeping both products for Collapse.
  std::pair<double, double> Probabilities() {
    const Eigen::Index dr = Block(site_, 0).cols();
    const size_t size = static_cast<size_t>(rows_ * dr);
    x_.resize(2 * size);
    double p[2];
    for (int s = 0; s < 2; ++s) {
      Complex* x = x_.data() + s * size;
      Contract(site_, s, x);
      p[s] = SquaredNorm(x, size);
    }
    return {p[0], p[1]};
  }

  // Keeps the product of the outcome drawn, scaled to norm 1, and moves on.
  void Collapse(int outcome, double probability) {
    const Eigen::Index dr = Block(site_, 0).cols();
    const size_t size = static_cast<size_t>(rows_ * dr);
    const double scale = 1.0 / std::sqrt(probability);
    w_.resize(size);
    const Complex* x = x_.data() + static_cast<size_t>(outcome) * size;
    for (size_t i = 0; i < size; ++i) w_[i] = x[i] * scale;
    cols_ = dr;
    ++site_;
    if (rows_ > cols_) {
      stacked_ = Eigen::Map<const MatrixXcd>(w_.data(), rows_, cols_);
      Fold(cols_);
    }
  }

 private:
  const std::vector<double>& Lambda(int64_t bond) const {
    return state_.lambdas[static_cast<size_t>(bond)];
  }
  const MatrixXcd& Block(int64_t site, int s) const {
    return state_.sites[static_cast<size_t>(site)].blocks[static_cast<size_t>(s)];
  }
  void Contract(int64_t site, int s, Complex* out) const {
    const std::vector<double>& lambda = Lambda(site);
    ContractRightCanonical(w_.data(), rows_, cols_, Block(site, s), lambda, IsTrivialBond(lambda),
                           out);
  }
  // W := stacked_, with its rows folded to at most `cols` by a QR
  // decomposition (W^H W = R^H R).
  void Fold(Eigen::Index cols) {
    Eigen::Index rows = stacked_.rows();
    if (rows > cols) {
      qr_.compute(stacked_);
      stacked_ = qr_.matrixQR().topRows(cols).triangularView<Eigen::Upper>();
      rows = cols;
    }
    rows_ = rows;
    cols_ = cols;
    w_.assign(stacked_.data(), stacked_.data() + stacked_.size());
  }

  const MpsState& state_;
  int64_t site_ = 0;
  Eigen::Index rows_ = 1;
  Eigen::Index cols_ = 1;
  std::vector<Complex> w_;  // rows_ x cols_, column-major
  std::vector<Complex> x_;  // the products of both outcomes
  MatrixXcd stacked_;
  Eigen::HouseholderQR<MatrixXcd> qr_;
};

int DrawOutcome(double p0, double p1, double u) {
  const double total = p0 + p1;
  const double q0 = p0 / total;
  int outcome = q0 > u ? 0 : 1;
  if (outcome == 0 && q0 <= kNegligibleOutcomeProbability) outcome = 1;
  if (outcome == 1 && p1 / total <= kNegligibleOutcomeProbability) outcome = 0;
  return outcome;
}

}  // namespace

bool QualifiesForSampling(const GateRecordList& records, bool quiet, int64_t qubit_count) {
  if (!quiet) return false;
  std::vector<char> measured(static_cast<size_t>(qubit_count), 0);
  for (const GateRecordPtr& record : records) {
    if (ActionOf(*record) == GateAction::kMeasure) {
      if (record->conditioned || record->qubits.empty() ||
          record->qubits[0] >= static_cast<uint64_t>(qubit_count)) {
        return false;
      }
      measured[record->qubits[0]] = 1;
      continue;
    }
    if (HoldsConditionResetOrMeasure(*record) || TouchesMarked(*record, measured)) return false;
  }
  return true;
}

bool RunSampledShots(MpsState& state, const GateRecordList& records, int32_t shots,
                     const std::function<void(std::string)>& append) {
  state.fresh = false;
  GateRecordList gates;
  for (const GateRecordPtr& record : records) {
    if (ActionOf(*record) != GateAction::kMeasure) gates.push_back(record);
  }
  state.ExecuteInstructions(true, gates);

  const DrawPlan plan = PlanDraws(state, records);
  if (!plan.ascending) return false;

  const size_t n = static_cast<size_t>(state.qubit_count);
  std::vector<int> outcome_at_site(n, 0);
  std::vector<int64_t> values(n, -1);
  const int64_t first_site = plan.draws.empty() ? 0 : plan.draws.front().site;
  Sweep sweep(state);
  for (int32_t shot = 0; shot + 1 < shots; ++shot) {
    sweep.Start(first_site);
    for (const Draw& draw : plan.draws) {
      const double u =
          state.lower_bound + (state.upper_bound - state.lower_bound) * state.uniform_draw();
      if (draw.repeat) continue;
      sweep.TraceUpTo(draw.site);
      const std::pair<double, double> p = sweep.Probabilities();
      const int outcome = DrawOutcome(p.first, p.second, u);
      sweep.Collapse(outcome, outcome == 0 ? p.first : p.second);
      outcome_at_site[static_cast<size_t>(draw.site)] = outcome;
    }
    std::fill(values.begin(), values.end(), -1);
    for (size_t index : plan.measures) {
      const GateRecord& record = *records[index];
      if (!record.clbits.empty() && record.clbits[0] < n) {
        const size_t site = static_cast<size_t>(state.qubit_to_site[record.qubits[0]]);
        values[record.clbits[0]] = outcome_at_site[site];
      }
    }
    append(FormatShotBits(values));
  }
  // The last shot measures the state itself.
  for (size_t start : plan.run_starts) state.ExecuteMeasurementRun(records, start);
  append(state.GetShotBits());
  return true;
}

}  // namespace taviron
