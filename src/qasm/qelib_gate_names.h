#ifndef TAVIRON_QASM_QELIB_GATE_NAMES_H
#define TAVIRON_QASM_QELIB_GATE_NAMES_H

#include <string>
#include <vector>

namespace taviron {

// The gate names that "qelib1.inc" provides, so the writer emits no
// definition for a composite of that name. A new list on every call.
std::vector<std::string> MakeQelibGateNames();

}  // namespace taviron

#endif
