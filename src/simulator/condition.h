#ifndef TAVIRON_SIMULATOR_CONDITION_H
#define TAVIRON_SIMULATOR_CONDITION_H

#include <cstdint>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

// Whether a record's classical condition holds for the classical values of
// one shot. classical_values[k] is the value of classical bit k: -1 while the
// bit has not been measured in the shot, else 0 or 1. A bit past the end of
// classical_values reads as not measured.
//
// - An unconditioned record always holds.
// - Bit form: holds when the bit has been measured and its value equals
//   condition_value; a bit not measured never satisfies it.
// - Register form: the bits of condition_register (its current first bit
//   index and bit count) form a number, bit k of the register being bit k of the
//   number, unmeasured bits counting as 0; holds when that number equals
//   condition_value. A register of size 0 forms 0. A set register bit at
//   position 64 or above makes the number exceed every 64-bit value, so the
//   condition fails. A register condition without a register reads as one
//   of size 0.
bool ConditionHolds(const GateRecord& record,
                    const std::vector<int64_t>& classical_values);

}  // namespace taviron

#endif
