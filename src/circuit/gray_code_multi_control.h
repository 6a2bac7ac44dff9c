#ifndef TAVIRON_CIRCUIT_GRAY_CODE_MULTI_CONTROL_H
#define TAVIRON_CIRCUIT_GRAY_CODE_MULTI_CONTROL_H

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// Leaf kinds of the Gray-code engine, as gate ids.
constexpr GateId kLeafControlledPhase = GateId::kCP;  // cp(E)
constexpr GateId kLeafControlledU = GateId::kCU;      // cu(E, phi, lambda, gamma)
constexpr GateId kLeafCU1 = GateId::kCU1;              // cu1(E)

// Status of the engine for a leaf kind it does not know.
constexpr int32_t kUnknownLeafKindStatus = static_cast<int32_t>(0x80000012u);

// The most controls the engine takes: its codes are 32-digit binary texts.
constexpr uint64_t kMaxGrayCodeControls = 32;

// Appends to `destination` the Gray-code decomposition of a gate controlled
// by every qubit of `controls` (sorted, distinct) acting on `target`: for
// each non-zero n-bit Gray code, a controlled leaf with angle +-x / 2^(n-1)
// on (leading control of the code, target), the controls chained by CX
// records so that each leaf sees the parity of the code's controls. With n
// controls that makes 2^n - 1 leaves and 2^n - 2 CX records.
//
// leaf_params holds (phi, lambda, gamma) and is read only for
// kLeafControlledU. Returns 0 (at once for an empty control list, whatever
// the kind), or kUnknownLeafKindStatus (nothing appended) for a kind other
// than the three above, or the first non-zero status of an appender, at
// once. Throws std::out_of_range "invalid string position" for more than 32
// controls, std::out_of_range "invalid vector subscript" when
// kLeafControlledU gets fewer than three leaf parameters, and
// MemoryAllocError when the body could not fit in memory; all three before
// anything is appended. Errors of the append core propagate.
int32_t AppendGrayCodeMultiControl(QuantumCircuit& circuit, double x,
                                   std::vector<uint64_t> controls,
                                   uint64_t target, GateId leaf_kind,
                                   const std::vector<double>& leaf_params,
                                   GateRecordList& destination,
                                   std::string label);

}  // namespace taviron

#endif
