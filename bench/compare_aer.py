"""Times TavironLib against Qiskit Aer's matrix-product-state simulator on
the same circuits and shot counts, and checks the counts of both against the
exact outcome probabilities where a state vector fits.

Each simulator runs in a worker process of its own, so that two builds of
TavironLib (before and after a change, say) can be timed side by side. The
workers take the workloads in turns, repetition after repetition, so that
both see the same machine load; the table gives the median time of each,
its ratio to Aer's, and the total variation distance between each one's
counts and the exact distribution.

    python bench/compare_aer.py                        # the installed TavironLib (and Aer if installed)
    python bench/compare_aer.py --taviron before=/path/to/old/build --taviron after=/path/to/new/build
    python bench/compare_aer.py --repetitions 9 --only brickwork

A --taviron directory holds a built TavironLib module; without one, the
TavironLib that Python imports is used. Aer is left out when qiskit-aer is
not installed (or with --no-aer).
"""

import argparse
import json
import math
import os
import statistics
import subprocess
import sys
import time

import numpy as np

# Workloads: a name, a circuit description and a shot count. A circuit is
# a qubit count and a list of operations ("u", q, theta, phi, lambda),
# ("h", q), ("ry", q, theta) or ("cx", control, target), measured in full at
# the end.


def brickwork(n, depth, seed):
    """Random u rotations on every qubit, then cx on even, odd, even... pairs."""
    rng = np.random.default_rng(seed)
    ops = []
    for layer in range(depth):
        for q in range(n):
            theta, phi, lam = (float(x) for x in rng.uniform(0.0, 2.0 * math.pi, 3))
            ops.append(("u", q, theta, phi, lam))
        for q in range(layer % 2, n - 1, 2):
            ops.append(("cx", q, q + 1))
    return n, ops


def ry_cx_chain(n, seed):
    rng = np.random.default_rng(seed)
    ops = [("ry", q, float(rng.uniform(0.0, math.pi))) for q in range(n)]
    ops += [("cx", q, q + 1) for q in range(n - 1)]
    return n, ops


def ghz(n):
    return n, [("h", 0)] + [("cx", q, q + 1) for q in range(n - 1)]


def qft(n):
    """The Fourier transform of a product state, as u and cx gates (a
    controlled phase is two cx and three phase rotations)."""
    ops = [("u", q, 0.3 + 0.2 * q, 0.1 * q, 0.0) for q in range(n)]
    for target in reversed(range(n)):
        ops.append(("h", target))
        for control in reversed(range(target)):
            angle = math.pi / 2 ** (target - control)
            ops.append(("u", control, 0.0, 0.0, angle / 2))
            ops.append(("cx", control, target))
            ops.append(("u", target, 0.0, 0.0, -angle / 2))
            ops.append(("cx", control, target))
            ops.append(("u", target, 0.0, 0.0, angle / 2))
    return n, ops


WORKLOADS = [
    ("bell x10000", ghz(2), 10000),
    ("ghz-20 x10000", ghz(20), 10000),
    ("qft-12 x100", qft(12), 100),
    ("brickwork-12 d10 x100", brickwork(12, 10, 12), 100),
    ("brickwork-16 d10 x1", brickwork(16, 10, 16), 1),
    ("brickwork-16 d10 x100", brickwork(16, 10, 16), 100),
    ("brickwork-20 d10 x100", brickwork(20, 10, 20), 100),
    ("brickwork-24 d10 x1", brickwork(24, 10, 24), 1),
    ("brickwork-24 d10 x100", brickwork(24, 10, 24), 100),
    ("ry-cx chain-100 x1", ry_cx_chain(100, 100), 1),
    ("ry-cx chain-100 x1000", ry_cx_chain(100, 100), 1000),
]

# State vectors up to this many qubits give the exact distribution.
EXACT_MAX_QUBITS = 20


def exact_probabilities(n, ops):
    """Outcome probabilities by a dense state vector; index bit q = qubit q."""
    state = np.zeros((2,) * n, dtype=complex)
    state[(0,) * n] = 1.0

    def one(state, q, m):
        axis = n - 1 - q  # axis 0 is the most significant bit
        return np.moveaxis(np.tensordot(m, state, axes=([1], [axis])), 0, axis)

    for op in ops:
        if op[0] == "cx":
            c, t = n - 1 - op[1], n - 1 - op[2]
            index = [slice(None)] * n
            index[c] = 1
            sub = state[tuple(index)]
            t_axis = t if t < c else t - 1
            state[tuple(index)] = np.flip(sub, axis=t_axis)
        else:
            state = one(state, op[1], gate_matrix(op))
    return (np.abs(state) ** 2).reshape(-1)


def gate_matrix(op):
    if op[0] == "h":
        return np.array([[1, 1], [1, -1]], dtype=complex) / math.sqrt(2)
    if op[0] == "ry":
        c, s = math.cos(op[2] / 2), math.sin(op[2] / 2)
        return np.array([[c, -s], [s, c]], dtype=complex)
    theta, phi, lam = op[2], op[3], op[4]
    c, s = math.cos(theta / 2), math.sin(theta / 2)
    return np.array([[c, -np.exp(1j * lam) * s],
                     [np.exp(1j * phi) * s, np.exp(1j * (phi + lam)) * c]])


def total_variation(counts, probabilities):
    shots = sum(counts.values())
    seen = 0.0
    distance = 0.0
    for bits, count in counts.items():
        p = probabilities[int(bits, 2)]
        distance += abs(count / shots - p)
        seen += p
    distance += 1.0 - seen  # outcomes never drawn
    return distance / 2


# --- workers ----------------------------------------------------------------


def add_gates(qc, ops):
    """Appends the operations through gate methods that both simulators'
    circuits name and order alike."""
    for op in ops:
        if op[0] == "cx":
            qc.cx(op[1], op[2])
        elif op[0] == "h":
            qc.h(op[1])
        elif op[0] == "ry":
            qc.ry(op[2], op[1])
        else:
            qc.u(op[2], op[3], op[4], op[1])
    return qc


class TavironRunner:
    def __init__(self, path):
        if path:
            sys.path.insert(0, path)
        import TavironLib
        self.lib = TavironLib
        self.backend = TavironLib.TavironProvider().get_backend("velmora_taviron")

    def build(self, n, ops):
        qc = add_gates(self.lib.QuantumCircuit(n, n), ops)
        for q in range(n):
            qc.measure(q, q)
        return qc

    def run(self, circuit, shots):
        job = self.backend.run(circuit, shots=shots, mode="sync", quiet=True)
        return job.result().get_counts()


class AerRunner:
    def __init__(self, _path):
        from qiskit import QuantumCircuit
        from qiskit_aer import AerSimulator
        self.circuit_class = QuantumCircuit
        self.simulator = AerSimulator(method="matrix_product_state")

    def build(self, n, ops):
        qc = add_gates(self.circuit_class(n, n), ops)
        qc.measure(range(n), range(n))
        return qc

    def run(self, circuit, shots):
        return self.simulator.run(circuit, shots=shots).result().get_counts()


def worker(kind, path):
    """Answers one JSON request per line: build every workload once, then
    time runs of them."""
    runner = (TavironRunner if kind == "taviron" else AerRunner)(path)
    circuits = {name: runner.build(*circuit) for name, circuit, _ in WORKLOADS}
    runner.run(circuits[WORKLOADS[0][0]], 10)  # warm up
    for line in sys.stdin:
        request = json.loads(line)
        circuit = circuits[request["workload"]]
        start = time.perf_counter()
        counts = runner.run(circuit, request["shots"])
        seconds = time.perf_counter() - start
        # Bit strings of both simulators read qubit n-1 first.
        counts = {bits.replace(" ", ""): count for bits, count in counts.items()}
        print(json.dumps({"seconds": seconds, "counts": counts}), flush=True)


class Worker:
    def __init__(self, label, kind, path):
        self.label = label
        self.process = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "--worker", kind, path or ""],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def time(self, workload, shots):
        self.process.stdin.write(json.dumps({"workload": workload, "shots": shots}) + "\n")
        self.process.stdin.flush()
        return json.loads(self.process.stdout.readline())

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def aer_installed():
    try:
        import qiskit_aer  # noqa: F401
        return True
    except ImportError:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--taviron", action="append", default=[], metavar="LABEL=DIR",
                        help="a TavironLib build to time (repeatable)")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--only", default="", help="workloads whose name contains this text")
    parser.add_argument("--no-aer", action="store_true")
    parser.add_argument("--worker", nargs=2, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.worker:
        worker(args.worker[0], args.worker[1])
        return

    workers = []
    for entry in args.taviron or ["taviron="]:
        label, _, path = entry.partition("=")
        workers.append(Worker(label, "taviron", path))
    if not args.no_aer and aer_installed():
        workers.append(Worker("aer", "aer", ""))
    has_aer = workers[-1].label == "aer"

    workloads = [w for w in WORKLOADS if args.only in w[0]]
    times = {(name, w.label): [] for name, _, _ in workloads for w in workers}
    distances = {}
    for repetition in range(args.repetitions):
        for name, circuit, shots in workloads:
            order = workers if repetition % 2 == 0 else list(reversed(workers))
            for w in order:
                answer = w.time(name, shots)
                times[(name, w.label)].append(answer["seconds"])
                if repetition == 0 and circuit[0] <= EXACT_MAX_QUBITS:
                    probabilities = exact_probabilities(*circuit)
                    distances[(name, w.label)] = total_variation(answer["counts"], probabilities)
    for w in workers:
        w.close()

    labels = [w.label for w in workers]
    header = f"{'workload':24}" + "".join(f"{label + ' ms':>14}" for label in labels)
    if has_aer:
        header += "".join(f"{label + '/aer':>14}" for label in labels[:-1])
    header += "".join(f"{'TVD ' + label:>14}" for label in labels)
    print(f"medians of {args.repetitions} interleaved runs; TVD: total variation distance"
          " of the counts to the exact distribution (-: too many qubits)")
    print(header)
    for name, circuit, shots in workloads:
        medians = {label: statistics.median(times[(name, label)]) for label in labels}
        row = f"{name:24}" + "".join(f"{medians[label] * 1e3:14.2f}" for label in labels)
        if has_aer:
            row += "".join(f"{medians[label] / medians['aer']:13.2f}x" for label in labels[:-1])
        for label in labels:
            d = distances.get((name, label))
            row += f"{d:14.3f}" if d is not None else f"{'-':>14}"
        print(row)


if __name__ == "__main__":
    main()
