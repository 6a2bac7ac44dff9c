#ifndef TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_FIXED_DECOMPOSITIONS_H
#define TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_FIXED_DECOMPOSITIONS_H

#include <cstdint>
#include <string>

#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// The triple-controlled square root of X on target, as 27 h, cu1 and cx
// records appended to composite's body. Returns 0; a non-zero appender
// status throws RunTimeError "Error handling multi control gate.".
int32_t AppendC3SqrtXDecomposition(QuantumCircuit& circuit, uint64_t control1,
                                   uint64_t control2, uint64_t control3,
                                   uint64_t target, GateRecord& composite,
                                   std::string label);

// The triple-controlled X on target, as 31 h, p and cx records appended to
// composite's body. Returns 0 and fails as above.
int32_t AppendC3XDecomposition(QuantumCircuit& circuit, uint64_t control1,
                               uint64_t control2, uint64_t control3,
                               uint64_t target, GateRecord& composite,
                               std::string label);

}  // namespace taviron

#endif
