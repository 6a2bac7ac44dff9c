#ifndef TAVIRON_EXECUTION_JOB_MONITOR_H
#define TAVIRON_EXECUTION_JOB_MONITOR_H

#include <cstdint>
#include <functional>

#include "execution/interrupt_check.h"
#include "foundation/output_sink.h"

namespace taviron {

class JobV1;

// Watches a job until it reaches a final state. Each poll prints the job's
// status text through sink (unless quiet); at a final state it prints
// "Ending Job Monitor" and returns; otherwise it sleeps interval seconds
// (one second for 0, none for a negative interval) and polls again. No
// mutex is held while it prints or sleeps. interrupt_check runs at every
// poll and every kInterruptCheckStep of a sleep.
void job_monitor(JobV1& job, int32_t interval, bool quiet, const OutputSink& sink,
                 const InterruptCheck& interrupt_check = {});

}  // namespace taviron

#endif
