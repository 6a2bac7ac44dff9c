// The two ways a circuit reaches the engine (queued for the worker, or at
// once in the calling thread) and the execution of one job.
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "circuit/quantum_circuit.h"
#include "execution/backend.h"
#include "execution/job.h"
#include "execution/parameter_check.h"
#include "execution/result.h"
#include "execution/result_memory.h"
#include "execution/run_arguments.h"
#include "execution/run_date.h"
#include "foundation/exceptions.h"
#include "foundation/text_utilities.h"
#include "simulator/mps_state.h"
#include "simulator/run_shots.h"

namespace taviron {

namespace {

void Print(const OutputSink& sink, const std::string& text) {
  if (sink) sink(text);
}

void RequireCircuit(const std::shared_ptr<QuantumCircuit>& circuit) {
  if (!circuit) throw std::invalid_argument("A run needs a circuit.");
}

// Refuses, before any job exists, a shot count whose bit strings the
// machine could not hold.
void RequireShotStorage(const QuantumCircuit& circuit) {
  RequireWithinBudget("A run of " + std::to_string(circuit.shots()) + " shots",
                      ShotStorageBytes(circuit.shots(), circuit.num_qubits() + circuit.num_ancillas()));
}

}  // namespace

std::shared_ptr<JobV1> BackendV2::run(const std::shared_ptr<QuantumCircuit>& circuit,
                                      const RunOptions& options, const OutputSink& sink,
                                      const OutsideCaller& outside) {
  RequireCircuit(circuit);
  if (options.shots) RequireShotCount(*options.shots);
  if (options.shots) circuit->set_shots(*options.shots);
  if (options.quiet) circuit->set_quiet(*options.quiet);
  RequireShotStorage(*circuit);
  const bool sync = options.mode && IsSyncMode(*options.mode);
  return sync ? RunSync(circuit, sink, outside) : SubmitAsync(circuit, sink);
}

std::shared_ptr<JobV1> BackendV2::run_shots(const std::shared_ptr<QuantumCircuit>& circuit,
                                            int32_t shots, const OutputSink& sink) {
  RequireCircuit(circuit);
  RequireShotCount(shots);
  circuit->set_shots(shots);
  RequireShotStorage(*circuit);
  return SubmitAsync(circuit, sink);
}

std::shared_ptr<JobV1> BackendV2::BeginJob(const std::string& job_id) {
  auto job = std::make_shared<JobV1>(job_id);
  auto result = std::make_shared<Result>(name, backend_version, "", job_id, RunDateText(),
                                         "Functional", "");
  job->Attach(shared_from_this(), std::move(result));
  return job;
}

std::shared_ptr<JobV1> BackendV2::SubmitAsync(const std::shared_ptr<QuantumCircuit>& circuit,
                                              const OutputSink& sink) {
  std::shared_ptr<JobV1> job = BeginJob(std::to_string(job_counter_.load()));
  ExecutionTask task{circuit, job, CopyCircuit(*circuit), sink};
  job_counter_.fetch_add(1);  // wraps around at the 32-bit limit
  // Let go after the mutexes are released.
  std::deque<ExecutionTask> let_go;
  std::lock_guard<std::mutex> guard(state_mutex_);
  const std::shared_ptr<WorkQueue> queue = QueueOfThisProcessLocked(true, let_go);
  std::lock_guard<std::mutex> lock(queue->mutex);
  job->SetStatus(JobStatus::QUEUED);
  if (queue->stop) {
    // A stopped worker takes no task: the job stays QUEUED.
    let_go.push_back(std::move(task));
  } else {
    queue->tasks.push_back(std::move(task));
    queue->wake.notify_one();
  }
  return job;
}

std::shared_ptr<JobV1> BackendV2::RunSync(const std::shared_ptr<QuantumCircuit>& circuit,
                                          const OutputSink& sink, const OutsideCaller& outside) {
  std::shared_ptr<JobV1> job = BeginJob(std::to_string(job_counter_.load()));
  {
    std::deque<ExecutionTask> let_go;
    std::lock_guard<std::mutex> guard(state_mutex_);
    const std::shared_ptr<WorkQueue> queue = QueueOfThisProcessLocked(false, let_go);
    std::lock_guard<std::mutex> lock(queue->mutex);
    if (!queue->tasks.empty()) {
      throw RunTimeError(
          "The execution queue is not empty. Wait for completion or execute in async mode.");
    }
  }
  job->SetStatus(JobStatus::RUNNING);
  const RunSnapshot snapshot = ShareCircuit(*circuit);
  const std::shared_ptr<Result> result = job->result();
  const auto execute = [&] { ExecuteJob(snapshot, *job, *result, true, sink); };
  if (outside) {
    outside(execute);
  } else {
    execute();
  }
  return job;
}

void BackendV2::ExecuteJob(const RunSnapshot& snapshot, JobV1& job, Result& result,
                           bool time_lines, const OutputSink& sink) {
  const std::string refused = NonFiniteParameterReason(snapshot.gates);
  if (!refused.empty()) {
    result.Fail(refused);
    job.SetStatus(JobStatus::ERROR);
    return;
  }
  std::unique_ptr<MpsState> state;
  try {
    state = std::make_unique<MpsState>(static_cast<int64_t>(snapshot.qubit_count));
  } catch (const std::exception&) {
    result.SetFinalState(nullptr, false);
    job.SetStatus(JobStatus::ERROR);
    return;
  }
  const bool print_times = time_lines && !snapshot.quiet;
  if (print_times) Print(sink, "Executing Circuit start time " + CurrentTimestamp() + "\n");
  state = RunShots(std::move(state), snapshot.gates, snapshot.shots, snapshot.quiet,
                   [&result](std::string bits) { result.AppendShot(std::move(bits)); }, sink);
  if (print_times) Print(sink, "Completed Circuit end time " + CurrentTimestamp() + "\n");
  result.SetFinalState(std::move(state), true);
  job.SetStatus(JobStatus::DONE);
}

}  // namespace taviron
