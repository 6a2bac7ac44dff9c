#ifndef TAVIRON_BINDINGS_CIRCUIT_REGISTER_QUANTUM_CIRCUIT_H
#define TAVIRON_BINDINGS_CIRCUIT_REGISTER_QUANTUM_CIRCUIT_H

#include <pybind11/pybind11.h>

namespace taviron::python {

// Registers the Python class QuantumCircuit on `m`: its three constructors,
// its seven read-only properties and all its methods, in registration order.
// The register classes and the gate handle classes must be registered
// already, so that signatures name them and returned handles get their class.
void RegisterQuantumCircuit(pybind11::module_& m);

}  // namespace taviron::python

#endif
