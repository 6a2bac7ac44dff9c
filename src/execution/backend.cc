#include "execution/backend.h"

#include <utility>

#include "execution/job.h"
#include "execution/job_status.h"
#include "execution/result.h"

namespace taviron {

BackendV2::BackendV2()
    : queue_(std::make_shared<WorkQueue>()), worker_generation_(ForkGeneration()) {
  StartWorkerLocked();  // nothing else sees the backend yet
}

BackendV2::~BackendV2() { StopWorker(); }

void BackendV2::StartWorkerLocked() {
  worker_ = std::make_unique<std::thread>(&BackendV2::WorkerLoop, queue_);
}

std::shared_ptr<BackendV2::WorkQueue> BackendV2::QueueOfThisProcessLocked(
    bool start_worker, std::deque<ExecutionTask>& let_go) {
  if (worker_generation_ != ForkGeneration()) {
    // The worker's thread exists only in the process that started it. Its
    // handle is neither joined nor detached (here it may name a thread that
    // took over its slot) nor destroyed (a joinable handle's destruction
    // ends the process): it is left as it is.
    static_cast<void>(worker_.release());
    const std::shared_ptr<WorkQueue> inherited =
        std::exchange(queue_, std::make_shared<WorkQueue>());
    worker_generation_ = ForkGeneration();
    std::shared_ptr<JobV1> running;
    {
      // Free in the child: the fork handlers held it across the fork.
      std::lock_guard<std::mutex> lock(inherited->mutex);
      let_go.swap(inherited->tasks);
      running = inherited->running.lock();
      queue_->stop = inherited->stop.load();
    }
    for (ExecutionTask& task : let_go) task.job->cancel();
    if (running && running->status() == JobStatus::RUNNING) {
      if (const std::shared_ptr<Result> result = running->result()) {
        result->Fail(kRanInParentReason);
      }
      running->SetStatus(JobStatus::ERROR);
    }
    // `inherited` stays alive through the parent's worker's hold, which no
    // thread here lets go: its condition variable is never destroyed.
  }
  if (start_worker && !worker_ && !queue_->stop) StartWorkerLocked();
  return queue_;
}

void BackendV2::TakeOverAfterFork() {
  std::deque<ExecutionTask> let_go;  // let go after the guard is released
  std::lock_guard<std::mutex> guard(state_mutex_);
  QueueOfThisProcessLocked(false, let_go);
}

void BackendV2::StopAndWake(WorkQueue& queue) {
  queue.stop = true;
  // Woken under the mutex, so a worker that has just found the queue empty
  // and not yet started to wait cannot miss it.
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.wake.notify_all();
}

void BackendV2::RequestStop() {
  std::deque<ExecutionTask> let_go;
  std::lock_guard<std::mutex> guard(state_mutex_);
  StopAndWake(*QueueOfThisProcessLocked(false, let_go));
}

void BackendV2::StopWorker() {
  // Declared before the guards so that the tasks are let go after they are
  // released: each holds a job, which may be the last holder of a backend.
  std::deque<ExecutionTask> dropped;
  std::lock_guard<std::mutex> one_at_a_time(stop_mutex_);
  std::shared_ptr<WorkQueue> queue;
  std::unique_ptr<std::thread> worker;
  {
    std::lock_guard<std::mutex> guard(state_mutex_);
    queue = QueueOfThisProcessLocked(false, dropped);
    StopAndWake(*queue);  // stopped before worker_ is empty: no run starts another
    worker = std::move(worker_);
  }
  if (!worker) return;
  if (worker->get_id() == std::this_thread::get_id()) {
    // The last holder was let go by the worker itself, which ends right
    // after without touching this backend again.
    worker->detach();
  } else {
    worker->join();
  }
  std::lock_guard<std::mutex> lock(queue->mutex);
  for (ExecutionTask& task : queue->tasks) dropped.push_back(std::move(task));
  queue->tasks.clear();
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
      queue->running = task.job;
    }
    RunTask(task);
    {
      std::lock_guard<std::mutex> lock(queue->mutex);
      queue->running.reset();
    }
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
