#ifndef TAVIRON_EXECUTION_JOB_STATUS_H
#define TAVIRON_EXECUTION_JOB_STATUS_H

#include <cstdint>

namespace taviron {

// The states of a job. CANCELLED, DONE and ERROR are final: no operation
// leaves them. VALIDATING is never set by the system.
enum class JobStatus : int32_t {
  INITIALIZING = 0,
  QUEUED = 1,
  VALIDATING = 2,
  RUNNING = 3,
  CANCELLED = 4,
  DONE = 5,
  ERROR = 6,
};

inline bool IsFinalStatus(JobStatus status) {
  return status == JobStatus::CANCELLED || status == JobStatus::DONE ||
         status == JobStatus::ERROR;
}

}  // namespace taviron

#endif
