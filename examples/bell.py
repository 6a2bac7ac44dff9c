"""The Bell request: entangle two qubits, measure both, run 100 shots.

Run it with:  python examples/bell.py
"""

from TavironLib import QuantumCircuit, TavironProvider, job_monitor

qc = QuantumCircuit(2, 2)      # two qubits, two classical bits
qc.h(0)
qc.cx(0, 1)
qc.measure(0, 0)
qc.measure(1, 1)

backend = TavironProvider().get_backend("velmora_taviron")
job = backend.run(qc, shots=100)   # queued; the backend's worker runs it
job_monitor(job)                   # prints the job's status until it is done

counts = job.result().get_counts()
print(counts)                      # only '00' and '11', about 50 each
