// BackendV2::run: options, the two paths, job ids, the shot loop, printing,
// and the snapshot a queued job runs on.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "execution/backend.h"
#include "execution/job.h"
#include "execution/result.h"
#include "execution/testing/execution_helpers.h"
#include "foundation/exceptions.h"
#include "simulator/shot_thread_pool.h"

namespace taviron {

namespace {

RunOptions Options(std::optional<int32_t> shots, std::optional<std::string> mode = std::nullopt,
                   std::optional<bool> quiet = std::nullopt) {
  RunOptions options;
  options.shots = shots;
  options.mode = std::move(mode);
  options.quiet = quiet;
  return options;
}

// text with every digit replaced by '9', to compare with a template.
std::string Shape(const std::string& text) {
  std::string shape = text;
  for (char& c : shape) {
    if (c >= '0' && c <= '9') c = '9';
  }
  return shape;
}

// "Www Mmm dd hh:mm:ss yyyy\n" with English names, the day padded by a blank.
bool IsCtimeText(const std::string& text) {
  const std::string days = "Mon Tue Wed Thu Fri Sat Sun";
  const std::string months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec";
  if (text.size() != 25 || days.find(text.substr(0, 3)) == std::string::npos ||
      months.find(text.substr(4, 3)) == std::string::npos) {
    return false;
  }
  std::string rest = Shape(text.substr(7));
  if (rest[1] == ' ') rest[1] = '9';
  return text[3] == ' ' && rest == " 99 99:99:99 9999\n";
}

std::shared_ptr<JobV1> Finished(const std::shared_ptr<JobV1>& job) {
  EXPECT_TRUE(WaitUntil([&] { return job->in_final_state(); }));
  return job;
}

void ExpectBellCounts(const Result& result, int64_t shots) {
  const ShotCounts counts = result.get_counts();
  ASSERT_EQ(counts.size(), 2u);  // both appear but with probability 2^-(shots-1)
  EXPECT_EQ(counts[0].first, "00");
  EXPECT_EQ(counts[1].first, "11");
  EXPECT_EQ(counts[0].second + counts[1].second, shots);
}

TEST(RunPathsTest, BellRunsQueuedAndSynchronously) {
  auto backend = std::make_shared<BackendV2>();
  auto queued = Finished(backend->run(BellCircuit(), Options(100)));
  ASSERT_EQ(queued->status(), JobStatus::DONE);
  ExpectBellCounts(*queued->result(), 100);

  auto sync = backend->run(BellCircuit(), Options(100, "sync"));
  ASSERT_EQ(sync->status(), JobStatus::DONE);
  ExpectBellCounts(*sync->result(), 100);
  EXPECT_TRUE(sync->result()->success());
  EXPECT_EQ(sync->backend(), backend);
}

TEST(RunPathsTest, ResultCarriesTheRunTexts) {
  auto backend = std::make_shared<BackendV2>();
  auto job = Finished(backend->run(BellCircuit(), Options(1)));
  const std::shared_ptr<Result> result = job->result();
  EXPECT_EQ(result->backend_name(), "velmora_taviron");
  EXPECT_EQ(result->backend_version(), "0.2.1");
  EXPECT_EQ(result->qobj_id(), "");
  EXPECT_EQ(result->header(), "");
  EXPECT_EQ(result->status(), "Functional");
  EXPECT_EQ(result->job_id(), "0");
  EXPECT_TRUE(IsCtimeText(result->date())) << result->date();
  const ResultData data = result->data(0);
  EXPECT_TRUE(data.has_state);
  EXPECT_EQ(data.amplitudes.size(), 2u);
}

struct ModeCase {
  std::optional<std::string> mode;
  bool sync;
};

// "sync" in any letter case runs in the calling thread and takes the job
// counter without advancing it; everything else is queued and advances it.
TEST(RunPathsTest, ModeChoosesThePathAndTheJobId) {
  const std::vector<ModeCase> cases = {
      {std::nullopt, false}, {std::string("sync"), true}, {std::string("SYNC"), true},
      {std::string("SyNc"), true},  {std::string("sync2"), false}, {std::string("async"), false},
      {std::string(""), false},     {std::string("syn"), false},   {std::string(" sync"), false},
  };
  auto backend = std::make_shared<BackendV2>();
  int counter = 0;
  for (const ModeCase& c : cases) {
    LineRecorder recorder;
    auto job = Finished(backend->run(BellCircuit(), Options(2, c.mode, false), recorder.Sink()));
    EXPECT_EQ(job->status(), JobStatus::DONE);
    EXPECT_EQ(job->job_id(), std::to_string(counter)) << c.mode.value_or("(none)");
    if (!c.sync) ++counter;
    const std::vector<std::string> lines = recorder.Lines();
    ASSERT_FALSE(lines.empty());
    const bool timed = lines.front().rfind("Executing Circuit start time ", 0) == 0;
    EXPECT_EQ(timed, c.sync) << c.mode.value_or("(none)");
  }
}

TEST(RunPathsTest, SynchronousRunPrintsStartProgressAndEndLines) {
  auto backend = std::make_shared<BackendV2>();
  LineRecorder recorder;
  backend->run(BellCircuit(), Options(1, "sync", false), recorder.Sink());
  const std::vector<std::string> lines = recorder.Lines();
  // The two measures form one measurement run, which prints one line.
  ASSERT_EQ(lines.size(), 5u);
  // The lines carry the timestamp, which begins with the date and time.
  const std::string timestamp = "9999-99-99 99:99:99";
  ASSERT_EQ(lines[0].rfind("Executing Circuit start time ", 0), 0u);
  EXPECT_EQ(Shape(lines[0].substr(29, 19)), timestamp) << lines[0];
  EXPECT_EQ(lines[0].back(), '\n');
  EXPECT_EQ(lines[1], "0 of 4, gate: h\n");
  EXPECT_EQ(lines[2], "1 of 4, gate: cx\n");
  EXPECT_EQ(lines[3], "2 of 4, gate: measure\n");
  ASSERT_EQ(lines[4].rfind("Completed Circuit end time ", 0), 0u);
  EXPECT_EQ(Shape(lines[4].substr(27, 19)), timestamp) << lines[4];
  EXPECT_EQ(lines[4].back(), '\n');

  // Quiet (the default of a new circuit) prints nothing at all.
  LineRecorder quiet;
  backend->run(BellCircuit(), Options(1, "sync"), quiet.Sink());
  EXPECT_TRUE(quiet.Lines().empty());
}

TEST(RunPathsTest, SynchronousRunIsRefusedWhileATaskWaits) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto running =
      backend->run(BellCircuit(), Options(3, std::nullopt, false), WorkerHold::HoldingSink(gate));
  ASSERT_TRUE(gate->WaitEntered());

  // Only the running job: the queue is empty, a synchronous run goes ahead
  // beside it and takes the current id.
  auto beside = backend->run(BellCircuit(), Options(10, "sync"));
  EXPECT_EQ(beside->status(), JobStatus::DONE);
  EXPECT_EQ(beside->job_id(), "1");

  auto waiting = backend->run(BellCircuit(), Options(10));
  EXPECT_EQ(waiting->job_id(), "1");
  try {
    backend->run(BellCircuit(), Options(10, "sync"));
    ADD_FAILURE() << "synchronous run accepted";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(),
                 "The execution queue is not empty. Wait for completion or execute in async mode.");
  }
  gate->Release();
  Finished(waiting);
  EXPECT_EQ(backend->run(BellCircuit(), Options(1))->job_id(), "2");
}

TEST(RunPathsTest, RunWritesShotsAndQuietIntoTheCircuit) {
  auto backend = std::make_shared<BackendV2>();
  auto circuit = BellCircuit();
  EXPECT_EQ(circuit->shots(), 0);
  EXPECT_TRUE(circuit->quiet());

  // A new circuit runs no shot: no counts, and no state to read.
  auto none = Finished(backend->run(circuit));
  EXPECT_EQ(none->status(), JobStatus::DONE);
  EXPECT_TRUE(none->result()->get_counts().empty());
  EXPECT_THROW(none->result()->get_statevector(), RunTimeError);

  Finished(backend->run(circuit, Options(7, std::nullopt, false)));
  EXPECT_EQ(circuit->shots(), 7);
  EXPECT_FALSE(circuit->quiet());
  // A later run without options uses the stored values.
  LineRecorder recorder;
  auto again = Finished(backend->run(circuit, RunOptions(), recorder.Sink()));
  EXPECT_EQ(again->result()->get_memory().size(), 7u);
  EXPECT_EQ(recorder.Lines().size(), 7u * 3u);  // three progress lines per shot

  auto positional = Finished(backend->run_shots(circuit, 3));
  EXPECT_EQ(circuit->shots(), 3);
  EXPECT_EQ(positional->result()->get_memory().size(), 3u);

  // A negative count is refused before it is written or anything runs.
  EXPECT_THROW(backend->run(circuit, Options(-5, "sync")), std::invalid_argument);
  EXPECT_THROW(backend->run_shots(circuit, -1), std::invalid_argument);
  EXPECT_EQ(circuit->shots(), 3);
}

// A queued job runs on what its circuit was when it was queued: clearing,
// changing, re-running or dropping the circuit afterwards cannot reach it.
TEST(RunPathsTest, QueuedJobRunsOnASnapshotOfItsCircuit) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto holder =
      backend->run(BellCircuit(), Options(1, std::nullopt, false), WorkerHold::HoldingSink(gate));
  ASSERT_TRUE(gate->WaitEntered());

  auto circuit = BellCircuit();
  auto bell = backend->run(circuit, Options(50));
  circuit->clear();
  circuit->x(0);
  circuit->measure(0, 0);
  circuit->set_shots(1000);
  circuit->set_quiet(false);
  auto flipped = backend->run(circuit, Options(20));
  circuit.reset();

  gate->Release();
  Finished(flipped);
  ASSERT_EQ(bell->status(), JobStatus::DONE);
  ExpectBellCounts(*bell->result(), 50);
  ASSERT_EQ(flipped->status(), JobStatus::DONE);
  EXPECT_EQ(flipped->result()->get_counts(), (ShotCounts{{"1", 20}}));
}

TEST(RunPathsTest, ConditionsReadTheRegisterAsItWasQueued) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  auto holder =
      backend->run(BellCircuit(), Options(1, std::nullopt, false), WorkerHold::HoldingSink(gate));
  ASSERT_TRUE(gate->WaitEntered());

  // x on qubit 1 only when classical bit 0 reads 1.
  auto creg = std::make_shared<ClassicalRegister>(1, "flag");
  auto circuit = std::make_shared<QuantumCircuit>(2, 2);
  circuit->x(0);
  circuit->measure(0, 0);
  // A register of its own, outside the circuit's: the record is conditioned
  // directly, as c_if would refuse it.
  auto flagged = circuit->x(1);
  flagged->condition_targets.reset();
  flagged->c_if(creg, 1);
  circuit->measure(1, 1);
  creg->first_index = 0;
  auto job = backend->run(circuit, Options(5));
  creg->first_index = 1;  // would make the condition read bit 1 instead
  creg->size = 0;

  gate->Release();
  Finished(job);
  EXPECT_EQ(job->result()->get_counts(), (ShotCounts{{"11", 5}}));
}

// While a job runs, its Result holds the shots so far and no engine state:
// the readouts answer "no longer accessible", data "not completed".
TEST(RunPathsTest, ResultOfARunningJobHoldsTheShotsSoFar) {
  auto backend = std::make_shared<BackendV2>();
  auto gate = WorkerHold::Make();
  // Bell prints three progress lines per shot: hold at the first of shot 2.
  auto lines = std::make_shared<int>(0);
  const OutputSink hold = WorkerHold::HoldingSink(gate);
  auto job = backend->run(BellCircuit(), Options(3, std::nullopt, false),
                          [hold, lines](const std::string& line) {
                            if (++*lines == 4) hold(line);
                          });
  ASSERT_TRUE(gate->WaitEntered());
  EXPECT_EQ(job->status(), JobStatus::RUNNING);
  const std::shared_ptr<Result> result = job->result();
  ASSERT_EQ(result->get_memory().size(), 1u);
  const ShotCounts counts = result->get_counts();
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts[0].second, 1);
  EXPECT_FALSE(result->success());
  EXPECT_EQ(result->to_dict().texts.back().second, "False");
  auto message = [](const std::function<void()>& call) -> std::string {
    try {
      call();
    } catch (const RunTimeError& error) {
      return error.what();
    }
    return "(no exception)";
  };
  EXPECT_EQ(message([&] { result->get_statevector(); }),
            "Statevector is is no longer accessible for the given job.");
  EXPECT_EQ(message([&] { result->get_classicalregister(); }),
            "Amplitude vector is no longer accessible for the given job.");
  EXPECT_EQ(message([&] { result->data(0); }), "Job not completed yet. Try again later.");

  gate->Release();
  Finished(job);
  EXPECT_EQ(job->status(), JobStatus::DONE);
  EXPECT_EQ(result->get_memory().size(), 3u);
  EXPECT_TRUE(result->success());
}

// Jobs queued on several backends at once run their shots on the process's
// shot threads: while they run the process has no thread beyond the
// backends' workers and the pool's, and each job's counts are right (the
// second bit copies the first through a condition: 00 and 11, each with
// probability 1/2, within 5 standard deviations).
TEST(RunPathsTest, JobsOnSeveralBackendsShareTheShotThreads) {
  const int shots = 3000;
  std::vector<std::shared_ptr<BackendV2>> backends;
  for (int i = 0; i < 3; ++i) backends.push_back(std::make_shared<BackendV2>());
  ShotThreadPool::Instance();
  const int before = ThreadCount();
  std::vector<std::shared_ptr<JobV1>> jobs;
  for (const std::shared_ptr<BackendV2>& backend : backends) {
    auto circuit = std::make_shared<QuantumCircuit>(3, 3);
    circuit->h(0);
    circuit->measure(0, 0);
    circuit->x(1)->c_if_clbit(0, 1);
    circuit->cx(1, 2);
    circuit->measure(1, 1);
    jobs.push_back(backend->run(circuit, Options(shots)));
  }
  int most = before;
  ASSERT_TRUE(WaitUntil([&] {
    most = std::max(most, ThreadCount());
    return std::all_of(jobs.begin(), jobs.end(), [](const auto& job) { return job->in_final_state(); });
  }));
  EXPECT_LE(most, before);
  EXPECT_LE(ShotThreadPool::Instance().peak_busy(), ShotThreadPool::ProcessorLimit());
  for (const std::shared_ptr<JobV1>& job : jobs) {
    ASSERT_EQ(job->status(), JobStatus::DONE);
    const ShotCounts counts = job->result()->get_counts();
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[0].first, "00");
    EXPECT_EQ(counts[1].first, "11");
    EXPECT_LE(std::abs(counts[0].second - shots / 2.0), 5.0 * std::sqrt(shots / 4.0) + 1.0);
    EXPECT_EQ(counts[0].second + counts[1].second, shots);
  }
}

TEST(RunPathsTest, EngineStateThatCannotBeMadeEndsTheJobInError) {
  JobV1 job("0");
  Result result;
  RunSnapshot snapshot;
  snapshot.qubit_count = uint64_t{1} << 62;
  snapshot.shots = 5;
  snapshot.quiet = false;
  LineRecorder recorder;
  job.SetStatus(JobStatus::RUNNING);
  BackendV2::ExecuteJob(snapshot, job, result, true, recorder.Sink());
  EXPECT_EQ(job.status(), JobStatus::ERROR);
  EXPECT_FALSE(result.success());
  EXPECT_TRUE(result.get_memory().empty());
  EXPECT_THROW(result.get_classicalregister(), RunTimeError);
  EXPECT_TRUE(recorder.Lines().empty());
}

}  // namespace

}  // namespace taviron
