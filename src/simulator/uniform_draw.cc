#include "simulator/uniform_draw.h"

#include <chrono>
#include <random>

namespace taviron {

uint32_t MakeMeasurementSeed() {
  namespace chrono = std::chrono;
  std::random_device device;
  const uint64_t wall_seconds = static_cast<uint64_t>(
      chrono::duration_cast<chrono::seconds>(chrono::system_clock::now().time_since_epoch()).count());
  const uint64_t steady_micros = static_cast<uint64_t>(
      chrono::duration_cast<chrono::microseconds>(chrono::steady_clock::now().time_since_epoch())
          .count());
  const uint32_t clock_part = static_cast<uint32_t>((wall_seconds + steady_micros) & 0xFFFFFFFFu);
  return static_cast<uint32_t>(device()) ^ clock_part;
}

UniformDrawSource MakeSeededUniformDraw() {
  // The generator lives inside the source, so a copied source (a copied
  // state) carries its own generator and shares nothing with the original.
  return [generator = std::mt19937(MakeMeasurementSeed())]() mutable {
    std::uniform_real_distribution<double> distribution(0.0, 1.0);
    return distribution(generator);
  };
}

}  // namespace taviron
