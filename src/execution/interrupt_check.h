#ifndef TAVIRON_EXECUTION_INTERRUPT_CHECK_H
#define TAVIRON_EXECUTION_INTERRUPT_CHECK_H

#include <chrono>
#include <functional>

namespace taviron {

// Called by the waits for a job (wait_for_final_state's pause, job_monitor's
// sleep) at least every kInterruptCheckStep while they sleep. It may throw to
// end the wait: the Python layer checks for pending signals here, so that
// Ctrl-C interrupts a long sleep.
using InterruptCheck = std::function<void()>;

constexpr std::chrono::milliseconds kInterruptCheckStep{20};

}  // namespace taviron

#endif
