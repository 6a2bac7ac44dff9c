// append and compose: attach another circuit as one composite operation.
// The other circuit is taken by reference, so None matches no overload.
// compose returns the circuit it was called on (its existing Python object),
// or None when inplace is true; wrap has no effect.

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

MethodTable CompositionMethods() {
  return {
      Method("append", "Appends a quantum circuit to the current circuit", &QuantumCircuit::append,
             {"qc", "qubits_vector", "cbits_vector"}),
      Method("compose", "Composes a new quantum circuit from the current circuit",
             &QuantumCircuit::compose, {"other", "qubits", "clbits", "front", "inplace", "wrap"}),
  };
}

}  // namespace taviron::python
