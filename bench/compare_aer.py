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
    python bench/compare_aer.py --one-thread          # one processor each, Aer with one thread

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
# a qubit count, a list of operations and the qubits measured at the end
# (every qubit when None), qubit q into classical bit q. The operations are
# gates ("u", q, theta, phi, lambda), ("h", q), ("ry", q, theta),
# ("cx", control, target), and the operations that make a circuit dynamic:
# ("measure", q, bit), ("reset", q), and ("x_if", q, bit) / ("z_if", q, bit),
# an x or z on q that runs only when the bit reads 1.


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
    return n, ops, None


def ry_cx_chain(n, seed):
    rng = np.random.default_rng(seed)
    ops = [("ry", q, float(rng.uniform(0.0, math.pi))) for q in range(n)]
    ops += [("cx", q, q + 1) for q in range(n - 1)]
    return n, ops, None


def ghz(n):
    return n, [("h", 0)] + [("cx", q, q + 1) for q in range(n - 1)], None


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
    return n, ops, None


# Dynamic circuits: their shots cannot all be drawn from one final state.


def repetition_code(n, cycles, seed):
    """Data qubits on the even sites, ancillas between them; each cycle turns
    every data qubit a little, measures each neighbour pair's parity into the
    ancilla's bit, resets the ancilla and flips the next data qubit when the
    parity read 1."""
    rng = np.random.default_rng(seed)
    ops = [("ry", q, float(rng.uniform(0.0, math.pi))) for q in range(0, n, 2)]
    for _ in range(cycles):
        ops += [("ry", q, float(rng.uniform(0.0, 0.4))) for q in range(0, n, 2)]
        for a in range(1, n - 1, 2):
            ops += [("cx", a - 1, a), ("cx", a + 1, a), ("measure", a, a), ("reset", a),
                    ("x_if", a + 1, a)]
    return n, ops, None


def monitored(n, depth, seed, fraction=0.15):
    """Brickwork of random u and cx layers; after each layer a random 15 % of
    the qubits are measured."""
    _, gates, _ = brickwork(n, depth, seed)
    rng = np.random.default_rng(seed + 1)
    per_layer = len(gates) // depth
    watched = max(1, round(fraction * n))
    ops = []
    for layer in range(depth):
        ops += gates[layer * per_layer:(layer + 1) * per_layer]
        ops += [("measure", int(q), int(q)) for q in rng.choice(n, watched, replace=False)]
    ops += gates[depth * per_layer:]
    return n, ops, None


def teleportation_chain(n, theta=1.2):
    """Teleports ry(theta)|0> from qubit 0 along the chain, two sites a hop,
    with conditioned corrections on each receiving qubit."""
    ops = [("ry", 0, theta)]
    for s in range(0, n - 2, 2):
        ops += [("h", s + 1), ("cx", s + 1, s + 2), ("cx", s, s + 1), ("h", s),
                ("measure", s, s), ("measure", s + 1, s + 1),
                ("x_if", s + 2, s + 1), ("z_if", s + 2, s)]
    return n, ops, None


def measured_half_way(n, depth, seed):
    """Brickwork on every qubit; then the odd (ancilla) qubits are measured,
    highest first, and never touched again while more layers entangle the
    even (data) qubits, which are measured at the end."""
    _, first, _ = brickwork(n, depth, seed)
    ops = list(first)
    ops += [("measure", q, q) for q in reversed(range(1, n, 2))]
    data = list(range(0, n, 2))
    rng = np.random.default_rng(seed + 1)
    for layer in range(depth):
        for q in data:
            theta, phi, lam = (float(x) for x in rng.uniform(0.0, 2.0 * math.pi, 3))
            ops.append(("u", q, theta, phi, lam))
        for i in range(layer % 2, len(data) - 1, 2):
            ops.append(("cx", data[i], data[i + 1]))
    return n, ops, data


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
    ("repetition-13 c3 x1000", repetition_code(13, 3, 13), 1000),
    ("repetition-29 c3 x1000", repetition_code(29, 3, 29), 1000),
    ("repetition-59 c3 x1000", repetition_code(59, 3, 59), 1000),
    ("monitored-16 d20 x1000", monitored(16, 20, 16), 1000),
    ("monitored-20 d20 x100", monitored(20, 20, 20), 100),
    ("teleport-41 x10000", teleportation_chain(41), 10000),
    ("teleport-81 x1000", teleportation_chain(81), 1000),
    ("measured-half-17 d8 x1000", measured_half_way(17, 8, 17), 1000),
]

DYNAMIC = ("measure", "reset", "x_if", "z_if")

# State vectors up to this many qubits give the exact distribution.
EXACT_MAX_QUBITS = 20


def exact_probabilities(n, ops, final):
    """Outcome probabilities by a dense state vector; index bit q = qubit q.
    None for a circuit whose outcomes depend on mid-circuit measurements: a
    measurement counts as final when no later operation touches its qubit."""
    touched_later = set()
    for op in reversed(ops):
        if op[0] in ("reset", "x_if", "z_if"):
            return None
        if op[0] == "measure":
            if op[1] in touched_later or op[1] != op[2]:
                return None
        else:
            touched_later.update(op[1:3] if op[0] == "cx" else op[1:2])
    if n > EXACT_MAX_QUBITS:
        return None
    ops = [op for op in ops if op[0] != "measure"]
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


def add_gates(qc, ops, conditioned):
    """Appends the operations through gate methods that both simulators'
    circuits name and order alike; conditioned(qc, gate, q, bit) appends a
    gate that runs only when the bit reads 1."""
    for op in ops:
        if op[0] == "measure":
            qc.measure(op[1], op[2])
        elif op[0] == "reset":
            qc.reset(op[1])
        elif op[0] in ("x_if", "z_if"):
            conditioned(qc, op[0][0], op[1], op[2])
        elif op[0] == "cx":
            qc.cx(op[1], op[2])
        elif op[0] == "h":
            qc.h(op[1])
        elif op[0] == "ry":
            qc.ry(op[2], op[1])
        else:
            qc.u(op[2], op[3], op[4], op[1])
    return qc


class TavironRunner:
    def __init__(self, path, _threads):
        if path:
            sys.path.insert(0, path)
        import TavironLib
        self.lib = TavironLib
        self.backend = TavironLib.TavironProvider().get_backend("velmora_taviron")

    def build(self, n, ops, final):
        def conditioned(qc, gate, q, bit):
            getattr(qc, gate)(q).c_if(bit, 1)
        qc = add_gates(self.lib.QuantumCircuit(n, n), ops, conditioned)
        for q in range(n) if final is None else final:
            qc.measure(q, q)
        return qc

    def run(self, circuit, shots):
        job = self.backend.run(circuit, shots=shots, mode="sync", quiet=True)
        return job.result().get_counts()


class AerRunner:
    def __init__(self, _path, threads):
        from qiskit import QuantumCircuit
        from qiskit_aer import AerSimulator
        self.circuit_class = QuantumCircuit
        options = {"max_parallel_threads": threads} if threads else {}
        self.simulator = AerSimulator(method="matrix_product_state", **options)

    def build(self, n, ops, final):
        def conditioned(qc, gate, q, bit):
            with qc.if_test((qc.clbits[bit], 1)):
                getattr(qc, gate)(q)
        qc = add_gates(self.circuit_class(n, n), ops, conditioned)
        final = range(n) if final is None else final
        qc.measure(final, final)
        return qc

    def run(self, circuit, shots):
        return self.simulator.run(circuit, shots=shots).result().get_counts()


def worker(kind, path, one_thread):
    """Answers one JSON request per line: build every workload once, then
    time runs of them. With one_thread the process keeps to one processor
    and Aer is told to use one thread."""
    if one_thread:
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
    runner = (TavironRunner if kind == "taviron" else AerRunner)(path, 1 if one_thread else 0)
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
    def __init__(self, label, kind, path, one_thread):
        self.label = label
        self.process = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "--worker", kind, path or "",
             "1" if one_thread else "0"],
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
    parser.add_argument("--one-thread", action="store_true",
                        help="each simulator on one processor (Aer with max_parallel_threads=1)")
    parser.add_argument("--worker", nargs=3, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.worker:
        worker(args.worker[0], args.worker[1], args.worker[2] == "1")
        return

    workers = []
    for entry in args.taviron or ["taviron="]:
        label, _, path = entry.partition("=")
        workers.append(Worker(label, "taviron", path, args.one_thread))
    if not args.no_aer and aer_installed():
        workers.append(Worker("aer", "aer", "", args.one_thread))
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
                probabilities = exact_probabilities(*circuit) if repetition == 0 else None
                if probabilities is not None:
                    distances[(name, w.label)] = total_variation(answer["counts"], probabilities)
    for w in workers:
        w.close()

    labels = [w.label for w in workers]
    header = f"{'workload':27}" + "".join(f"{label + ' ms':>14}" for label in labels)
    if has_aer:
        header += "".join(f"{label + '/aer':>14}" for label in labels[:-1])
    header += "".join(f"{'TVD ' + label:>14}" for label in labels)
    print(f"medians of {args.repetitions} interleaved runs; TVD: total variation distance"
          " of the counts to the exact distribution (-: too many qubits, or outcomes that depend"
          " on mid-circuit measurements)")
    print(header)
    for name, circuit, shots in workloads:
        medians = {label: statistics.median(times[(name, label)]) for label in labels}
        row = f"{name:27}" + "".join(f"{medians[label] * 1e3:14.2f}" for label in labels)
        if has_aer:
            row += "".join(f"{medians[label] / medians['aer']:13.2f}x" for label in labels[:-1])
        for label in labels:
            d = distances.get((name, label))
            row += f"{d:14.3f}" if d is not None else f"{'-':>14}"
        print(row)


if __name__ == "__main__":
    main()
