#include "execution/job_monitor.h"

#include <chrono>
#include <thread>

#include "execution/job.h"
#include "execution/job_status.h"

namespace taviron {

namespace {

const char* StatusText(JobStatus status) {
  switch (status) {
    case JobStatus::INITIALIZING: return "Job Initializing";
    case JobStatus::QUEUED: return "Job Queued";
    case JobStatus::VALIDATING: return "Job Validating";
    case JobStatus::RUNNING: return "Job Running";
    case JobStatus::CANCELLED: return "Job Cancelled";
    case JobStatus::DONE: return "Job Done.";
    case JobStatus::ERROR: return "Job Error";
  }
  return "Job Status Unknown";
}

void Print(const OutputSink& sink, const char* text) {
  if (sink) sink(text);
}

// Sleeps until deadline, waking at least every step to run the check.
void SleepUntil(std::chrono::steady_clock::time_point deadline,
                const InterruptCheck& interrupt_check) {
  if (!interrupt_check) {
    std::this_thread::sleep_until(deadline);
    return;
  }
  for (auto now = std::chrono::steady_clock::now(); now < deadline;
       now = std::chrono::steady_clock::now()) {
    std::this_thread::sleep_until(deadline - now > kInterruptCheckStep ? now + kInterruptCheckStep
                                                                       : deadline);
    interrupt_check();
  }
}

// now + seconds, cut to the clock's largest value.
std::chrono::steady_clock::time_point DeadlineAfter(int32_t seconds) {
  const auto now = std::chrono::steady_clock::now();
  const auto span = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::seconds(seconds));
  if (now.time_since_epoch() > std::chrono::steady_clock::duration::max() - span) {
    return std::chrono::steady_clock::time_point::max();
  }
  return now + span;
}

}  // namespace

void job_monitor(JobV1& job, int32_t interval, bool quiet, const OutputSink& sink,
                 const InterruptCheck& interrupt_check) {
  for (;;) {
    if (interrupt_check) interrupt_check();
    const JobStatus status = job.status();
    if (!quiet) Print(sink, StatusText(status));
    if (IsFinalStatus(status)) {
      if (!quiet) Print(sink, "Ending Job Monitor");
      return;
    }
    if (interval >= 0) SleepUntil(DeadlineAfter(interval == 0 ? 1 : interval), interrupt_check);
  }
}

}  // namespace taviron
