#ifndef TAVIRON_EXECUTION_RESULT_H
#define TAVIRON_EXECUTION_RESULT_H

#include <complex>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace taviron {

class MpsState;

using ComplexVector = std::vector<std::complex<double>>;
using ComplexRows = std::vector<ComplexVector>;
// Bit string to number of shots, keys in ascending byte order.
using ShotCounts = std::vector<std::pair<std::string, int64_t>>;

// The contents of Result::to_dict, in key order: the text entries
// "backend_name", "backend_version", "date", "header", "qobj_id", "job_id",
// "status", "success", then "results".
struct ResultDictionary {
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::string> results;
};

// The contents of Result::data: "counts", then, when the result has an
// engine state, "statevector", "probabilities", "amplitudes",
// "densitymatrix" and "creg" in that order.
struct ResultData {
  ShotCounts counts;
  bool has_state = false;
  ComplexVector statevector;
  std::vector<double> probabilities;
  ComplexVector amplitudes;
  ComplexRows densitymatrix;
  std::string creg;
};

// The output of one job: descriptive texts, one bit string per shot, a
// completion flag and, once the job is complete, its final engine state.
// A run fills it from the thread that runs the job while other threads read
// it, so every field is read and written under the result's own mutex; the
// accessors return copies.
class Result {
 public:
  // Empty texts except the current date and the status "Functional".
  Result();
  // The texts of a run; status is "Functional" whatever is given.
  Result(std::string backend_name, std::string backend_version, std::string qobj_id,
         std::string job_id, std::string date, std::string status, std::string header);
  // A copy has the texts, flag and bit strings of other, and shares its
  // mutex and engine state.
  Result(const Result& other);
  Result& operator=(const Result&) = delete;
  ~Result();

  // Read-only attributes.
  std::string backend_name() const;
  std::string backend_version() const;
  std::string qobj_id() const;
  std::string job_id() const;
  bool success() const;
  std::vector<std::string> results() const;
  std::string date() const;
  std::string status() const;
  std::string header() const;

  ResultDictionary to_dict() const;
  std::vector<std::string> get_memory() const;
  ShotCounts get_counts() const;
  // The arguments are accepted and have no effect. RunTimeError when the
  // result has no engine state or is not complete, and when its job ran no
  // shot (its state would be the all-zero start, not the circuit's);
  // MemoryBudgetError
  // (result_memory.h) for a probability or density-matrix readout, or data,
  // that the machine cannot hold.
  ComplexVector get_statevector(int32_t experiment = 0, int32_t decimals = 0);
  ComplexVector get_unitary(int32_t experiment = 0, int32_t decimals = 0) const;
  std::vector<double> get_probabilities(int32_t experiment = 0, int32_t decimals = 0) const;
  ComplexRows get_densitymatrix(int32_t experiment = 0, int32_t decimals = 0) const;
  std::string get_classicalregister() const;
  ResultData data(int32_t experiment);
  // Always throws NotImplemented "Result::from_dict".
  [[noreturn]] void from_dict() const;

  // Used by the run paths.
  void AppendShot(std::string bits);
  // Stores the final engine state (or none) and, when complete is set, the
  // completion flag, in one hold of the mutex.
  void SetFinalState(std::unique_ptr<MpsState> state, bool complete);
  // Marks the job's run as failed: no engine state, not complete, and every
  // readout that needs the state, and data, raise RunTimeError with reason
  // instead of the messages of a result that is not complete yet.
  void Fail(std::string reason);

 private:
  // The readouts' checks, mutex held: a complete job ran at least one shot;
  // an engine state (else the failure reason, or missing_state_message),
  // then completion.
  void RequireShotsLocked() const;
  void RequireStateLocked(const char* missing_state_message) const;
  // Readouts that expect the mutex held.
  ComplexRows DensityRowsLocked() const;
  // The qubits 0, 1, ..., n-1 of the engine state.
  std::vector<int64_t> AllQubitsLocked() const;

  std::string backend_name_;
  std::string backend_version_;
  std::string qobj_id_;
  std::string job_id_;
  bool success_ = false;
  std::vector<std::string> results_;
  std::string date_;
  std::string status_;
  std::string header_;
  std::shared_ptr<std::mutex> mutex_;
  std::shared_ptr<MpsState> state_;
  std::string failure_;
};

}  // namespace taviron

#endif
