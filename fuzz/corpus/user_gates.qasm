OPENQASM 2.0;
include "qelib1.inc";
gate my_rot(theta, phi) a, b { u3(theta, phi, 0) a; cx a, b; rz((theta + pi) / 2) b; }
qreg q[3];
creg c[3];
my_rot(pi/2, -0.25) q[0], q[2];
my_rot(1.0e-3, sin(pi/4)) q[1], q[0];
barrier q;
measure q[0] -> c[0];
if (c == 1) x q[1];
if (c[0] == 0) rz(ln(2)) q[2];
reset q[0];
