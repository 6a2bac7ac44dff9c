#ifndef TAVIRON_SIMULATOR_RUN_SHOTS_H
#define TAVIRON_SIMULATOR_RUN_SHOTS_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/gate_record.h"
#include "foundation/output_sink.h"
#include "simulator/mps_state.h"

namespace taviron {

// Receives the shots' bit strings, one call per shot in shot order, on the
// thread that called RunShots.
using ShotSink = std::function<void(std::string bits)>;

// Runs `shots` shots of a record list, each from the all-zero state, and
// returns the state that the last shot left (`state` itself, all zero, when
// no shot runs). `state` is the job's engine state as just made; its draw
// source is the job's seed source.
//
// - A run that prints progress (quiet false) runs shot by shot on the
//   calling thread, the whole list each time, so that its lines keep their
//   order.
// - A quiet run whose measurements are all final is simulated once and its
//   shots drawn from that state (shot_sampling.h).
// - Any other quiet run simulates the records before its first
//   measurement, reset or condition once; its shots then start from copies
//   of that state and run on the process's shot threads
//   (shot_thread_pool.h), each thread with one copy of the state and a
//   generator of its own, seeded from the job's seed. The records carry
//   the times of the shot whose state is returned.
//
// An exception raised by a shot (or by `append`) is raised here once no
// thread works on the job any more; the shots handed on before it stay
// handed on.
std::unique_ptr<MpsState> RunShots(std::unique_ptr<MpsState> state, const GateRecordList& records,
                                   int32_t shots, bool quiet, const ShotSink& append,
                                   const OutputSink& progress = OutputSink());

}  // namespace taviron

#endif
