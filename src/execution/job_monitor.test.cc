#include "execution/job_monitor.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "execution/backend.h"
#include "execution/job.h"
#include "execution/testing/execution_helpers.h"

namespace taviron {

namespace {

struct InterruptedByTest : std::runtime_error {
  InterruptedByTest() : std::runtime_error("interrupted") {}
};

struct MonitorCase {
  JobStatus status;
  std::vector<std::string> lines;  // of the first poll
};

// One poll per status: final states end the monitor, others are ended by
// the interrupt check at the next poll.
TEST(JobMonitorTest, PrintsEachStatusText) {
  const std::vector<MonitorCase> cases = {
      {JobStatus::INITIALIZING, {"Job Initializing"}},
      {JobStatus::QUEUED, {"Job Queued"}},
      {JobStatus::VALIDATING, {"Job Validating"}},
      {JobStatus::RUNNING, {"Job Running"}},
      {JobStatus::CANCELLED, {"Job Cancelled", "Ending Job Monitor"}},
      {JobStatus::DONE, {"Job Done.", "Ending Job Monitor"}},
      {JobStatus::ERROR, {"Job Error", "Ending Job Monitor"}},
      {static_cast<JobStatus>(42), {"Job Status Unknown"}},
  };
  for (const MonitorCase& c : cases) {
    JobV1 job("1");
    job.SetStatus(c.status);
    LineRecorder recorder;
    int polls = 0;
    auto stop_at_second_poll = [&] {
      if (++polls == 2) throw InterruptedByTest();
    };
    try {
      job_monitor(job, -1, false, recorder.Sink(), stop_at_second_poll);
    } catch (const InterruptedByTest&) {
    }
    EXPECT_EQ(recorder.Lines(), c.lines) << static_cast<int>(c.status);

    LineRecorder quiet;
    polls = 0;
    try {
      job_monitor(job, -1, true, quiet.Sink(), stop_at_second_poll);
    } catch (const InterruptedByTest&) {
    }
    EXPECT_TRUE(quiet.Lines().empty());
  }
}

TEST(JobMonitorTest, FollowsARunningJobToItsEnd) {
  auto backend = std::make_shared<BackendV2>();
  auto circuit = BellCircuit();
  auto gate = WorkerHold::Make();
  RunOptions options;
  options.shots = 3;
  options.quiet = false;
  auto job = backend->run(circuit, options, WorkerHold::HoldingSink(gate));
  ASSERT_TRUE(gate->WaitEntered());

  // A negative interval polls without sleeping; the job is let go after a
  // few polls have seen it running.
  std::vector<std::string> lines;
  job_monitor(*job, -1, false, [&](const std::string& line) {
    lines.push_back(line);
    if (lines.size() == 3) gate->Release();
  });
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Job Running");
  EXPECT_EQ(lines[lines.size() - 2], "Job Done.");
  EXPECT_EQ(lines.back(), "Ending Job Monitor");
  EXPECT_TRUE(job->done());
}

TEST(JobMonitorTest, InterruptCheckEndsASleep) {
  JobV1 job("1");
  LineRecorder recorder;
  int checks = 0;
  // An interval of an hour: only the check, run while sleeping, ends it.
  EXPECT_THROW(job_monitor(job, 3600, false, recorder.Sink(),
                           [&] {
                             if (++checks == 3) throw InterruptedByTest();
                           }),
               InterruptedByTest);
  EXPECT_EQ(recorder.Lines(), std::vector<std::string>{"Job Initializing"});
}

}  // namespace

}  // namespace taviron
