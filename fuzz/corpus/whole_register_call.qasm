OPENQASM 2.0;
include "qelib1.inc";
opaque magic(m) a, b;
gate g a { }
gate noop() { }
qreg q[1]; qreg none[0]; creg c0[1899];
g q; barrier none; rz(2^-2	 / 3) q[0];
measure q[0] -> c0[0];
