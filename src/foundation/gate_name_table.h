#ifndef TAVIRON_FOUNDATION_GATE_NAME_TABLE_H
#define TAVIRON_FOUNDATION_GATE_NAME_TABLE_H

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/gate_id.h"

namespace taviron {

// One entry of the gate catalogue: a gate type id with its lower-case
// operation name and its display label.
struct GateNameEntry {
  GateId id;
  std::string name;
  std::string label;
};

// The gate catalogue: exactly 54 entries in their fixed order, built once on
// first use and read-only afterwards (safe to read from any thread).
// Read it through GateRecord::GetName and GateRecord::GetLabel.
const std::vector<GateNameEntry>& GateNameTable();

}  // namespace taviron

#endif
