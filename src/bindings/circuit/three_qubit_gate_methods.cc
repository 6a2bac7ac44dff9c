// The three-qubit gate methods ccx, ccz, cswap, fredkin and rccx: one
// overload each. fredkin is a second name of cswap with parameter names of
// its own.

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

using QC = QuantumCircuit;

namespace {

const char kSwapDoc[] = "Implements the controlled-swap gate";
const std::vector<const char*> kTwoControls = {"control_qubit1", "control_qubit2",
                                               "target_qubit", "label"};

}  // namespace

MethodTable ThreeQubitGateMethods() {
  return {
      Method("ccx", "Implements the controlled-controlled-x gate", &QC::ccx, kTwoControls),
      Method("ccz", "Implements the controlled-controlled-z gate", &QC::ccz, kTwoControls),
      Method("cswap", kSwapDoc, &QC::cswap,
             {"control_qubit", "target_qubit1", "target_qubit2", "label"}),
      Method("fredkin", kSwapDoc, &QC::fredkin, kTwoControls),
      Method("rccx", kSwapDoc, &QC::rccx, kTwoControls),
  };
}

}  // namespace taviron::python
