#include "execution/job.h"

#include <chrono>
#include <cmath>
#include <utility>

#include "execution/result.h"
#include "foundation/exceptions.h"

namespace {

// Whether elapsed whole seconds count as past the timeout. The timeout is
// truncated toward zero; a value that is not a number or does not fit a
// signed 64-bit integer counts as passed at once.
bool TimeoutPassed(double timeout, int64_t elapsed_seconds) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (std::isnan(timeout) || timeout >= kTwoTo63 || timeout < -kTwoTo63) return true;
  return elapsed_seconds > static_cast<int64_t>(timeout);
}

}  // namespace

JobV1::JobV1(std::string job_id)
    : job_id_(std::move(job_id)), mutex_(std::make_shared<std::mutex>()) {}

JobV1::JobV1(const JobV1& other)
    : std::enable_shared_from_this<JobV1>(other), job_id_(other.job_id_), mutex_(other.mutex_) {
  std::lock_guard<std::mutex> lock(*mutex_);
  callback_ = other.callback_;
  status_ = other.status_;
  backend_ = other.backend_;
  result_ = other.result_;
  waiting_ = other.waiting_;
}

JobV1::~JobV1() {
  {
    std::lock_guard<std::mutex> lock(*mutex_);
    waiting_ = false;
  }
  // Released outside the mutex, callback first: each may be the last hold
  // on an object whose release takes locks of its own (a backend joins its
  // worker, a Python callable needs the interpreter lock).
  callback_.reset();
  backend_.reset();
  result_.reset();
}

JobStatus JobV1::status() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return status_;
}

bool JobV1::done() const { return status() == JobStatus::DONE; }

bool JobV1::running() const { return status() == JobStatus::RUNNING; }

bool JobV1::cancelled() const { return status() == JobStatus::CANCELLED; }

bool JobV1::in_final_state() const { return IsFinalStatus(status()); }

void JobV1::cancel() {
  std::lock_guard<std::mutex> lock(*mutex_);
  if (status_ == JobStatus::INITIALIZING || status_ == JobStatus::QUEUED ||
      status_ == JobStatus::VALIDATING) {
    status_ = JobStatus::CANCELLED;
  }
}

std::shared_ptr<Result> JobV1::result() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return result_;
}

std::shared_ptr<BackendV2> JobV1::backend() const {
  std::lock_guard<std::mutex> lock(*mutex_);
  return backend_;
}

void JobV1::wait_for_final_state(double timeout, double /*pause*/,
                                 std::shared_ptr<JobCallback> callback) {
  std::shared_ptr<JobCallback> replaced;
  {
    std::lock_guard<std::mutex> lock(*mutex_);
    replaced = std::move(callback_);
    callback_ = std::move(callback);
  }
  replaced.reset();  // outside the mutex: its release may take other locks

  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    JobStatus current;
    std::shared_ptr<JobCallback> stored;
    {
      std::lock_guard<std::mutex> lock(*mutex_);
      current = status_;
      stored = callback_;
    }
    if (stored) stored->Call(job_id_, current, *this);
    if (IsFinalStatus(current)) return;
    if (timeout != 0) {
      const int64_t elapsed = std::chrono::duration_cast<std::chrono::seconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count();
      if (TimeoutPassed(timeout, elapsed)) {
        throw RunTimeError("Timeout while waiting for job: " + job_id_ + " " +
                           std::to_string(elapsed) + " seconds passed\n");
      }
    }
    std::lock_guard<std::mutex> lock(*mutex_);
    waiting_ = true;
  }
}

void JobV1::submit() const { throw NotImplemented("JobV1::submit"); }

void JobV1::SetStatus(JobStatus status) {
  std::lock_guard<std::mutex> lock(*mutex_);
  status_ = status;
}

void JobV1::Attach(std::shared_ptr<BackendV2> backend, std::shared_ptr<Result> result) {
  std::shared_ptr<BackendV2> old_backend;
  std::shared_ptr<Result> old_result;
  {
    std::lock_guard<std::mutex> lock(*mutex_);
    status_ = JobStatus::INITIALIZING;
    old_backend = std::exchange(backend_, std::move(backend));
    old_result = std::exchange(result_, std::move(result));
  }
}

bool JobV1::StartUnlessCancelled() {
  std::lock_guard<std::mutex> lock(*mutex_);
  if (status_ == JobStatus::CANCELLED) return false;
  status_ = JobStatus::RUNNING;
  return true;
}
