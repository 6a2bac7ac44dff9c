"""OpenQASM 2.0 in and out: read a program that defines its own gate, draw
the circuit, run it, and write it back as OpenQASM.

Run it with:  python examples/openqasm.py
"""

from TavironLib import BackendV2, qasm2

PROGRAM = """
OPENQASM 2.0;
include "qelib1.inc";
gate entangle a, b { h a; cx a, b; }
qreg q[3];
creg c[3];
entangle q[0], q[1];
cx q[1], q[2];
measure q -> c;
"""

qc = qasm2().loads(PROGRAM)
qc.draw()                                   # the circuit as text art
counts = BackendV2().run(qc, shots=200, mode="sync", quiet=True).result().get_counts()
print(counts)                               # only '000' and '111'
print(qc.qasm(), end="")                    # the circuit as OpenQASM 2.0 again
