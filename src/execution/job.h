#ifndef TAVIRON_EXECUTION_JOB_H
#define TAVIRON_EXECUTION_JOB_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "execution/interrupt_check.h"
#include "execution/job_status.h"

namespace taviron {

class BackendV2;
class JobV1;
class Result;

// What a job keeps of the callback given to wait_for_final_state. The job
// only holds it and calls it; how it is called and how it is released (for a
// Python callable: under the interpreter lock, on whatever thread lets the
// last hold go) is defined by whoever implements it. Call never runs under a
// native mutex; an exception it throws leaves wait_for_final_state
// unchanged.
class JobCallback {
 public:
  virtual ~JobCallback() = default;
  virtual void Call(const std::string& job_id, JobStatus status, JobV1& job) = 0;
};

// One run of a circuit: its status, the backend that made it and the Result
// that collects its output. The status, backend and Result are read and
// written under the job's own mutex, because the backend's worker moves the
// job on while other threads read it. A job holds its backend and its Result
// (both live as long as their longest holder).
class JobV1 : public std::enable_shared_from_this<JobV1> {
 public:
  const int32_t version = 1;
  const bool _async = true;

  // Status INITIALIZING, no backend, no Result, no callback.
  explicit JobV1(std::string job_id);
  // A copy has the same id, status, backend, Result, waiting flag and
  // callback, and shares the mutex.
  JobV1(const JobV1& other);
  JobV1& operator=(const JobV1&) = delete;
  ~JobV1();

  std::string job_id() const { return job_id_; }
  JobStatus status() const;
  bool done() const;
  bool running() const;
  bool cancelled() const;
  // True for the final states CANCELLED, DONE and ERROR.
  bool in_final_state() const;
  // INITIALIZING, QUEUED and VALIDATING become CANCELLED; any other state
  // stays as it is.
  void cancel();
  // The job's Result and backend, shared; null when no run gave it one.
  std::shared_ptr<Result> result() const;
  std::shared_ptr<BackendV2> backend() const;
  // Stores callback (replacing an earlier one; null stores none), then polls:
  // reads the status, calls the stored callback when there is one, returns
  // at a final state, and throws RunTimeError
  // "Timeout while waiting for job: <id> <n> seconds passed\n" (n the whole
  // seconds elapsed) once the time elapsed exceeds the timeout, in seconds
  // and their fractions. A timeout of 0 waits for ever; a negative one, NaN
  // and values beyond the 64-bit range of whole seconds time out at the
  // first check. Between polls it sleeps `pause` seconds when that is above
  // 0, else about a millisecond, waking early when the job reaches a final
  // state and never sleeping past the moment the timeout passes; so the wait
  // never keeps a processor busy. interrupt_check runs at least every
  // kInterruptCheckStep of a sleep.
  void wait_for_final_state(double timeout, double pause, std::shared_ptr<JobCallback> callback,
                            const InterruptCheck& interrupt_check = {});
  // Always throws NotImplemented "JobV1::submit".
  [[noreturn]] void submit() const;

  // Used by the run paths and the worker.
  void SetStatus(JobStatus status);
  // Sets the status INITIALIZING and the job's backend and Result.
  void Attach(std::shared_ptr<BackendV2> backend, std::shared_ptr<Result> result);
  // In one hold of the mutex: a CANCELLED job stays so (false); any other
  // becomes RUNNING (true).
  bool StartUnlessCancelled();

 private:
  // The sleep between two polls of wait_for_final_state (see there), ended
  // early by a final status; never past `limit`.
  void PauseBeforeNextPoll(double pause, std::chrono::steady_clock::time_point limit,
                           const InterruptCheck& interrupt_check);

  const std::string job_id_;
  std::shared_ptr<JobCallback> callback_;
  JobStatus status_ = JobStatus::INITIALIZING;
  std::shared_ptr<BackendV2> backend_;
  std::shared_ptr<Result> result_;
  std::shared_ptr<std::mutex> mutex_;
  // Signalled, under the mutex, when the status becomes final; shared by
  // copies like the mutex.
  std::shared_ptr<std::condition_variable> status_changed_;
  bool waiting_ = false;
};

}  // namespace taviron

#endif
