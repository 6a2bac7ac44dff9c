OPENQASM 2.0;
include "qelib1.inc";
qreg Q[2];
qreg q_a[1];
creg C[3];
gate Sub(W) A, B { rx(W) A; cx A, B; }
gate Pauli a { x a; }
gate q_b a { y a; }
Sub(0.5) Q[0], q_a[0];
Pauli Q[1];
q_b q_a[0];
measure Q[1] -> C[2];
if (C == 4) Pauli Q[0];
