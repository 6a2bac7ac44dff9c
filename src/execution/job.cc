#include "execution/job.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "execution/result.h"
#include "foundation/exceptions.h"
#include "foundation/fork_lock_registry.h"

namespace taviron {

namespace {

using Clock = std::chrono::steady_clock;

// A timeout that passes at the first check: negative, not a number, or
// whole seconds beyond the signed 64-bit range.
bool TimeoutPassesAtOnce(double timeout) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  return std::isnan(timeout) || timeout < 0 || timeout >= kTwoTo63;
}

// The moment after which a wait begun at start times out: Clock's largest
// value for a wait without timeout (0); start itself for one that passes at
// once. Timeouts beyond a century wait as long as a century.
Clock::time_point TimeoutMoment(double timeout, Clock::time_point start) {
  if (timeout == 0) return Clock::time_point::max();
  if (TimeoutPassesAtOnce(timeout)) return start;
  const double seconds = std::min(timeout, 3.2e9);
  return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// now + seconds for a positive pause, now + 1 ms otherwise; a pause beyond
// a day counts as a day between polls.
Clock::time_point PauseEnd(double pause, Clock::time_point now) {
  if (!(pause > 0)) return now + std::chrono::milliseconds(1);
  const double seconds = std::min(pause, 86400.0);
  return now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// A job's mutex and the condition variable that waits for its final status
// sleep on, held across a fork: the worker takes the mutex for every change
// of status.
struct JobLock {
  std::mutex mutex;
  std::condition_variable status_changed;
  ForkLockRegistration registration{mutex, &status_changed, ForkLockRule::kHeldAcrossFork,
                                    ForkLockRank::kJob};
};

}  // namespace

JobV1::JobV1(std::string job_id) : job_id_(std::move(job_id)) {
  const auto lock = std::make_shared<JobLock>();
  mutex_ = std::shared_ptr<std::mutex>(lock, &lock->mutex);
  status_changed_ = std::shared_ptr<std::condition_variable>(lock, &lock->status_changed);
}

JobV1::JobV1(const JobV1& other)
    : std::enable_shared_from_this<JobV1>(other), job_id_(other.job_id_),
      mutex_(other.mutex_),
      status_changed_(other.status_changed_) {
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
  status_changed_->notify_all();
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
    status_changed_->notify_all();
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

void JobV1::wait_for_final_state(double timeout, double pause,
                                 std::shared_ptr<JobCallback> callback,
                                 const InterruptCheck& interrupt_check) {
  std::shared_ptr<JobCallback> replaced;
  {
    std::lock_guard<std::mutex> lock(*mutex_);
    replaced = std::move(callback_);
    callback_ = std::move(callback);
  }
  replaced.reset();  // outside the mutex: its release may take other locks

  const Clock::time_point start = Clock::now();
  const Clock::time_point timeout_moment = TimeoutMoment(timeout, start);
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
      const Clock::time_point now = Clock::now();
      if (now > timeout_moment || TimeoutPassesAtOnce(timeout)) {
        const int64_t elapsed =
            std::chrono::duration_cast<std::chrono::seconds>(now - start).count();
        throw RunTimeError("Timeout while waiting for job: " + job_id_ + " " +
                           std::to_string(elapsed) + " seconds passed\n");
      }
    }
    PauseBeforeNextPoll(pause, timeout_moment, interrupt_check);
  }
}

void JobV1::PauseBeforeNextPoll(double pause, Clock::time_point limit,
                                const InterruptCheck& interrupt_check) {
  const Clock::time_point until = std::min(PauseEnd(pause, Clock::now()), limit);
  for (;;) {
    const Clock::time_point now = Clock::now();
    const Clock::time_point step_end =
        interrupt_check && until - now > kInterruptCheckStep ? now + kInterruptCheckStep : until;
    {
      std::unique_lock<std::mutex> lock(*mutex_);
      waiting_ = true;
      if (status_changed_->wait_until(lock, step_end, [this] { return IsFinalStatus(status_); })) {
        return;
      }
    }
    if (step_end >= until) return;
    interrupt_check();  // outside the mutex; may throw to end the wait
  }
}

void JobV1::submit() const { throw NotImplemented("JobV1::submit"); }

void JobV1::SetStatus(JobStatus status) {
  std::lock_guard<std::mutex> lock(*mutex_);
  status_ = status;
  if (IsFinalStatus(status)) status_changed_->notify_all();
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

}  // namespace taviron
