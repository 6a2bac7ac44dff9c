#include "bindings/circuit/register_quantum_circuit.h"

#include "bindings/circuit/circuit_method_tables.h"
#include "bindings/circuit/constructors_and_properties.h"
#include "bindings/circuit/default_values.h"
#include "bindings/circuit/method_table.h"

namespace taviron::python {

void RegisterQuantumCircuit(pybind11::module_& m) {
  QuantumCircuitClass cls(m, "QuantumCircuit");
  const DefaultValues defaults;
  BindConstructorsAndProperties(cls, defaults);
  for (const MethodTable& table : {
           FixedOneQubitGateMethods(),
           AngleOneQubitGateMethods(),
           TwoQubitGateMethods(),
           ThreeQubitGateMethods(),
           MeasureAndQueryMethods(),
           OutputMethods(),
           MultiControlledGateMethods(),
           CompositionMethods(),
       }) {
    BindTable(cls, defaults, table);
  }
}

}  // namespace taviron::python
