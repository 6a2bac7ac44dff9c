#include "execution/result.h"

#include <map>

#include "execution/result_memory.h"
#include "execution/run_date.h"
#include "foundation/exceptions.h"
#include "foundation/fork_lock_registry.h"
#include "simulator/mps_state.h"

namespace taviron {

namespace {

const char* const kFunctional = "Functional";
const char* const kNotCompleted = "Job not completed yet. Try again later.";
const char* const kStatevectorGone = "Statevector is is no longer accessible for the given job.";
const char* const kAmplitudesGone = "Amplitude vector is no longer accessible for the given job.";
const char* const kDensityGone = "Density Matrix is no longer accessible for the given job.";
// A job of 0 shots ends with the engine state it started from, which is
// not the state of its circuit.
const char* const kNoShotRun =
    "The job ran no shot, so it has no final state to read; run the circuit with a shot "
    "count, for example backend.run(qc, shots=1024).";

ShotCounts CountShots(const std::vector<std::string>& shots) {
  // std::string orders by unsigned byte value, so the map's order is the
  // ascending byte order of the keys.
  std::map<std::string, int64_t> tally;
  for (const std::string& bits : shots) ++tally[bits];
  return ShotCounts(tally.begin(), tally.end());
}

// 0, 1, ..., count - 1: the qubits of a readout, or the basis indices of
// get_unitary.
template <typename Index>
std::vector<Index> FirstIndices(int64_t count) {
  std::vector<Index> indices(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<Index>(i);
  return indices;
}

// A result's mutex, held across a fork: the thread that runs the job holds
// it for every shot it appends.
std::shared_ptr<std::mutex> MakeResultMutex() {
  struct ResultMutex {
    std::mutex mutex;
    ForkLockRegistration registration{mutex, nullptr, ForkLockRule::kHeldAcrossFork,
                                      ForkLockRank::kResult};
  };
  auto owner = std::make_shared<ResultMutex>();
  return std::shared_ptr<std::mutex>(owner, &owner->mutex);
}

}  // namespace

Result::Result()
    : date_(RunDateText()), status_(kFunctional), mutex_(MakeResultMutex()) {}

Result::Result(std::string backend_name, std::string backend_version, std::string qobj_id,
               std::string job_id, std::string date, std::string /*status*/, std::string header)
    : backend_name_(std::move(backend_name)),
      backend_version_(std::move(backend_version)),
      qobj_id_(std::move(qobj_id)),
      job_id_(std::move(job_id)),
      date_(std::move(date)),
      status_(kFunctional),
      header_(std::move(header)),
      mutex_(MakeResultMutex()) {}

Result::Result(const Result& other) : mutex_(other.mutex_) {
  std::lock_guard<std::mutex> lock(*mutex_);
  backend_name_ = other.backend_name_;
  backend_version_ = other.backend_version_;
  qobj_id_ = other.qobj_id_;
  job_id_ = other.job_id_;
  success_ = other.success_;
  results_ = other.results_;
  date_ = other.date_;
  status_ = other.status_;
  header_ = other.header_;
  state_ = other.state_;
  failure_ = other.failure_;
}

Result::~Result() {
  std::lock_guard<std::mutex> lock(*mutex_);
  state_.reset();
}

std::string Result::backend_name() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return backend_name_;
}

std::string Result::backend_version() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return backend_version_;
}

std::string Result::qobj_id() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return qobj_id_;
}

std::string Result::job_id() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return job_id_;
}

bool Result::success() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return success_;
}

std::vector<std::string> Result::results() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return results_;
}

std::string Result::date() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return date_;
}

std::string Result::status() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return status_;
}

std::string Result::header() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return header_;
}

ResultDictionary Result::to_dict() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  ResultDictionary dictionary;
  dictionary.texts = {
      {"backend_name", backend_name_}, {"backend_version", backend_version_},
      {"date", date_},                 {"header", header_},
      {"qobj_id", qobj_id_},           {"job_id", job_id_},
      {"status", status_},             {"success", success_ ? "Success" : "False"},
  };
  dictionary.results = results_;
  return dictionary;
}

std::vector<std::string> Result::get_memory() const { return results(); }

ShotCounts Result::get_counts() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return CountShots(results_);
}

ComplexVector Result::get_statevector(int32_t, int32_t) {
  std::lock_guard<std::mutex> lock(*mutex_);
  RequireStateLocked(kStatevectorGone);
  return state_->GetStateVector();
}

ComplexVector Result::get_unitary(int32_t, int32_t) const {
  std::lock_guard<std::mutex> lock(*mutex_);
  RequireStateLocked(kAmplitudesGone);
  return state_->GetAmplitudes(FirstIndices<uint64_t>(state_->qubit_count()));
}

std::vector<double> Result::get_probabilities(int32_t, int32_t) const {
  std::lock_guard<std::mutex> lock(*mutex_);
  RequireStateLocked(kAmplitudesGone);
  RequireWithinBudget("The probabilities of " + std::to_string(state_->qubit_count()) + " qubits",
                      ProbabilitiesBytes(state_->qubit_count()));
  return state_->GetProbabilities(AllQubitsLocked());
}

ComplexRows Result::get_densitymatrix(int32_t, int32_t) const {
  std::lock_guard<std::mutex> lock(*mutex_);
  RequireStateLocked(kDensityGone);
  RequireWithinBudget("The density matrix of " + std::to_string(state_->qubit_count()) + " qubits",
                      DensityMatrixBytes(state_->qubit_count()));
  return DensityRowsLocked();
}

std::string Result::get_classicalregister() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  RequireShotsLocked();
  if (!state_) throw RunTimeError(failure_.empty() ? kAmplitudesGone : failure_);
  return state_->GetClassicalRegister();
}

ResultData Result::data(int32_t) {
  std::lock_guard<std::mutex> lock(*mutex_);
  if (!success_) throw RunTimeError(failure_.empty() ? kNotCompleted : failure_);
  RequireShotsLocked();
  ResultData data;
  data.counts = CountShots(results_);
  if (state_) {
    data.has_state = true;
    // First, so that more than 16 qubits meet the state vector's own limit.
    data.statevector = state_->GetStateVector();
    const uint64_t n = state_->qubit_count();
    RequireWithinBudget("The data of " + std::to_string(n) + " qubits",
                        StateVectorBytes(n) + ProbabilitiesBytes(n) + DensityMatrixBytes(n));
    data.probabilities = state_->GetProbabilities(AllQubitsLocked());
    data.amplitudes = state_->GetAmplitudes(FirstIndices<uint64_t>(state_->qubit_count()));
    data.densitymatrix = DensityRowsLocked();
    data.creg = state_->GetClassicalRegister();
  }
  return data;
}

void Result::from_dict() const { throw NotImplemented("Result::from_dict"); }

void Result::AppendShot(std::string bits) {
  std::lock_guard<std::mutex> lock(*mutex_);
  results_.push_back(std::move(bits));
}

void Result::SetFinalState(std::unique_ptr<MpsState> state, bool complete) {
  std::lock_guard<std::mutex> lock(*mutex_);
  state_ = std::move(state);
  if (complete) success_ = true;
}

void Result::Fail(std::string reason) {
  std::lock_guard<std::mutex> lock(*mutex_);
  state_.reset();
  success_ = false;
  failure_ = std::move(reason);
}

void Result::RequireShotsLocked() const {
  if (success_ && results_.empty()) throw RunTimeError(kNoShotRun);
}

void Result::RequireStateLocked(const char* missing_state_message) const {
  RequireShotsLocked();
  if (!state_) throw RunTimeError(failure_.empty() ? missing_state_message : failure_);
  if (!success_) throw RunTimeError(kNotCompleted);
}

ComplexRows Result::DensityRowsLocked() const {
  const MatrixXcd matrix = state_->GetDensityMatrix(AllQubitsLocked());
  ComplexRows rows(static_cast<std::size_t>(matrix.rows()));
  for (Eigen::Index r = 0; r < matrix.rows(); ++r) {
    rows[r].resize(static_cast<std::size_t>(matrix.cols()));
    for (Eigen::Index c = 0; c < matrix.cols(); ++c) rows[r][c] = matrix(r, c);
  }
  return rows;
}

std::vector<int64_t> Result::AllQubitsLocked() const {
  return FirstIndices<int64_t>(state_->qubit_count());
}

}  // namespace taviron
