#ifndef TAVIRON_SIMULATOR_SHOT_SAMPLING_H
#define TAVIRON_SIMULATOR_SHOT_SAMPLING_H

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/gate_record.h"
#include "simulator/mps_state.h"

namespace taviron {

// Many shots of a circuit whose measurements all come at its end, from one
// simulation: the gates run once, and every shot but the last draws its
// outcomes from that state by a left-to-right sweep of conditional
// probabilities, with no copy of the state and no decomposition; the last
// shot measures the state for real, so that it ends collapsed as after the
// shot-by-shot loop. Each shot draws, as the loop does, one uniform value
// per measured qubit of each measurement run, in ascending site order, and
// so yields the loop's bit strings for the same sequence of draws.

// Whether a run of a record list can be sampled: the run is quiet; no
// record (inside composites too) has a condition or is a reset; measure
// records stand at the top level only and name qubits of the state; and no
// record acts on a qubit after it was measured.
bool QualifiesForSampling(const GateRecordList& records, bool quiet, int64_t qubit_count);

// Runs `shots` (at least 1) shots of a qualifying list on a state that has
// just been reset, handing each shot's bit string to `append` in shot
// order. When the measurement runs would draw their qubits out of ascending
// site order (a later run measuring a qubit to the left of an earlier one),
// nothing is appended and false is returned: the state is then no longer
// fresh, and the shots are left to the shot-by-shot loop.
bool RunSampledShots(MpsState& state, const GateRecordList& records, int32_t shots,
                     const std::function<void(std::string)>& append);

}  // namespace taviron

#endif
