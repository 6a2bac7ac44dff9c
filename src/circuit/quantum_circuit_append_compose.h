#ifndef TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_APPEND_COMPOSE_H
#define TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_APPEND_COMPOSE_H

#include <cstdint>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

// Appends to `destination` a copy of every record of `source`, in order and
// at every depth of their bodies, with each qubit index q replaced by
// qubit_map[q] and each classical index c (operands and single-bit
// conditions) by clbit_map[c]. Copies keep the classical conditions of their
// sources and mark no qubit active. The maps must cover every index that the
// records use (see ValidateAttachMaps).
void CopyGateRecords(const GateRecordList& source, GateRecordList& destination,
                     const std::vector<uint64_t>& qubit_map,
                     const std::vector<uint64_t>& clbit_map);

// Refuses, with RunTimeError and before anything is copied, maps under which
// a copy of `records` would be unsound:
// - a qubit without a map entry, or a record whose mapped qubits coincide:
//   "The qubit list is incorrect";
// - a classical operand or condition bit without a map entry:
//   `clbit_message`;
// - a register condition whose register bits the classical map moves: the
//   condition could no longer be kept.
void ValidateAttachMaps(const GateRecordList& records,
                        const std::vector<uint64_t>& qubit_map,
                        const std::vector<uint64_t>& clbit_map,
                        const char* clbit_message);

// Whether two record lists hold the same gates position by position. Types,
// labels, parameters (exactly), conditions and matrices (to a relative
// 1e-12) are compared; qubits and classical bits only by count, since a
// composite's body holds indices already mapped. Two composites also need
// equal texts and equal bodies, compared the same way.
bool GateListsEqual(const GateRecordList& a, const GateRecordList& b);

}  // namespace taviron

#endif
