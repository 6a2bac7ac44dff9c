#ifndef TAVIRON_SIMULATOR_ENGINE_CLOCK_H
#define TAVIRON_SIMULATOR_ENGINE_CLOCK_H

#include <chrono>
#include <cstdint>

namespace taviron {

// The steady clock's reading in nanoseconds: the records' start and end times.
inline int64_t SteadyNanoseconds() {
  return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

}  // namespace taviron

#endif
