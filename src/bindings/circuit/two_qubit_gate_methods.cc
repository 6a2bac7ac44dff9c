// The two-qubit gate methods: one overload each; the gate's angles, then its
// two qubits (the first is the control where there is one), then label.

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

using QC = QuantumCircuit;

namespace {

const std::vector<const char*> kControlled = {"control_qubit", "target_qubit", "label"};
const std::vector<const char*> kControlledTheta = {"theta", "control_qubit", "target_qubit",
                                                   "label"};
const std::vector<const char*> kPair = {"qubit1", "qubit2", "label"};
const std::vector<const char*> kPairTheta = {"theta", "qubit1", "qubit2", "label"};

}  // namespace

MethodTable TwoQubitGateMethods() {
  return {
      Method("cx", "Implements the controlled-x gate", &QC::cx, kControlled),
      Method("cy", "Implements the controlled-y gate", &QC::cy, kControlled),
      Method("cz", "Implements the controlled-z gate", &QC::cz, kControlled),
      Method("ch", "Implements the controlled-h gate", &QC::ch, kControlled),
      Method("cnot", "Implements the controlled-not gate", &QC::cnot, kControlled),
      Method("cp", "Implements the controlled-phase gate", &QC::cp, kControlledTheta),
      Method("cs", "Implements the controlled-s gate", &QC::cs, kControlled),
      Method("csdg", "Implements the controlled-sdg gate", &QC::csdg, kControlled),
      Method("csx", "Implements the controlled-sx gate", &QC::csx, kControlled),
      Method("crx", "Implements the controlled-rx gate", &QC::crx, kControlledTheta),
      Method("cry", "Implements the controlled-ry gate", &QC::cry, kControlledTheta),
      Method("crz", "Implements the controlled-rz gate", &QC::crz, kControlledTheta),
      Method("cu", "Implements the controlled-u gate", &QC::cu,
             {"theta", "phi", "lambda", "gamma", "control_qubit", "target_qubit", "label"}),
      Method("dcx", "Implements the dcx gate", &QC::dcx, kPair),
      Method("ecr", "Implements the ecr gate", &QC::ecr, kPair),
      Method("iswap", "Implements the iswap gate", &QC::iswap, kPair),
      Method("rxx", "Implements the rxx gate", &QC::rxx, kPairTheta),
      Method("ryy", "Implements the ryy gate", &QC::ryy, kPairTheta),
      Method("rzx", "Implements the rzx gate", &QC::rzx, kPairTheta),
      Method("rzz", "Implements the rzz gate", &QC::rzz, kPairTheta),
      Method("swap", "Implements the swap gate", &QC::swap, kPair),
      Method("cu1", "Implements the controlled-u1 gate", &QC::cu1, kControlledTheta),
      Method("cu3", "Implements the controlled-u3 gate", &QC::cu3,
             {"theta", "phi", "lambda", "control_qubit", "target_qubit", "label"}),
  };
}

}  // namespace taviron::python
