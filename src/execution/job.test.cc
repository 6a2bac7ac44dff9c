#include "execution/job.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "execution/result.h"
#include "execution/testing/execution_helpers.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const std::vector<JobStatus> kAllStatuses = {
    JobStatus::INITIALIZING, JobStatus::QUEUED, JobStatus::VALIDATING, JobStatus::RUNNING,
    JobStatus::CANCELLED,    JobStatus::DONE,   JobStatus::ERROR};

TEST(JobTest, ConstructedJobHasOnlyItsId) {
  JobV1 job("42");
  EXPECT_EQ(job.job_id(), "42");
  EXPECT_EQ(job.status(), JobStatus::INITIALIZING);
  EXPECT_FALSE(job.done());
  EXPECT_FALSE(job.running());
  EXPECT_FALSE(job.cancelled());
  EXPECT_FALSE(job.in_final_state());
  EXPECT_EQ(job.result(), nullptr);
  EXPECT_EQ(job.backend(), nullptr);
  EXPECT_EQ(job.version, 1);
  EXPECT_TRUE(job._async);
  try {
    job.submit();
    ADD_FAILURE() << "submit returned";
  } catch (const NotImplemented& error) {
    EXPECT_STREQ(error.what(), "Function 'JobV1::submit' is not implemented.");
  }
}

TEST(JobTest, PredicatesAndCancelFollowTheStatus) {
  for (JobStatus status : kAllStatuses) {
    JobV1 job("1");
    job.SetStatus(status);
    const bool final_state = status == JobStatus::CANCELLED || status == JobStatus::DONE ||
                             status == JobStatus::ERROR;
    EXPECT_EQ(job.in_final_state(), final_state) << static_cast<int>(status);
    EXPECT_EQ(job.done(), status == JobStatus::DONE);
    EXPECT_EQ(job.running(), status == JobStatus::RUNNING);
    job.cancel();
    const bool cancellable = status == JobStatus::INITIALIZING ||
                             status == JobStatus::QUEUED || status == JobStatus::VALIDATING;
    EXPECT_EQ(job.status(), cancellable ? JobStatus::CANCELLED : status)
        << static_cast<int>(status);
    EXPECT_EQ(job.cancelled(), cancellable || status == JobStatus::CANCELLED);
  }
}

TEST(JobTest, StartsUnlessCancelled) {
  JobV1 queued("1");
  queued.SetStatus(JobStatus::QUEUED);
  EXPECT_TRUE(queued.StartUnlessCancelled());
  EXPECT_EQ(queued.status(), JobStatus::RUNNING);
  JobV1 cancelled("2");
  cancelled.cancel();
  EXPECT_FALSE(cancelled.StartUnlessCancelled());
  EXPECT_EQ(cancelled.status(), JobStatus::CANCELLED);
}

TEST(JobTest, WaitOnAFinalJobCallsBackOnceWithTheJobItself) {
  auto job = std::make_shared<JobV1>("7");
  job->SetStatus(JobStatus::DONE);
  std::vector<JobStatus> seen;
  job->wait_for_final_state(0, 0, std::make_shared<FunctionCallback>(
                                      [&](const std::string& id, JobStatus status, JobV1& same) {
                                        EXPECT_EQ(id, "7");
                                        EXPECT_EQ(&same, job.get());
                                        seen.push_back(status);
                                      }));
  EXPECT_EQ(seen, std::vector<JobStatus>{JobStatus::DONE});
  // Without a callback the wait simply returns.
  job->wait_for_final_state(0, 0, nullptr);
}

TEST(JobTest, WaitSeesTheFinalStateThatAnotherThreadSets) {
  auto job = std::make_shared<JobV1>("8");
  job->SetStatus(JobStatus::RUNNING);
  std::atomic<bool> polled{false};
  std::thread finisher([&] {
    WaitUntil([&] { return polled.load(); });
    job->SetStatus(JobStatus::DONE);
  });
  std::vector<JobStatus> seen;
  job->wait_for_final_state(
      0, 0, std::make_shared<FunctionCallback>([&](const std::string&, JobStatus status, JobV1&) {
        if (seen.empty() || seen.back() != status) seen.push_back(status);
        polled = true;
      }));
  finisher.join();
  EXPECT_EQ(seen, (std::vector<JobStatus>{JobStatus::RUNNING, JobStatus::DONE}));
}

TEST(JobTest, PauseOfAnHourEndsWhenTheJobReachesAFinalState) {
  // The first poll sees the job QUEUED; another thread then cancels it, and
  // the second poll, which sees CANCELLED, follows at once.
  auto slow = std::make_shared<JobV1>("10");
  slow->SetStatus(JobStatus::RUNNING);
  std::thread canceller([&] {
    WaitUntil([&] { return slow->status() == JobStatus::QUEUED; });
    slow->cancel();
  });
  int calls = 0;
  slow->wait_for_final_state(
      0, 3600.0, std::make_shared<FunctionCallback>([&](const std::string&, JobStatus, JobV1&) {
        if (++calls == 1) slow->SetStatus(JobStatus::QUEUED);
      }));
  canceller.join();
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(slow->status(), JobStatus::CANCELLED);
}

TEST(JobTest, TimeoutsThatPassAtTheFirstCheck) {
  for (double timeout : {std::nan(""), -1.0, -5.5, -0.5, -1e-9, 1e300, -1e300}) {
    JobV1 job("13");
    int calls = 0;
    try {
      job.wait_for_final_state(
          timeout, 0,
          std::make_shared<FunctionCallback>([&](const std::string&, JobStatus, JobV1&) { ++calls; }));
      ADD_FAILURE() << "no timeout for " << timeout;
    } catch (const RunTimeError& error) {
      EXPECT_STREQ(error.what(), "Timeout while waiting for job: 13 0 seconds passed\n");
    }
    EXPECT_EQ(calls, 1);
  }
}

TEST(JobTest, TimeoutOfOneSecondPassesAfterOneSecond) {
  JobV1 job("a-rather-long-job-identifier-that-a-fixed-buffer-would-cut");
  const auto start = std::chrono::steady_clock::now();
  try {
    job.wait_for_final_state(1, 0, nullptr);
    ADD_FAILURE() << "no timeout";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(),
                 "Timeout while waiting for job: "
                 "a-rather-long-job-identifier-that-a-fixed-buffer-would-cut 1 seconds passed\n");
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(job.status(), JobStatus::INITIALIZING);
}

// A fractional timeout is kept to its fraction, with a pause shorter or
// longer than it; the message counts whole seconds.
TEST(JobTest, FractionalTimeoutPassesAfterItsFraction) {
  for (double pause : {0.0, 0.05, 30.0}) {
    JobV1 job("14");
    int calls = 0;
    const auto start = std::chrono::steady_clock::now();
    try {
      job.wait_for_final_state(
          0.1, pause,
          std::make_shared<FunctionCallback>([&](const std::string&, JobStatus, JobV1&) { ++calls; }));
      ADD_FAILURE() << "no timeout";
    } catch (const RunTimeError& error) {
      EXPECT_STREQ(error.what(), "Timeout while waiting for job: 14 0 seconds passed\n");
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(100)) << pause;
    // A timeout kept to whole seconds would wait a second.
    EXPECT_LT(waited, std::chrono::milliseconds(900)) << pause;
    EXPECT_GT(calls, 1) << pause;
  }
}

// The check runs through a long pause, and what it throws ends the wait.
TEST(JobTest, InterruptCheckEndsALongPause) {
  JobV1 job("15");
  int checks = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(job.wait_for_final_state(0, 3600.0, nullptr,
                                        [&] {
                                          if (++checks == 5) throw std::runtime_error("interrupt");
                                        }),
               std::runtime_error);
  EXPECT_EQ(checks, 5);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(JobTest, CallbackExceptionLeavesTheWait) {
  JobV1 job("3");
  EXPECT_THROW(job.wait_for_final_state(0, 0,
                                        std::make_shared<FunctionCallback>(
                                            [](const std::string&, JobStatus, JobV1&) {
                                              throw std::runtime_error("from the callback");
                                            })),
               std::runtime_error);
}

TEST(JobTest, ReleasesItsCallbackWhenReplacedAndWhenDestroyed) {
  auto first_released = std::make_shared<std::atomic<bool>>(false);
  auto second_released = std::make_shared<std::atomic<bool>>(false);
  auto nothing = [](const std::string&, JobStatus, JobV1&) {};
  {
    JobV1 job("5");
    job.SetStatus(JobStatus::DONE);
    job.wait_for_final_state(0, 0, std::make_shared<FunctionCallback>(nothing, first_released));
    EXPECT_FALSE(*first_released);  // kept by the job
    job.wait_for_final_state(0, 0, std::make_shared<FunctionCallback>(nothing, second_released));
    EXPECT_TRUE(*first_released);
    EXPECT_FALSE(*second_released);
  }
  EXPECT_TRUE(*second_released);
}

TEST(JobTest, HoldsItsResultAfterOtherHoldersLetGo) {
  auto job = std::make_shared<JobV1>("9");
  auto result = std::make_shared<Result>();
  std::weak_ptr<Result> watch = result;
  job->Attach(nullptr, result);
  result.reset();
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(job->result(), watch.lock());
  job.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(JobTest, CopySharesTheMutexAndTheHeldObjects) {
  JobV1 job("11");
  job.Attach(nullptr, std::make_shared<Result>());
  job.SetStatus(JobStatus::QUEUED);
  const JobV1 copy(job);
  EXPECT_EQ(copy.job_id(), "11");
  EXPECT_EQ(copy.status(), JobStatus::QUEUED);
  EXPECT_EQ(copy.result(), job.result());
}

}  // namespace

}  // namespace taviron
