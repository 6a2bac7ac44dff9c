// The backend's queue and worker: order, cancellation, stopping, the
// lifetime of a backend whose last holder is its own job, and a forked
// child's use of a backend it inherited.
#include "execution/backend.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "execution/job.h"
#include "execution/result.h"
#include "execution/testing/execution_helpers.h"
#include "foundation/testing/forked_child.h"

namespace taviron {

namespace {

RunOptions Shots(int32_t shots, bool quiet = true) {
  RunOptions options;
  options.shots = shots;
  options.quiet = quiet;
  return options;
}

// A queued Bell job that holds the worker at its first progress line until
// the gate is released.
std::shared_ptr<JobV1> RunHeld(BackendV2& backend, const std::shared_ptr<WorkerHold>& gate,
                               int32_t shots = 10) {
  auto job = backend.run(BellCircuit(), Shots(shots, false), WorkerHold::HoldingSink(gate));
  EXPECT_TRUE(gate->WaitEntered());
  return job;
}

bool Final(const std::shared_ptr<JobV1>& job) { return job->in_final_state(); }

TEST(BackendTest, HasItsFixedAttributes) {
  const auto backend = std::make_shared<BackendV2>();
  EXPECT_EQ(backend->version, 2);
  EXPECT_EQ(backend->dt, 1);
  EXPECT_EQ(backend->dtm, 1);
  EXPECT_EQ(backend->max_circuits, 1);
  EXPECT_EQ(backend->num_qubits, 100);
  EXPECT_EQ(backend->name, "velmora_taviron");
  EXPECT_EQ(backend->description, "Taviron Simulator Velmora");
  EXPECT_EQ(backend->online_date, "9/12/2023");
  EXPECT_EQ(backend->backend_version, "0.2.1");
}

TEST(BackendTest, RunsQueuedJobsInOrderOneAtATime) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto first = RunHeld(*backend, gate);
  std::vector<std::string> order;
  std::mutex order_mutex;
  auto note = [&](const std::string& name) {
    return [&, name](const std::string&) {
      std::lock_guard<std::mutex> lock(order_mutex);
      if (order.empty() || order.back() != name) order.push_back(name);
    };
  };
  auto second = backend->run(BellCircuit(), Shots(5, false), note("second"));
  auto third = backend->run(BellCircuit(), Shots(5, false), note("third"));
  EXPECT_EQ(first->status(), JobStatus::RUNNING);
  EXPECT_EQ(second->status(), JobStatus::QUEUED);
  EXPECT_EQ(third->status(), JobStatus::QUEUED);
  EXPECT_EQ(first->job_id(), "0");
  EXPECT_EQ(second->job_id(), "1");
  EXPECT_EQ(third->job_id(), "2");

  gate->Release();
  ASSERT_TRUE(WaitUntil([&] { return Final(third); }));
  EXPECT_TRUE(first->done());
  EXPECT_TRUE(second->done());
  EXPECT_TRUE(third->done());
  EXPECT_EQ(order, (std::vector<std::string>{"second", "third"}));
}

TEST(BackendTest, CancelledJobIsSkippedAndTheNextOneRuns) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto running = RunHeld(*backend, gate);
  auto cancelled = backend->run(BellCircuit(), Shots(5));
  auto next = backend->run(BellCircuit(), Shots(5));
  cancelled->cancel();
  running->cancel();  // a running job cannot be cancelled
  EXPECT_EQ(cancelled->status(), JobStatus::CANCELLED);
  EXPECT_EQ(running->status(), JobStatus::RUNNING);

  gate->Release();
  ASSERT_TRUE(WaitUntil([&] { return Final(next); }));
  EXPECT_TRUE(running->done());
  EXPECT_TRUE(next->done());
  EXPECT_EQ(next->result()->get_memory().size(), 5u);
  EXPECT_EQ(cancelled->status(), JobStatus::CANCELLED);
  const std::shared_ptr<Result> dropped = cancelled->result();
  EXPECT_TRUE(dropped->get_memory().empty());
  EXPECT_FALSE(dropped->success());
  EXPECT_THROW(dropped->data(0), std::runtime_error);
}

TEST(BackendTest, TwoBackendsRunSideBySide) {
  auto held_backend = std::make_shared<BackendV2>();
  auto other_backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto held = RunHeld(*held_backend, gate);
  auto other = other_backend->run(BellCircuit(), Shots(20));
  EXPECT_TRUE(WaitUntil([&] { return Final(other); }));
  EXPECT_TRUE(other->done());
  EXPECT_EQ(held->status(), JobStatus::RUNNING);
  gate->Release();
  EXPECT_TRUE(WaitUntil([&] { return Final(held); }));
}

TEST(BackendTest, StoppingLetsTheRunningJobFinishAndLeavesTheRestQueued) {
  const int threads_before = ThreadCount();
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto running = RunHeld(*backend, gate, 7);
  auto queued = backend->run(BellCircuit(), Shots(5));
  auto also_queued = backend->run(BellCircuit(), Shots(5));
  std::weak_ptr<BackendV2> watch = backend;

  backend->RequestStop();
  gate->Release();
  backend->StopWorker();  // returns once the running job is finished
  EXPECT_TRUE(running->done());
  EXPECT_EQ(running->result()->get_memory().size(), 7u);
  EXPECT_EQ(queued->status(), JobStatus::QUEUED);
  EXPECT_EQ(also_queued->status(), JobStatus::QUEUED);
  // A run after the stop stays queued; a synchronous run needs no worker.
  auto late = backend->run(BellCircuit(), Shots(5));
  EXPECT_EQ(late->status(), JobStatus::QUEUED);
  RunOptions sync = Shots(5);
  sync.mode = "sync";
  EXPECT_TRUE(backend->run(BellCircuit(), sync)->done());
  EXPECT_EQ(ThreadCount(), threads_before);

  // The queue let its tasks go: once the jobs are gone, so is the backend.
  backend.reset();
  running.reset();
  queued.reset();
  also_queued.reset();
  EXPECT_FALSE(watch.expired());
  late.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(BackendTest, BackendWhoseLastHolderIsItsOwnJobEndsOnItsWorker) {
  const int threads_before = ThreadCount();
  auto backend = std::make_shared<BackendV2>();
  std::weak_ptr<BackendV2> watch = backend;
  auto gate = WorkerHold::Make();
  auto job = RunHeld(*backend, gate);
  const std::shared_ptr<Result> result = job->result();

  // Only the queued task now holds the job, and the job the backend: the
  // worker lets the last hold go when it is done with the task.
  job.reset();
  backend.reset();
  EXPECT_FALSE(watch.expired());
  gate->Release();
  ASSERT_TRUE(WaitUntil([&] { return watch.expired(); }));
  EXPECT_TRUE(result->success());
  EXPECT_EQ(result->get_memory().size(), 10u);
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads_before; }));
}

TEST(BackendTest, ManyBackendsLeaveNoThreadBehind) {
  const int threads_before = ThreadCount();
  for (int round = 0; round < 100; ++round) {
    auto backend = std::make_shared<BackendV2>();
    if (round % 10 == 0) {
      auto job = backend->run(BellCircuit(), Shots(2));
      job->wait_for_final_state(0, 0, nullptr);
    }
  }
  // Joined threads may take a moment to leave the process's task list.
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads_before; }));
}

TEST(BackendTest, WorkerSurvivesAShotThatThrows) {
  auto backend = std::make_shared<BackendV2>();
  auto circuit = BellCircuit();
  int lines = 0;
  // Bell prints three progress lines per shot: the fourth is the first of
  // shot 2.
  auto failing = backend->run(circuit, Shots(3, false), [&](const std::string&) {
    if (++lines == 4) throw std::bad_alloc();
  });
  auto next = backend->run(BellCircuit(), Shots(4));
  ASSERT_TRUE(WaitUntil([&] { return Final(next); }));
  EXPECT_EQ(failing->status(), JobStatus::ERROR);
  const std::shared_ptr<Result> result = failing->result();
  EXPECT_EQ(result->get_memory().size(), 1u);
  EXPECT_FALSE(result->success());
  EXPECT_THROW(result->get_statevector(), std::runtime_error);
  EXPECT_TRUE(next->done());
}

// The parent's worker runs one job and has another queued when the process
// forks: in the child both are over at once (the parent runs them), the
// inherited backend runs new jobs on a worker of its own and ends without
// waiting for the parent's worker; the parent's jobs run there as before.
TEST(BackendTest, AForkedChildTakesOverAnInheritedBackend) {
  if (kUnderThreadSanitizer) GTEST_SKIP() << "ThreadSanitizer ends a forked child that starts threads";
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto running = RunHeld(*backend, gate);
  auto queued = backend->run(BellCircuit(), Shots(5));
  const int status = ExitStatusOfForkedChild([&] {
    int failures = 0;
    // The first use of the backend here takes it over.
    auto job = backend->run(BellCircuit(), Shots(6));
    failures += running->status() != JobStatus::ERROR;
    failures += queued->status() != JobStatus::CANCELLED;
    try {
      running->result()->get_statevector();
      ++failures;
    } catch (const std::runtime_error& error) {
      failures += std::string(error.what()) != BackendV2::kRanInParentReason;
    }
    failures += !WaitUntil([&] { return Final(job); }) || !job->done();
    RunOptions sync = Shots(3);
    sync.mode = "sync";
    failures += !backend->run(BellCircuit(), sync)->done();
    running.reset();
    queued.reset();
    job.reset();
    backend.reset();  // joins only the child's own worker
    return failures;
  });
  EXPECT_EQ(status, 0);
  gate->Release();
  ASSERT_TRUE(WaitUntil([&] { return Final(queued); }));
  EXPECT_TRUE(running->done());
  EXPECT_TRUE(queued->done());
  EXPECT_EQ(queued->result()->get_memory().size(), 5u);
}

}  // namespace

}  // namespace taviron
