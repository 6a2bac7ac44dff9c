#ifndef TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H
#define TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H

namespace taviron {

// Support for the tables that define families of gate methods: a table row
// passes a parameter or argument list in parentheses, and
// TAVIRON_UNPARENTHESIZE list strips them where the list is spliced in.
//
// The tables, each in the file of the methods it defines:
//   TAVIRON_CONSTANT_ONE_QUBIT_GATES (h ... z, with their _list and
//     _register forms): quantum_circuit_one_qubit_constant_gates.cc
//   TAVIRON_COMPUTED_ONE_QUBIT_GATES (p ... u3, with their _list and
//     _register forms): quantum_circuit_computed_one_qubit_gates.cc
//   TAVIRON_TWO_QUBIT_GATES (cnot ... cu3): quantum_circuit_two_qubit_gates.cc
//   TAVIRON_MULTI_CONTROLLED_ROTATIONS (mcrx, mcry, mcrz):
//     quantum_circuit_multi_controlled_gates.cc
//   TAVIRON_DEFINE_FIXED_COMPOSITE (decomposition_steps.h), one line a gate
//     in quantum_circuit_toffoli_family.cc and
//     quantum_circuit_fixed_decompositions.cc
// A row names its method first: `grep -rn "X(rzz," src/circuit` finds the
// definition of QuantumCircuit::rzz. The handle classes are rows of
// TAVIRON_GATE_HANDLE_CLASSES in foundation/gate.h.
#define TAVIRON_UNPARENTHESIZE(...) __VA_ARGS__

}  // namespace taviron

#endif
