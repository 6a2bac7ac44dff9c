#ifndef TAVIRON_BINDINGS_CIRCUIT_CONSTRUCTORS_AND_PROPERTIES_H
#define TAVIRON_BINDINGS_CIRCUIT_CONSTRUCTORS_AND_PROPERTIES_H

#include "bindings/circuit/method_table.h"

namespace taviron::python {

// The three constructors of QuantumCircuit, in overload order (counts of
// qubits and classical bits, count of qubits, registers), then its seven
// read-only properties.
void BindConstructorsAndProperties(QuantumCircuitClass& cls, const DefaultValues& defaults);

}  // namespace taviron::python

#endif
