#ifndef TAVIRON_EXECUTION_RUN_SNAPSHOT_H
#define TAVIRON_EXECUTION_RUN_SNAPSHOT_H

#include <cstdint>

#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// What the shots of one job read of its circuit: the qubit count (quantum
// and ancilla qubits), the shot count, the quiet flag and the instruction
// list.
struct RunSnapshot {
  uint64_t qubit_count = 0;
  int32_t shots = 0;
  bool quiet = true;
  GateRecordList gates;
};

// The circuit's settings with its own records: for a run in the calling
// thread, which may stamp the circuit's records as it goes.
RunSnapshot ShareCircuit(const QuantumCircuit& circuit);

// The circuit's settings with a private copy of every record, composite
// bodies included, and of each register named by a condition (its first
// index and size as they are now). A queued job runs on this, so changing,
// clearing, re-running or freeing the circuit afterwards cannot reach it,
// and the engine's timestamps land in the copy.
RunSnapshot CopyCircuit(const QuantumCircuit& circuit);

}  // namespace taviron

#endif
