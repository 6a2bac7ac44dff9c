"""The road of one request from Python, and a queued run whose circuit is
changed and dropped after run returned."""

import gc

import TavironLib as tl

WAIT_SECONDS = 60.0


def wait(job):
    job.wait_for_final_state(WAIT_SECONDS, 0.01, lambda *status: None)


def test_bell_request_end_to_end(tmp_path, monkeypatch):
    monkeypatch.setenv("APPDATA", str(tmp_path))
    qc = tl.QuantumCircuit(2, 2)
    qc.h(0)
    qc.cx(0, 1)
    qc.measure(0, 0)
    qc.measure(1, 1)
    assert qc.size() == 4
    backend = tl.TavironProvider().get_backend("velmora_taviron")
    job = backend.run(qc, shots=100)
    wait(job)
    counts = job.result().get_counts()
    # Each key is missing with probability 2**-100.
    assert list(counts) == ["00", "11"]
    assert sum(counts.values()) == 100


def test_queued_run_survives_changes_to_its_circuit():
    backend = tl.BackendV2()
    # A longer job ahead in the queue, so that the job under test is still
    # waiting while its circuit is changed (it passes either way).
    ahead = tl.QuantumCircuit(12)
    ahead.h(list(range(12)))
    for q in range(11):
        ahead.cx(q, q + 1)
    ahead.measure_all()
    first = backend.run(ahead, 4000)
    qc = tl.QuantumCircuit(3)
    qc.x(0)
    qc.cx(0, 2)
    qc.measure_all()
    job = backend.run(qc, 500)
    # The job runs the circuit as it was when run returned.
    qc.clear()
    qc.x([1, 2])
    qc.measure_all()
    del qc
    gc.collect()
    wait(job)
    assert job.result().get_counts() == {"101": 500}
    wait(first)
