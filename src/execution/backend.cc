#include "execution/backend.h"

#include <utility>

#include "execution/job.h"
#include "execution/job_status.h"
#include "execution/result.h"

namespace taviron {

BackendV2::BackendV2() : queue_(std::make_shared<WorkQueue>()) {
  worker_ = std::make_unique<std::thread>(&BackendV2::WorkerLoop, queue_);
}

BackendV2::~BackendV2() { StopWorker(); }

void BackendV2::RequestStop() {
  queue_->stop = true;
  // Woken under the mutex, so a worker that has just found the queue empty
  // and not yet started to wait cannot miss it.
  std::lock_guard<std::mutex> lock(queue_->mutex);
  queue_->wake.notify_all();
}

void BackendV2::StopWorker() {
  // Declared before the guard so that the tasks are let go after it is
  // released: each holds a job, which may be the last holder of a backend.
  std::deque<ExecutionTask> dropped;
  std::lock_guard<std::mutex> guard(stop_mutex_);
  RequestStop();
  if (!worker_) return;
  if (worker_->get_id() == std::this_thread::get_id()) {
    // The last holder was let go by the worker itself, which ends right
    // after without touching this backend again.
    worker_->detach();
  } else {
    worker_->join();
  }
  worker_.reset();
  std::lock_guard<std::mutex> lock(queue_->mutex);
  dropped.swap(queue_->tasks);
}

void BackendV2::WorkerLoop(std::shared_ptr<WorkQueue> queue) {
  for (;;) {
    if (queue->stop) return;
    ExecutionTask task;
    {
      std::unique_lock<std::mutex> lock(queue->mutex);
      queue->wake.wait(lock, [&] { return !queue->tasks.empty() || queue->stop; });
      if (queue->stop) return;
      task = std::move(queue->tasks.front());
      queue->tasks.pop_front();
    }
    RunTask(task);
    // Letting the task go may release the last hold on the backend; its
    // destructor then detaches this thread, which touches only `queue`.
    task = ExecutionTask();
  }
}

namespace {

// Whatever a shot throws (memory exhausted, a failing sink) ends the job in
// ERROR, its Result keeping the shots so far, not complete and without
// state, and giving reason to the readouts; the worker goes on with the
// next task.
void FailTask(ExecutionTask& task, const std::string& reason) noexcept {
  try {
    if (const std::shared_ptr<Result> result = task.job->result()) result->Fail(reason);
    task.job->SetStatus(JobStatus::ERROR);
  } catch (...) {
  }
}

}  // namespace

void BackendV2::RunTask(ExecutionTask& task) {
  try {
    if (!task.job->StartUnlessCancelled()) return;  // cancelled while queued
    const std::shared_ptr<Result> result = task.job->result();
    if (!result) {
      task.job->SetStatus(JobStatus::ERROR);
      return;
    }
    ExecuteJob(task.snapshot, *task.job, *result, false, task.sink);
  } catch (const std::exception& error) {
    FailTask(task, std::string("The job failed: ") + error.what());
  } catch (...) {
    FailTask(task, "The job failed.");
  }
}

}  // namespace taviron
