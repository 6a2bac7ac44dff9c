"""Runs that cannot give a sound result: non-finite angles end the job in
ERROR, and shot counts and readouts that the machine cannot hold are refused
with MemoryError before they allocate."""

import math

import pytest

import TavironLib as tl

NOT_FINITE = [math.nan, math.inf, -math.inf]


def one_qubit(build):
    qc = tl.QuantumCircuit(2, 2)
    build(qc)
    qc.measure(0, 0)
    return qc


def inner_circuit(angle):
    inner = tl.QuantumCircuit(2, 2)
    inner.ry(angle, 1)
    outer = tl.QuantumCircuit(2, 2)
    outer.compose(inner)
    return outer


BUILDERS = {
    "rx": lambda angle: one_qubit(lambda qc: qc.rx(angle, 0)),
    "p": lambda angle: one_qubit(lambda qc: qc.p(angle, 0)),
    "u": lambda angle: one_qubit(lambda qc: qc.u(0.1, angle, 0.2, 0)),
    "crz": lambda angle: one_qubit(lambda qc: qc.crz(angle, 0, 1)),
    "ry": inner_circuit,  # inside a composed circuit's body
}


@pytest.mark.parametrize("mode", ["sync", "async"])
@pytest.mark.parametrize("gate", sorted(BUILDERS))
def test_a_non_finite_angle_ends_the_job_in_error_naming_the_gate(gate, mode):
    for angle in NOT_FINITE:
        job = tl.BackendV2().run(BUILDERS[gate](angle), shots=5, mode=mode)
        job.wait_for_final_state(0, 0, lambda *args: None)
        assert job.status() == tl.JobStatus.ERROR
        result = job.result()
        assert not result.success
        assert result.get_counts() == {}
        for readout in (result.get_statevector, result.get_probabilities,
                        lambda: result.data(0)):
            with pytest.raises(RuntimeError, match=f"The gate {gate} has .* not a finite number"):
                readout()


def test_a_finite_angle_still_runs():
    job = tl.BackendV2().run(BUILDERS["rx"](math.pi), shots=5, mode="sync")
    assert job.status() == tl.JobStatus.DONE
    assert job.result().get_counts() == {"1": 5}


@pytest.mark.parametrize("run", [
    lambda backend, qc: backend.run(qc, shots=2**31 - 1, mode="sync"),
    lambda backend, qc: backend.run(qc, shots=2**31 - 1),
    lambda backend, qc: backend.run(qc, 2**31 - 1),
])
def test_a_shot_count_too_large_to_store_is_refused_before_running(run):
    backend = tl.BackendV2()
    with pytest.raises(MemoryError, match=r"A run of 2147483647 shots needs [\d.]+ GB, more than"):
        run(backend, tl.QuantumCircuit(2, 2))
    # Nothing was queued: a synchronous run is accepted at once.
    assert backend.run(tl.QuantumCircuit(2, 2), shots=3, mode="sync").done()


def finished_result(qubits):
    qc = tl.QuantumCircuit(qubits, 1)
    qc.h(0)
    return tl.BackendV2().run(qc, shots=1, mode="sync").result()


def test_readouts_too_large_for_the_machine_are_refused():
    result = finished_result(40)
    with pytest.raises(MemoryError, match=r"The probabilities of 40 qubits needs [\d.]+ GB"):
        result.get_probabilities()
    with pytest.raises(MemoryError, match=r"The density matrix of 40 qubits needs [\d.]+ GB"):
        result.get_densitymatrix()
    with pytest.raises(MemoryError, match=r"The data of 16 qubits needs [\d.]+ GB"):
        finished_result(16).data(0)
    # Small readouts of the same result kind still work.
    assert len(finished_result(3).get_densitymatrix()) == 8
