#ifndef TAVIRON_SIMULATOR_SHOT_SAMPLING_H
#define TAVIRON_SIMULATOR_SHOT_SAMPLING_H

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/gate_record.h"
#include "simulator/mps_state.h"

namespace taviron {

// Many shots of a circuit whose measurements are all final (no record acts
// on a qubit once it is measured), from one simulation: the gates run once,
// and every shot but the last draws the measured qubits from that state, in
// ascending site order, by a left-to-right sweep of conditional
// probabilities, with no copy of the state and no decomposition; each
// measure record takes its qubit's outcome. The last shot measures the
// state for real, so that it ends collapsed as after the shot-by-shot loop.
// The counts follow the loop's distribution; the bit strings of one seed
// are not the loop's.

// Whether a record list can be sampled: no record (inside composites too)
// has a condition or is a reset, every measure record names a qubit of the
// state, and no record but a barrier or identity acts on a qubit after it
// was measured.
bool QualifiesForSampling(const GateRecordList& records, int64_t qubit_count);

// Runs `shots` (at least 1) shots of a qualifying list on a state that has
// just been made, handing each shot's bit string to `append` in shot order.
void RunSampledShots(MpsState& state, const GateRecordList& records, int32_t shots,
                     const std::function<void(std::string)>& append);

}  // namespace taviron

#endif
