#ifndef TAVIRON_SIMULATOR_UNIFORM_DRAW_H
#define TAVIRON_SIMULATOR_UNIFORM_DRAW_H

#include <cstdint>
#include <functional>

namespace taviron {

// A source of uniform draws r in [0, 1); each call gives the next draw. A
// measurement maps r onto [lower_bound, upper_bound) of its state.
using UniformDrawSource = std::function<double()>;

// The seed of a new generator: the non-deterministic random device,
// exclusive-or'ed with (system clock seconds since the epoch + steady clock
// microseconds) modulo 2^32.
uint32_t MakeMeasurementSeed();

// A Mersenne Twister generator seeded once with MakeMeasurementSeed, drawn
// through the standard uniform real distribution on [0, 1).
UniformDrawSource MakeSeededUniformDraw();

}  // namespace taviron

#endif
