"""Teleportation: a mid-circuit measurement whose results decide, through
c_if, which corrections run on the receiving qubit.

Qubit 0 holds ry(theta)|0>; qubits 1 and 2 share a Bell pair. After the
measurement of qubits 0 and 1, qubit 2 holds the state of qubit 0, so it
reads 1 with probability sin(theta / 2) ** 2.

Run it with:  python examples/mid_circuit_measurement.py
"""

import math

from TavironLib import BackendV2, QuantumCircuit

theta = 1.2
qc = QuantumCircuit(3)
qc.ry(theta, 0)          # the state to send
qc.h(1)
qc.cx(1, 2)              # the Bell pair
qc.cx(0, 1)
qc.h(0)
qc.measure(0, 0)         # measured in the middle of the circuit
qc.measure(1, 1)
qc.x(2).c_if(1, 1)       # runs only when classical bit 1 reads 1
qc.z(2).c_if(0, 1)       # runs only when classical bit 0 reads 1
qc.measure(2, 2)

shots = 2000
counts = BackendV2().run(qc, shots=shots, mode="sync").result().get_counts()
ones = sum(count for bits, count in counts.items() if bits[0] == "1")  # bit 2 is first
print("qubit 2 read 1 in", ones, "of", shots, "shots")
print("expected about", round(shots * math.sin(theta / 2) ** 2))
