#ifndef TAVIRON_FOUNDATION_GATE_ID_H
#define TAVIRON_FOUNDATION_GATE_ID_H

#include <cstdint>

namespace taviron {

// The gate type id of an instruction record. The numbers are fixed: they
// order the catalogue (gate_name_table.cc), which gives each its name and
// label. Every table that acts per gate (the circuit's gate methods, the
// simulator's dispatch, the drawer's painters, the OpenQASM writer) is keyed
// by these names, never by the numbers.
enum class GateId : int32_t {
  kNone = 0,  // a record fresh from its constructor
  kH = 1,
  kX = 2,
  kI = 3,
  kId = 4,  // catalogue entry only: the `id` method builds kI
  kT = 5,
  kS = 6,
  kTdg = 7,
  kSdg = 8,
  kSX = 9,
  kSXdg = 10,
  kP = 11,
  kR = 12,
  kRV = 13,
  kRX = 14,
  kRY = 15,
  kRZ = 16,
  kU = 17,  // u and u3
  kY = 18,
  kZ = 19,
  kCX = 20,
  kCY = 21,
  kCZ = 22,
  kCH = 23,
  kCXSpare = 24,  // catalogue entry only, a second "cx"
  kCP = 25,
  kCRX = 26,
  kCRY = 27,
  kCRZ = 28,
  kCS = 29,
  kCSdg = 30,
  kCSX = 31,
  kCU = 32,
  kDCX = 33,
  kECR = 34,
  kISwap = 35,
  kRXX = 36,
  kRYY = 37,
  kRZX = 38,
  kRZZ = 39,
  kSwap = 40,
  kMeasure = 41,
  kBarrierSpare = 42,  // catalogue entry only; lookups treat it as a barrier
  kBarrier = 43,
  kReset = 44,
  kCSwap = 45,  // catalogue entry only: cswap builds a composite
  kCU1 = 46,    // the angle itself, not its phase, sits in the matrix
  kCU3 = 47,
  kU1 = 48,
  kU2 = 49,
  kCCX = 50,    // catalogue entry only: ccx builds a composite
  kCCZ = 51,    // catalogue entry only: ccz builds a composite
  kEmpty = 52,  // an entry with no name
  kComposite = 53,  // a decomposed gate, an attached circuit or a user gate
  kU0 = 54,
};

// The fixed number of an id, for output and for indexing by id.
constexpr int32_t GateNumber(GateId id) { return static_cast<int32_t>(id); }

// The highest id in the catalogue.
constexpr GateId kLastGateId = GateId::kU0;

// Either of the two barrier ids.
constexpr bool IsBarrier(GateId id) {
  return id == GateId::kBarrier || id == GateId::kBarrierSpare;
}

}  // namespace taviron

#endif
