"""Measured counts against exact outcome distributions.

numpy computes each circuit's exact distribution of bit strings; the counts
of SHOTS shots must lie within 6 standard deviations (plus one count) of the
expected count for every outcome, and outcomes of probability 0 must never
appear. For a binomial count the chance of a 6-sigma excursion is below
1e-8 per outcome, so these checks do not flake.
"""

import math

import numpy as np
import pytest

import TavironLib as tl
from circuit_reference import H, SWAP, X, controlled, evolve, run_sync, rx, ry

SHOTS = 4000


def ghz_like(qc):
    qc.ry(1.1, 0)
    qc.cx(0, 1)
    qc.cx(1, 2)
    return [(ry(1.1), [0]), (controlled(X), [0, 1]), (controlled(X), [1, 2])]


def rotations(qc):
    qc.ry(0.7, 0)
    qc.rx(2.2, 1)
    qc.h(2)
    qc.cry(1.3, 2, 0)
    return [(ry(0.7), [0]), (rx(2.2), [1]), (H, [2]), (controlled(ry(1.3)), [2, 0])]


def skewed(qc):
    qc.ry(0.4, 0)
    qc.ry(2.9, 1)
    qc.swap(0, 2)
    return [(ry(0.4), [0]), (ry(2.9), [1]), (SWAP, [0, 2])]


def bit_string(index, n):
    """Bits from qubit (= classical bit) n-1 down to 0."""
    return format(index, f"0{n}b")


def assert_counts_follow(counts, probabilities, n):
    """Every count within 6 standard deviations (plus one) of SHOTS times
    its probability; outcomes of probability 0 never seen."""
    for index, p in enumerate(probabilities):
        seen = counts.get(bit_string(index, n), 0)
        if p < 1e-12:
            assert seen == 0
            continue
        sigma = math.sqrt(SHOTS * p * (1 - p))
        assert abs(seen - SHOTS * p) <= 6 * sigma + 1, (bit_string(index, n), seen, SHOTS * p)


@pytest.mark.parametrize("build", [ghz_like, rotations, skewed])
def test_counts_follow_the_exact_distribution(build):
    n = 3
    qc = tl.QuantumCircuit(n)
    ops = build(qc)
    qc.measure_all()
    probabilities = np.abs(evolve(n, ops)) ** 2
    counts = run_sync(qc, SHOTS).get_counts()
    assert sum(counts.values()) == SHOTS
    assert list(counts) == sorted(counts)
    assert_counts_follow(counts, probabilities, n)


def test_mid_circuit_measurement_conditions_the_rest():
    # qubit 0 is measured half way; x on qubit 1 runs only when it read 1,
    # so the two bits always agree.
    qc = tl.QuantumCircuit(2)
    qc.h(0)
    qc.measure(0, 0)
    qc.x(1).c_if(0, 1)
    qc.measure(1, 1)
    counts = run_sync(qc, SHOTS).get_counts()
    assert set(counts) <= {"00", "11"}
    sigma = math.sqrt(SHOTS * 0.25)
    assert abs(counts.get("11", 0) - SHOTS / 2) <= 6 * sigma + 1


@pytest.mark.parametrize("quiet", [True, False])
def test_final_state_is_collapsed_by_the_last_shot(quiet, capsys):
    # Quiet, this circuit is simulated once and its shots drawn from that
    # state; printing progress, it runs shot by shot. Either way the result
    # keeps the state that the last shot's measurements collapsed.
    n = 4
    qc = tl.QuantumCircuit(n)
    qc.h(0)
    for q in range(n - 1):
        qc.cx(q, q + 1)
    qc.ry(0.8, 2)
    qc.measure_all()
    result = tl.TavironProvider().get_backend("velmora_taviron").run(
        qc, shots=300, mode="sync", quiet=quiet).result()
    capsys.readouterr()
    memory = result.get_memory()
    assert len(memory) == 300
    last = memory[-1]
    amplitudes = np.array(result.get_statevector(), dtype=complex)
    assert abs(amplitudes[int(last, 2)]) == pytest.approx(1.0, abs=1e-9)
    assert set(result.get_counts()) <= {format(i, "04b") for i in range(16)}


def measured_half_way(qc):
    # The odd qubits are measured half way, the highest first, and never
    # touched again; the even ones are entangled further and measured last.
    ops = [(ry(0.9), [0]), (ry(2.1), [1]), (controlled(X), [0, 1]), (H, [2]),
           (controlled(X), [1, 2]), (ry(1.4), [3]), (controlled(X), [2, 3])]
    later = [(ry(0.5), [0]), (controlled(X), [2, 0]), (ry(1.7), [2])]
    qc.ry(0.9, 0)
    qc.ry(2.1, 1)
    qc.cx(0, 1)
    qc.h(2)
    qc.cx(1, 2)
    qc.ry(1.4, 3)
    qc.cx(2, 3)
    qc.measure(3, 3)
    qc.measure(1, 1)
    qc.ry(0.5, 0)
    qc.cx(2, 0)
    qc.ry(1.7, 2)
    qc.measure(2, 2)
    qc.measure(0, 0)
    return ops + later


@pytest.mark.parametrize("mode", ["sync", "async"])
def test_measurements_half_way_in_any_order_follow_the_exact_distribution(mode):
    n = 4
    qc = tl.QuantumCircuit(n, n)
    probabilities = np.abs(evolve(n, measured_half_way(qc))) ** 2
    job = tl.BackendV2().run(qc, shots=SHOTS, mode=mode)
    job.wait_for_final_state(60, 0.01, lambda *args: None)
    counts = job.result().get_counts()
    assert sum(counts.values()) == SHOTS
    assert_counts_follow(counts, probabilities, n)


@pytest.mark.parametrize("mode", ["sync", "async"])
def test_shots_with_resets_and_conditions_follow_the_exact_distribution(mode):
    # Bit 0 reads qubit 0 after ry(a); qubit 0 is reset and turned by ry(b)
    # into bit 1; qubit 1 flips when bit 0 read 1 and is read into bit 2.
    # The bits are independent except that bit 2 equals bit 0.
    a, b = 1.1, 2.3
    qc = tl.QuantumCircuit(3, 3)
    qc.ry(a, 0)
    qc.measure(0, 0)
    qc.reset(0)
    qc.ry(b, 0)
    qc.x(1).c_if(0, 1)
    qc.measure(0, 1)
    qc.measure(1, 2)
    job = tl.BackendV2().run(qc, shots=SHOTS, mode=mode)
    job.wait_for_final_state(60, 0.01, lambda *args: None)
    counts = job.result().get_counts()
    assert sum(counts.values()) == SHOTS
    p0, p1 = math.sin(a / 2) ** 2, math.sin(b / 2) ** 2
    probabilities = np.zeros(8)
    for first in (0, 1):
        for second in (0, 1):
            probabilities[first << 2 | second << 1 | first] = (
                (p0 if first else 1 - p0) * (p1 if second else 1 - p1))
    assert_counts_follow(counts, probabilities, 3)
