#ifndef TAVIRON_EXECUTION_BACKEND_H
#define TAVIRON_EXECUTION_BACKEND_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "execution/run_snapshot.h"
#include "foundation/fork_lock_registry.h"
#include "foundation/output_sink.h"

namespace taviron {

class JobV1;
class QuantumCircuit;
class Result;

// The keyword arguments of a run, each already converted, present only when
// given: the shot count and quiet flag are written into the circuit, the
// mode chooses the path ("sync" in any letter case runs in the calling
// thread, anything else queues).
struct RunOptions {
  std::optional<int32_t> shots;
  std::optional<std::string> mode;
  std::optional<bool> quiet;
};

// One entry of a backend's queue. It holds the circuit that the run was
// given and the job, and carries what the shots need (see CopyCircuit) and
// the sink that the job's progress lines go to from the worker thread. A
// sink given to a queued run is called and released on the worker thread.
struct ExecutionTask {
  std::shared_ptr<QuantumCircuit> circuit;
  std::shared_ptr<JobV1> job;
  RunSnapshot snapshot;
  OutputSink sink;
};

// How a synchronous run leaves its caller while it simulates: runs `step`,
// which touches nothing of the caller's (the Python layer lets the
// interpreter lock go for it, taking it back only to print). Empty: runs
// the step as it is.
using OutsideCaller = std::function<void(const std::function<void()>& step)>;

// The local simulator backend: a first-in first-out queue of tasks served
// one at a time by a worker thread of its own. Always owned through
// std::shared_ptr (its jobs hold it), so that it lives as long as its last
// holder; the last holder may be let go on the worker thread itself, in
// which case the worker is detached instead of joined.
//
// After a fork the worker's thread exists only in the parent. In the child
// the backend takes itself over at its first use (TakeOverAfterFork): the
// parent runs the jobs that were queued or running at the fork, so here
// the queued ones end CANCELLED and the running one ERROR, and the backend
// gets a queue of its own, served by a new worker from its next queued run.
class BackendV2 : public std::enable_shared_from_this<BackendV2> {
 public:
  const int32_t version = 2;
  const int32_t dt = 1;
  const int32_t dtm = 1;
  const int32_t max_circuits = 1;
  const int32_t num_qubits = 100;
  const std::string name = "velmora_taviron";
  const std::string description = "Taviron Simulator Velmora";
  const std::string online_date = "9/12/2023";
  const std::string backend_version = "0.2.1";

  // Starts the worker; std::system_error when the thread cannot start.
  BackendV2();
  BackendV2(const BackendV2&) = delete;
  BackendV2& operator=(const BackendV2&) = delete;
  // StopWorker.
  ~BackendV2();

  // The two entries of a run: each writes the shot count and quiet flag it
  // is given into the circuit, checks the circuit once, and hands it to the
  // path. run runs synchronously (mode "sync") or queues; run_shots queues.
  // Lines go to sink; a synchronous run simulates through outside.
  std::shared_ptr<JobV1> run(const std::shared_ptr<QuantumCircuit>& circuit,
                             const RunOptions& options = {}, const OutputSink& sink = {},
                             const OutsideCaller& outside = {});
  std::shared_ptr<JobV1> run_shots(const std::shared_ptr<QuantumCircuit>& circuit,
                                   int32_t shots, const OutputSink& sink = {});

  // Runs one job: one engine state, its shots (RunShots, in the simulator)
  // and the completion of its Result. Exceptions raised during a shot
  // propagate (the worker turns them into ERROR); failing to make the
  // engine state ends the job ERROR at once.
  static void ExecuteJob(const RunSnapshot& snapshot, JobV1& job, Result& result,
                         bool time_lines, const OutputSink& sink);

  // Sets the stop flag and wakes the worker, without waiting: the job it
  // runs finishes, it takes no further task. Lets a caller stop many
  // backends at once before waiting for each.
  void RequestStop();
  // RequestStop, then waits for the worker to end, or detaches it when
  // called on the worker thread itself. Tasks still queued are let go and
  // their jobs stay QUEUED; a run queued afterwards stays QUEUED too.
  // Idempotent. Whoever calls it from outside must hold the backend.
  void StopWorker();
  // In a process forked (at any depth) from the one whose worker serves
  // this backend: leaves that worker to its process without joining,
  // detaching or destroying its thread handle (in this process the handle
  // may name another thread); the jobs of the tasks it had queued end
  // CANCELLED and the job it was running ends ERROR, its Result failed
  // with kRanInParentReason, since that process runs them; the backend then
  // has an empty queue of its own, served by a worker that its next queued
  // run starts. Does nothing in the worker's own process. Every use of the
  // backend calls it first; a forked child may call it at once.
  void TakeOverAfterFork();

  static constexpr const char* kRanInParentReason =
      "The job was running when this process was forked; it runs on in the process it was "
      "forked from, not here.";

 private:
  // The queue and its guards, shared by the backend and its worker thread so
  // that a detached worker never touches the backend itself.
  struct WorkQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<ExecutionTask> tasks;
    std::atomic<bool> stop{false};
    // The job of the task that the worker runs.
    std::weak_ptr<JobV1> running;
    ForkLockRegistration fork_registration{mutex, &wake, ForkLockRule::kHeldAcrossFork,
                                           ForkLockRank::kQueue};
  };

  // The queued path: returns the job QUEUED (or already taken by the
  // worker); the job id is the job counter, which then advances.
  std::shared_ptr<JobV1> SubmitAsync(const std::shared_ptr<QuantumCircuit>& circuit,
                                     const OutputSink& sink);
  // The synchronous path, in the calling thread: returns the job DONE (or
  // ERROR when no engine state could be made). Refused with RunTimeError
  // while tasks wait in the queue. Takes the job counter's value as the id
  // without advancing it. What it reads of the circuit is taken before the
  // simulation, which runs through outside.
  std::shared_ptr<JobV1> RunSync(const std::shared_ptr<QuantumCircuit>& circuit,
                                 const OutputSink& sink, const OutsideCaller& outside = {});
  static void WorkerLoop(std::shared_ptr<WorkQueue> queue);
  static void StopAndWake(WorkQueue& queue);
  static void RunTask(ExecutionTask& task);
  // The beginning common to both paths: a new job with its Result, held by
  // the job together with this backend.
  std::shared_ptr<JobV1> BeginJob(const std::string& job_id);
  // The queue that this process serves, state_mutex_ held: takes the backend
  // over first when the worker belongs to an ancestor process (the tasks it
  // leaves go to let_go, to be let go once the mutex is released), and
  // starts a worker when asked and none serves the queue (unless stopped).
  std::shared_ptr<WorkQueue> QueueOfThisProcessLocked(bool start_worker,
                                                      std::deque<ExecutionTask>& let_go);
  void StartWorkerLocked();

  std::atomic<int32_t> job_counter_{0};
  // Guards queue_, worker_ and worker_generation_; held briefly, and taken
  // before a queue mutex where both are held.
  std::mutex state_mutex_;
  ForkLockRegistration state_mutex_registration_{state_mutex_, nullptr,
                                                 ForkLockRule::kHeldAcrossFork,
                                                 ForkLockRank::kBackend};
  std::shared_ptr<WorkQueue> queue_;
  std::unique_ptr<std::thread> worker_;
  // ForkGeneration() of the process whose thread serves queue_.
  uint64_t worker_generation_;
  // Makes StopWorker's callers wait for one another. Held while the worker
  // is joined, so a forked child makes it new instead of waiting for it.
  std::mutex stop_mutex_;
  ForkLockRegistration stop_mutex_registration_{stop_mutex_, nullptr,
                                                ForkLockRule::kRenewedInChild};
};

}  // namespace taviron

#endif
