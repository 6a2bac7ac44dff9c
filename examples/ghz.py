"""A GHZ state on 20 qubits: all zeros or all ones, never anything else.

Run it with:  python examples/ghz.py
"""

from TavironLib import BackendV2, QuantumCircuit

n = 20
qc = QuantumCircuit(n)
qc.h(0)
for q in range(n - 1):
    qc.cx(q, q + 1)
qc.measure_all()

job = BackendV2().run(qc, shots=1000, mode="sync")   # runs before run returns
counts = job.result().get_counts()
for bits, count in counts.items():
    print(bits, count)
