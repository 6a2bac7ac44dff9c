#ifndef TAVIRON_SIMULATOR_TESTING_MPS_STATE_PROBE_H
#define TAVIRON_SIMULATOR_TESTING_MPS_STATE_PROBE_H

#include <cstdint>
#include <vector>

#include "simulator/mps_state.h"
#include "simulator/uniform_draw.h"

namespace taviron {

// What the tests set or read in an MpsState beyond its own functions: the
// classical bits written directly, the range the draws are mapped onto, and
// the draw source itself.
class MpsStateProbe {
 public:
  static std::vector<int64_t>& ClassicalValues(MpsState& state) { return state.classical_values_; }
  static double LowerBound(const MpsState& state) { return state.lower_bound_; }
  static double UpperBound(const MpsState& state) { return state.upper_bound_; }
  static void SetDrawBounds(MpsState& state, double lower, double upper) {
    state.lower_bound_ = lower;
    state.upper_bound_ = upper;
  }
  static const UniformDrawSource& UniformDraw(const MpsState& state) { return state.uniform_draw_; }
};

}  // namespace taviron

#endif
