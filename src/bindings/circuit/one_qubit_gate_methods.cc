// The one-qubit gate methods: each Python name has three overloads, on one
// qubit, on a list of qubits and on a QuantumRegister (method_table.h).

#include "bindings/circuit/circuit_method_tables.h"

namespace taviron::python {

using QC = QuantumCircuit;

MethodTable FixedOneQubitGateMethods() {
  return {
      OneQubitGate("h", "Implements the Hadamard gate", {}, &QC::h, &QC::h_list, &QC::h_register),
      OneQubitGate("x", "Implements the x gate", {}, &QC::x, &QC::x_list, &QC::x_register),
      OneQubitGate("i", "Implements the identity gate", {}, &QC::i, &QC::i_list, &QC::i_register),
      OneQubitGate("id", "Implements the identity gate", {}, &QC::i, &QC::i_list, &QC::i_register),
      OneQubitGate("t", "Implements the t gate", {}, &QC::t, &QC::t_list, &QC::t_register),
      OneQubitGate("s", "Implements the s gate", {}, &QC::s, &QC::s_list, &QC::s_register),
      OneQubitGate("tdg", "Implements the tdg gate", {}, &QC::tdg, &QC::tdg_list, &QC::tdg_register),
      OneQubitGate("sdg", "Implements the sdg gate", {}, &QC::sdg, &QC::sdg_list, &QC::sdg_register),
      OneQubitGate("sx", "Implements the sx gate", {}, &QC::sx, &QC::sx_list, &QC::sx_register),
      OneQubitGate("sxdg", "Implements the sxdg gate", {}, &QC::sxdg, &QC::sxdg_list,
                   &QC::sxdg_register),
      OneQubitGate("y", "Implements the y gate", {}, &QC::y, &QC::y_list, &QC::y_register),
      OneQubitGate("z", "Implements the z gate", {}, &QC::z, &QC::z_list, &QC::z_register),
  };
}

MethodTable AngleOneQubitGateMethods() {
  return {
      OneQubitGate("p", "Implements the phase gate", {"theta"},
                   &QC::p, &QC::p_list, &QC::p_register),
      OneQubitGate("r", "Implements the rotation gate r", {"theta", "phi"},
                   &QC::r, &QC::r_list, &QC::r_register),
      OneQubitGate("rv", "Implements the rv gate", {"vx", "vy", "vz"},
                   &QC::rv, &QC::rv_list, &QC::rv_register),
      OneQubitGate("rx", "Implements the rx gate", {"theta"},
                   &QC::rx, &QC::rx_list, &QC::rx_register),
      OneQubitGate("ry", "Implements the ry gate", {"theta"},
                   &QC::ry, &QC::ry_list, &QC::ry_register),
      OneQubitGate("rz", "Implements the rz gate", {"phi"},
                   &QC::rz, &QC::rz_list, &QC::rz_register),
      OneQubitGate("u", "Implements the u gate", {"theta", "phi", "lambda"},
                   &QC::u, &QC::u_list, &QC::u_register),
      OneQubitGate("u0", "Implements the U0 gate, which is the same as the identity gate",
                   {"gamma"}, &QC::u0, &QC::u0_list, &QC::u0_register),
      OneQubitGate("u1", "Implements the u1 gate", {"lambda"},
                   &QC::u1, &QC::u1_list, &QC::u1_register),
      OneQubitGate("u2", "Implements the u2 gate", {"phi", "lambda"},
                   &QC::u2, &QC::u2_list, &QC::u2_register),
      OneQubitGate("u3", "Implements the u3 gate", {"theta", "phi", "lambda"},
                   &QC::u3, &QC::u3_list, &QC::u3_register),
  };
}

}  // namespace taviron::python
