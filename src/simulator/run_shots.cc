#include "simulator/run_shots.h"

#include <algorithm>
#include <utility>

#include "simulator/gate_dispatch.h"
#include "simulator/shot_loop.h"
#include "simulator/shot_sampling.h"
#include "simulator/uniform_draw.h"

namespace taviron {

namespace {

// Whether a record, or a record of its body, has a condition or is a
// measurement or a reset: from the first such record on, shots can differ.
bool ShotsCanPart(const GateRecord& record) {
  const GateAction action = LookupGateDispatch(record.gate_type).action;
  if (record.conditioned || action == GateAction::kMeasure || action == GateAction::kReset) {
    return true;
  }
  return std::any_of(record.body.begin(), record.body.end(),
                     [](const GateRecordPtr& part) { return ShotsCanPart(*part); });
}

// The job's seed, from its seed source: the state's draws.
uint64_t JobSeed(const UniformDrawSource& draw) {
  if (!draw) return MakeMeasurementSeed();
  const auto word = [&draw] { return static_cast<uint64_t>(draw() * 4294967296.0); };
  const uint64_t high = word();
  return (high << 32) | word();
}

}  // namespace

std::unique_ptr<MpsState> RunShots(std::unique_ptr<MpsState> state, const GateRecordList& records,
                                   int32_t shots, bool quiet, const ShotSink& append,
                                   const OutputSink& progress) {
  if (shots <= 0) return state;
  if (!quiet) {
    for (int32_t shot = 0; shot < shots; ++shot) {
      if (shot > 0) state->Reset();
      state->ExecuteInstructions(false, records, progress);
      append(state->GetShotBits());
    }
    return state;
  }
  if (QualifiesForSampling(records, state->qubit_count())) {
    RunSampledShots(*state, records, shots, append);
    return state;
  }
  // The gates before the first record that can make shots differ run once.
  const auto split = std::find_if(records.begin(), records.end(),
                                  [](const GateRecordPtr& record) { return ShotsCanPart(*record); });
  state->ExecuteInstructions(true, GateRecordList(records.begin(), split));
  const GateRecordList rest(split, records.end());
  if (shots == 1) {
    state->ExecuteInstructions(true, rest);
    append(state->GetShotBits());
    return state;
  }
  // Every shot draws from a generator of its own, seeded from the state's.
  const uint64_t seed = JobSeed(state->TakeUniformDraw());
  ShotLoop loop(*state, rest, shots, seed);
  return loop.Run(append);
}

}  // namespace taviron
