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

// The records of a list in the order they run, each composite replaced by
// its body.
void AppendLeaves(const GateRecordList& records, GateRecordList& leaves) {
  for (const GateRecordPtr& record : records) {
    if (ActionOf(*record) == GateAction::kComposite) {
      AppendLeaves(record->body, leaves);
    } else {
      leaves.push_back(record);
    }
  }
}

// Whether a record or its body names a qubit marked in `measured`.
bool TouchesMarked(const GateRecord& record, const std::vector<char>& measured) {
  for (uint64_t q : record.qubits) {
    if (q < measured.size() && measured[q]) return true;
  }
  return false;
}

// Checks a list, composites entered, in the order it runs; `measured`
// marks the qubits measured so far.
bool RecordsQualify(const GateRecordList& records, int64_t qubit_count,
                    std::vector<char>& measured) {
  for (const GateRecordPtr& record : records) {
    if (record->conditioned) return false;
    switch (ActionOf(*record)) {
      case GateAction::kComposite:
        if (!RecordsQualify(record->body, qubit_count, measured)) return false;
        break;
      case GateAction::kMeasure:
        if (record->qubits.empty() || record->qubits[0] >= static_cast<uint64_t>(qubit_count)) {
          return false;
        }
        measured[record->qubits[0]] = 1;
        break;
      case GateAction::kReset:
        return false;
      case GateAction::kNothing:
        break;  // a barrier on a measured qubit changes nothing
      default:
        if (TouchesMarked(*record, measured)) return false;
        break;
    }
  }
  return true;
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
    return state_.lambdas()[static_cast<size_t>(bond)];
  }
  const MatrixXcd& Block(int64_t site, int s) const {
    return state_.sites()[static_cast<size_t>(site)].blocks[static_cast<size_t>(s)];
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

bool QualifiesForSampling(const GateRecordList& records, int64_t qubit_count) {
  std::vector<char> measured(static_cast<size_t>(qubit_count), 0);
  return RecordsQualify(records, qubit_count, measured);
}

void RunSampledShots(MpsState& state, const GateRecordList& records, int32_t shots,
                     const std::function<void(std::string)>& append) {
  GateRecordList leaves;
  AppendLeaves(records, leaves);
  GateRecordList gates;
  std::vector<const GateRecord*> measures;
  for (const GateRecordPtr& record : leaves) {
    if (ActionOf(*record) == GateAction::kMeasure) {
      measures.push_back(record.get());
    } else {
      gates.push_back(record);
    }
  }
  state.ExecuteInstructions(true, gates);

  // No record touches a qubit once it is measured, so every measurement
  // can wait for the end of the circuit: each measured qubit is drawn once,
  // in ascending site order, and every record takes its qubit's outcome.
  const size_t n = static_cast<size_t>(state.qubit_count());
  std::vector<char> is_measured(n, 0);
  for (const GateRecord* record : measures) is_measured[record->qubits[0]] = 1;
  std::vector<int64_t> sites;
  for (size_t site = 0; site < n; ++site) {
    if (is_measured[static_cast<size_t>(state.site_to_qubit()[site])]) {
      sites.push_back(static_cast<int64_t>(site));
    }
  }

  std::vector<int> outcome_at_site(n, 0);
  std::vector<int64_t> values(n, -1);
  Sweep sweep(state);
  for (int32_t shot = 0; shot + 1 < shots; ++shot) {
    if (!sites.empty()) sweep.Start(sites.front());
    for (int64_t site : sites) {
      const double u = state.NextMeasurementDraw();
      sweep.TraceUpTo(site);
      const std::pair<double, double> p = sweep.Probabilities();
      const int outcome = DrawOutcome(p.first, p.second, u);
      sweep.Collapse(outcome, outcome == 0 ? p.first : p.second);
      outcome_at_site[static_cast<size_t>(site)] = outcome;
    }
    std::fill(values.begin(), values.end(), -1);
    for (const GateRecord* record : measures) {
      if (!record->clbits.empty() && record->clbits[0] < n) {
        const size_t site = static_cast<size_t>(state.qubit_to_site()[record->qubits[0]]);
        values[record->clbits[0]] = outcome_at_site[site];
      }
    }
    append(FormatShotBits(values));
  }
  // The last shot measures the state itself, run by run as the records
  // stand, so that the state ends collapsed onto that shot's outcomes.
  for (size_t i = 0; i < leaves.size(); ++i) {
    if (ActionOf(*leaves[i]) == GateAction::kMeasure) i = state.ExecuteMeasurementRun(leaves, i);
  }
  append(state.GetShotBits());
}

}  // namespace taviron
