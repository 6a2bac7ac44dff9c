OPENQASM 2.0;
include "qelib1.inc";
gate rzx(param0) q0,q1 { h q1; cx q0,q1; rz(param0) q1; cx q0,q1; h q1; }
gate ecr q0,q1 { rzx(pi/4) q0,q1; x q0; rzx(-pi/4) q0,q1; }
gate dcx q0,q1 { cx q0,q1; cx q1,q0; }
gate iswap q0,q1 { s q0; s q1; h q0; cx q0,q1; cx q1,q0; h q1; }
gate ryy(param0) q0,q1 { rx(pi/2) q0; rx(pi/2) q1; cx q0,q1; rz(param0) q1; cx q0,q1; rx(-pi/2) q0; rx(-pi/2) q1; }
gate r(t, p) a { u3(t, p - pi/2, pi/2 - p) a; }
gate cs a, b { cu1(pi/2) a, b; }
gate csdg a, b { cu1(-pi/2) a, b; }
gate rv(x, y, z) a { u3(0, 0, z) a; }
gate pair(w) a, b { dcx a, b; rzx(w) b, a; ecr a, b; h b; }
qreg q[3];
creg c[3];
ecr q[0], q[1];
rzx(0.5) q[2], q[0];
pair(1.5) q[1], q[2];
iswap q[0], q[2];
r(0.25, -1) q[1];
rv(0.1, 0.2, 0.3) q[0];
if (c == 2) ryy(0.75) q[1], q[0];
cs q[0], q[1];
csdg q[1], q[2];
