OPENQASM 2.0;
include "qelib1.inc";
qreg q[4];
creg c[4];
gate g a { h a; t a; h a; s a; }
gate k(w) a, b { rz(w) a; cx a, b; }
g q;
g q;
if (c == 1) g q;
g q;
k(0.5) q[0], q[1];
k(0.5) q[0], q[1];
if (c == 3) k(0.5) q[0], q[1];
k(0.5) q[0], q[1];
