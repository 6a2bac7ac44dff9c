// Measurement, reset, barrier, Pauli strings and the circuit queries.

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

using QC = QuantumCircuit;

namespace {

const char kBarrierDoc[] = "Implements the barrier gate";
const char kResetDoc[] = "Resets a qubit or a list of qubits to state |0>?";

}  // namespace

MethodTable MeasureAndQueryMethods() {
  return {
      Method("barrier", kBarrierDoc, &QC::barrier, {"label"}),
      Method("barrier", kBarrierDoc, &QC::barrier_list, {"qubit_list", "label"}),
      Method("measure_active", "Measures all active qubits", &QC::measure_active, {"label"}),
      Method("measure_all", "Measures all qubits", &QC::measure_all, {"label"}),
      Method("measure",
             "Perform Pauli-Z measurement on qubit and project it to the given classical "
             "register.",
             &QC::measure, {"qubit", "classical_bit", "label"}),
      Method("measure",
             "Perform Pauli-Z measurement on qubit and project it to the corresponding "
             "classical register",
             &QC::measure_qubit, {"qubit", "label"}),
      Method("pauli", "Performs Pauli operations (I-X-Y-Z) on a list of qubits", &QC::pauli,
             {"qubit_list", "pauli_operator", "label"}),
      Method("depth", "Obtains the depth of the circuit", &QC::depth, {}),
      Method("width", "Obtains the width of the circuit", &QC::width, {}),
      Method("clear", "Deletes all quantum gates added to the circuit", &QC::clear, {}),
      Method("size",
             "Returns to the total number of gate operations in the circuit, excepting for "
             "barrier gates",
             &QC::size, {}),
      Method("reset", kResetDoc, &QC::reset, {"qubit", "label"}),
      Method("reset", kResetDoc, &QC::reset_list, {"qubit_list", "label"}),
  };
}

}  // namespace taviron::python
