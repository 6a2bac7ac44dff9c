#ifndef TAVIRON_EXECUTION_JOB_MONITOR_H
#define TAVIRON_EXECUTION_JOB_MONITOR_H

#include <cstdint>
#include <functional>

#include "foundation/output_sink.h"

namespace taviron {

class JobV1;

// Called at every poll and, while the monitor sleeps, at least every tenth
// of a second. It may throw to end the monitor (the Python layer checks for
// pending signals here, so that Ctrl-C interrupts a long sleep).
using InterruptCheck = std::function<void()>;

// Watches a job until it reaches a final state. Each poll prints the job's
// status text through sink (unless quiet); at a final state it prints
// "Ending Job Monitor" and returns; otherwise it sleeps interval seconds
// (one second for 0, none for a negative interval) and polls again. No
// mutex is held while it prints or sleeps.
void job_monitor(JobV1& job, int32_t interval, bool quiet, const OutputSink& sink,
                 const InterruptCheck& interrupt_check = {});

}  // namespace taviron

#endif
