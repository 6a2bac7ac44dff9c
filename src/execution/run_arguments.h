#ifndef TAVIRON_EXECUTION_RUN_ARGUMENTS_H
#define TAVIRON_EXECUTION_RUN_ARGUMENTS_H

#include <cstdint>
#include <string>

namespace taviron {

// Checks and readings of the arguments of BackendV2::run.

// Throws std::invalid_argument (Python ValueError) naming the count when it
// is negative; 0 shots is a run that measures nothing.
void RequireShotCount(int32_t shots);

// Whether a mode asks for a synchronous run: "sync" in any letter case.
bool IsSyncMode(const std::string& mode);

// Whether a mode is one of the two that a run knows by name, "sync" and
// "async", in any letter case. Every other text queues the run as "async"
// does, so that programs written for other toolkits may pass their own.
bool IsNamedRunMode(const std::string& mode);

}  // namespace taviron

#endif
