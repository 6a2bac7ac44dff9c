#ifndef TAVIRON_SIMULATOR_MPS_STATE_H
#define TAVIRON_SIMULATOR_MPS_STATE_H

#include <complex>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <Eigen/Dense>

#include "foundation/gate_record.h"
#include "foundation/output_sink.h"
#include "simulator/canonical_form.h"
#include "simulator/qubit_tensor.h"
#include "simulator/uniform_draw.h"

namespace taviron {

using Eigen::MatrixXcd;

// A measurement outcome whose probability is this small is rounding noise
// (the state of a qubit known to be 0 or 1 gives p0 a few ulps away from 1
// or 0). It is never chosen: its projection would blow that noise up to a
// unit state.
constexpr double kNegligibleOutcomeProbability = 1e-12;

// A shot's bit string from its classical values: the measured bits (0 or 1)
// from the highest index down to 0; bits not measured (-1) are left out.
std::string FormatShotBits(const std::vector<int64_t>& classical_values);

// The matrix-product state of one job in Vidal form: site k of the chain
// holds qubit site_to_qubit()[k]; lambdas()[k] holds the Schmidt values of
// the bond between sites k and k + 1 (lambdas()[n - 1] is always {1.0}).
// Gates keep the form canonical; a measurement breaks it at the measured
// site only, and canonical_form() says which sites may hold the
// orthogonality centre until later work moves it on (a bond vector is then
// the true Schmidt values only where canonical_form() says so).
//
// The state is
//   sum over s_0..s_{n-1} of  B0[s_0] diag(lambdas()[0]) B1[s_1] ... B{n-1}[s_{n-1}]
// times the basis state in which the qubit on site k has the value s_k.
//
// Readouts over a list of qubits q_0..q_{k-1} answer arrays whose index has
// the value of q_j as its bit j.
class MpsState {
 public:
  // A state of qubit_count (at least 1) qubits, all 0.
  explicit MpsState(int64_t qubit_count);
  MpsState(const MpsState&) = default;
  MpsState& operator=(const MpsState&) = default;
  ~MpsState();

  // Back to the all-zero basis state with bonds of dimension 1, identity
  // maps and every classical value -1.
  void Reset();

  // --- The chain and the classical bits ------------------------------------

  int64_t qubit_count() const { return qubit_count_; }
  // The tensor of each site, and the Schmidt values of each bond.
  const std::vector<QubitTensor>& sites() const { return sites_; }
  const std::vector<std::vector<double>>& lambdas() const { return lambdas_; }
  // Which qubit each site holds, and on which site each qubit is.
  const std::vector<int64_t>& site_to_qubit() const { return site_to_qubit_; }
  const std::vector<int64_t>& qubit_to_site() const { return qubit_to_site_; }
  // The value of each classical bit: 0 or 1 once measured, -1 before.
  const std::vector<int64_t>& classical_values() const { return classical_values_; }
  const CanonicalForm& canonical_form() const { return canonical_form_; }

  // --- Measurement draws --------------------------------------------------

  // The next draw of a measurement: a uniform r from the draw source, mapped
  // onto [lower_bound, upper_bound) (all of [0, 1) unless a test narrows it).
  double NextMeasurementDraw() {
    return lower_bound_ + (upper_bound_ - lower_bound_) * uniform_draw_();
  }
  // Replaces the draw source: a shot thread's generator, or a test's fixed
  // draws.
  void SetUniformDraw(UniformDrawSource draw) { uniform_draw_ = std::move(draw); }
  // Hands the draw source over; the state is left without one until it is
  // given another.
  UniformDrawSource TakeUniformDraw();

  // --- Instruction execution ---------------------------------------------

  // Runs one list of records (the circuit's gates, or a composite's body).
  // When quiet is false a progress line "<i> of <count>, gate: <name>\n" is
  // handed to progress for every record reached (the text keeps its own
  // line end; the sink adds one as print does, so an empty line follows).
  void ExecuteInstructions(bool quiet, const GateRecordList& records,
                           const OutputSink& progress = OutputSink());

  // A two-qubit gate on the qubits at sites a (first operand) and b: moves
  // the farther one next to the other, then updates the pair.
  void ApplyTwoQubitGate(int64_t site_a, int64_t site_b, GateId gate_type,
                         const GateRecord& record);
  // Moves the qubit at `from` to `to` by adjacent swaps.
  void MoveSite(int64_t from, int64_t to);
  // Exchanges the qubits at sites a and b (a != b).
  void SwapSites(int64_t a, int64_t b);
  // Updates sites a and a + 1 and bond a with a gate of the given type;
  // first_on_right says the gate's first qubit is on site a + 1.
  void ApplyTwoSiteGate(int64_t a, GateId gate_type, const MatrixXcd& gate, bool first_on_right);

  // --- Measurement and reset ---------------------------------------------

  // Measures the run of measure records that starts at records[first] (its
  // condition already held) and stores the outcomes; returns the index of
  // the run's last record.
  size_t ExecuteMeasurementRun(const GateRecordList& records, size_t first);
  // Measures each distinct listed qubit once, in ascending site order; the
  // outcome of each listed entry.
  std::vector<int> MeasureQubits(const std::vector<int64_t>& qubits);
  // Moves the orthogonality centre to a site, draws the outcome there and
  // projects onto it; the centre stays at the site.
  int MeasureSite(int64_t site);
  // The probability that the qubit at a site has the value 0 (or the given
  // value): the squared norm of that block with the values of both bonds.
  // Exact at a site that may hold the orthogonality centre.
  double ProbabilityOfZero(int64_t site) const;
  double BlockProbability(int64_t site, int value) const;
  // Re-splits bonds, one site at a time, until the orthogonality centre is
  // within sites lo..hi (nothing when it is already).
  void MoveCentreOnto(int64_t lo, int64_t hi);
  // Re-splits bonds until the whole chain is canonical again.
  void RestoreCanonicalForm();
  // One step of the centre: site k is made left-orthonormal and the rest of
  // bond k goes into site k + 1 (right), or site k is made right-orthonormal
  // and the rest of bond k - 1 goes into site k - 1 (left). Bond k (k - 1)
  // gets the Schmidt values of a decomposition of the centre.
  void ShiftCentreRight(int64_t k);
  void ShiftCentreLeft(int64_t k);
  // Resets the record's first qubit to 0; classical values are untouched.
  void ExecuteReset(GateRecord& record);

  // --- Readouts -------------------------------------------------------------

  std::string GetShotBits() const;
  std::string GetClassicalRegister() const;
  // 2^n amplitudes; brings the chain back to natural order. Throws
  // RunTimeError above 16 qubits.
  std::vector<std::complex<double>> GetStateVector();
  std::vector<double> GetProbabilities(const std::vector<int64_t>& qubits) const;
  MatrixXcd GetDensityMatrix(const std::vector<int64_t>& qubits) const;
  // Amplitude of each basis index (all 64 bits read; 0 outside 0 .. 2^n - 1).
  std::vector<std::complex<double>> GetAmplitudes(const std::vector<uint64_t>& indices) const;

  std::vector<int64_t> QubitsToSites(const std::vector<int64_t>& qubits) const;
  void RestoreQubitOrder();
  // Gathers the qubits on the given distinct sites onto consecutive sites
  // around their median, keeping their order; returns that run.
  std::vector<int64_t> CentralizeQubits(const std::vector<int64_t>& sites);
  // Sites a..b contracted, the values of the two outer bonds absorbed: the
  // state's own amplitudes of the run when a..b hold the orthogonality
  // centre (ContractQubits moves it there).
  QubitTensor ContractSites(int64_t a, int64_t b) const;
  QubitTensor ContractQubits(const std::vector<int64_t>& sites);
  // Probability of each block of the contraction of the given sites, in
  // site order; the stored chain is left as it is.
  std::vector<double> GroupProbabilities(const std::vector<int64_t>& sites) const;

 private:
  friend class MpsStateProbe;  // the tests' view (simulator/testing/mps_state_probe.h)

  int64_t qubit_count_ = 0;
  // Measurements map their uniform draws onto [lower_bound_, upper_bound_).
  double lower_bound_ = 0.0;
  double upper_bound_ = 1.0;
  std::vector<QubitTensor> sites_;
  std::vector<std::vector<double>> lambdas_;
  std::vector<int64_t> classical_values_;
  std::vector<int64_t> site_to_qubit_;
  std::vector<int64_t> qubit_to_site_;
  // Where measurements draw their uniform r in [0, 1) from: a generator
  // seeded once when the state is made.
  UniformDrawSource uniform_draw_;
  CanonicalForm canonical_form_;
};

// The sorted positions and a run of as many consecutive positions around
// their lower median.
struct CentralizedIndices {
  std::vector<int64_t> sorted;
  std::vector<int64_t> run;
};
CentralizedIndices FindCentralizedIndices(const std::vector<int64_t>& positions);

// For each entry, its position in the ascending order of the list.
std::vector<int64_t> ComputeRanks(const std::vector<int64_t>& values);

// Reorders 2^k values indexed with the ascending positions as digits
// (smallest most significant) into values indexed with the positions in
// list order as digits (first listed most significant).
void PermuteBasisAmplitudes(const std::vector<std::complex<double>>& source,
                            const std::vector<int64_t>& positions,
                            std::vector<std::complex<double>>& destination);
void PermuteBasisProbabilities(const std::vector<double>& source,
                               const std::vector<int64_t>& positions,
                               std::vector<double>& destination);
void PermuteBasisIndices(const std::vector<int64_t>& source, const std::vector<int64_t>& positions,
                         std::vector<int64_t>& destination);

}  // namespace taviron

#endif
