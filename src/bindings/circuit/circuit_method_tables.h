#ifndef TAVIRON_BINDINGS_CIRCUIT_CIRCUIT_METHOD_TABLES_H
#define TAVIRON_BINDINGS_CIRCUIT_CIRCUIT_METHOD_TABLES_H

#include "bindings/circuit/method_table.h"

namespace taviron::python {

// The method tables of QuantumCircuit, one per family, each in registration
// order. RegisterQuantumCircuit binds them in the order listed here.

// h x i id t s tdg sdg sx sxdg y z: three overloads each.
MethodTable FixedOneQubitGateMethods();
// p r rv rx ry rz u u0 u1 u2 u3: three overloads each.
MethodTable AngleOneQubitGateMethods();
// cx ... cu3: one overload each.
MethodTable TwoQubitGateMethods();
// ccx ccz cswap fredkin rccx.
MethodTable ThreeQubitGateMethods();
// barrier measure_active measure_all measure pauli depth width clear size reset.
MethodTable MeasureAndQueryMethods();
// qasm draw: the place of the OpenQASM writer's and the drawer's methods in
// the registration order; they are bound together with the writer and the
// drawer.
MethodTable OutputMethods();
// mcp mcrx mcry mcrz mct mcx ms gms rcccx rc3x toffoli c3sqrtx c3x c4x.
MethodTable MultiControlledGateMethods();
// append compose: the last methods of the class.
MethodTable CompositionMethods();

}  // namespace taviron::python

#endif
