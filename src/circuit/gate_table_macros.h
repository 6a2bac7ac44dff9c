#ifndef TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H
#define TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H

namespace taviron {

// Support for the tables that define families of gate methods: a table row
// passes a parameter or argument list in parentheses, and
// TAVIRON_UNPARENTHESIZE list strips them where the list is spliced in.
//
// The tables, each beside the shared templates its rows call:
//   TAVIRON_CONSTANT_ONE_QUBIT_GATES   quantum_circuit_one_qubit_constant_gates.cc (h ... z,
//                                      with their _list and _register forms)
//   TAVIRON_COMPUTED_ONE_QUBIT_GATES   quantum_circuit_computed_one_qubit_gates.cc (p ... u3,
//                                      with their _list and _register forms)
//   TAVIRON_TWO_QUBIT_GATES            quantum_circuit_two_qubit_gates.cc (cnot ... cu3)
//   TAVIRON_MULTI_CONTROLLED_ROTATIONS quantum_circuit_multi_controlled_gates.cc (mcrx, mcry,
//                                      mcrz)
//   TAVIRON_DEFINE_FIXED_COMPOSITE     decomposition_steps.h, used one line a
//                                      gate in quantum_circuit_toffoli_family.cc and
//                                      quantum_circuit_fixed_decompositions.cc
// A row names its method first: `grep -rn "X(rzz," src/circuit` finds the
// definition of QuantumCircuit::rzz. The handle classes are rows of
// TAVIRON_GATE_HANDLE_CLASSES in foundation/gate.h.
#define TAVIRON_UNPARENTHESIZE(...) __VA_ARGS__

}  // namespace taviron

#endif
