// The gate methods over control lists and the fixed four- and five-qubit
// gates: one overload each. Second names (mct, ms, rc3x, toffoli) have rows
// of their own, with the docstring and result class of the first name and
// their own circuit member.

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

using QC = QuantumCircuit;

namespace {

const char kMultiXDoc[] = "Implements the multicontrol X gate";
// "Mølmer–Sørensen", with U+00F8 and U+2013, in UTF-8.
const char kGmsDoc[] =
    "Implements the MS or the Global M\xc3\xb8lmer\xe2\x80\x93S\xc3\xb8rensen gate";
const char kRelativeC3xDoc[] = "Implements the triple controlled X rotation gate";

const std::vector<const char*> kMultiControlledRotation = {
    "lambda", "control_qubits", "target_qubit", "use_basis_gates", "label"};
const std::vector<const char*> kMultiControlledX = {"control_qubits", "target_qubit",
                                                    "ancilla_qubits", "mode", "label"};
const std::vector<const char*> kGms = {"theta", "qubit_list", "label"};
const std::vector<const char*> kThreeControls = {"control_qubit1", "control_qubit2",
                                                 "control_qubit3", "target_qubit", "label"};

}  // namespace

MethodTable MultiControlledGateMethods() {
  return {
      Method("mcp", "Implements the multicontrol phase gate", &QC::mcp,
             {"lambda", "control_qubits", "target_qubit", "label"}),
      Method("mcrx", "Implements the multicontrol X rotation", &QC::mcrx,
             kMultiControlledRotation),
      Method("mcry", "Implements the multicontrol Y rotation", &QC::mcry,
             kMultiControlledRotation),
      Method("mcrz", "Implements the multicontrol Z rotation", &QC::mcrz,
             kMultiControlledRotation),
      Method("mct", kMultiXDoc, &QC::mct, kMultiControlledX),
      Method("mcx", kMultiXDoc, &QC::mcx, kMultiControlledX),
      Method("ms", kGmsDoc, &QC::ms, kGms),
      Method("gms", kGmsDoc, &QC::gms, kGms),
      Method("rcccx", kRelativeC3xDoc, &QC::rcccx, kThreeControls),
      Method("rc3x", kRelativeC3xDoc, &QC::rc3x, kThreeControls),
      Method("toffoli", "Implements the controlled-controlled-x gate", &QC::toffoli,
             {"control_qubit1", "control_qubit2", "target_qubit", "label"}),
      Method("c3sqrtx", "Implements the triple controlled square root of X gate", &QC::c3sqrtx,
             kThreeControls),
      Method("c3x", "Implements the three controlled X gate", &QC::c3x, kThreeControls),
      Method("c4x", "Implments the four controlled X gate", &QC::c4x,
             {"control_qubit1", "control_qubit2", "control_qubit3", "control_qubit4",
              "target_qubit", "label"}),
  };
}

}  // namespace taviron::python
