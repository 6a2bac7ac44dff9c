"""A Python thread that ticks every 10 ms, for tests that a call lets other
Python threads run: the longest gap between its ticks is about 10 ms while
they can, and as long as the call when it holds the interpreter lock."""

import random
import threading
import time

import TavironLib as tl


class Ticker:
    def __enter__(self):
        self._ticks = [time.monotonic()]
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._tick, daemon=True)
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()
        self._ticks.append(time.monotonic())

    def _tick(self):
        while not self._stop.wait(0.01):
            self._ticks.append(time.monotonic())

    def longest_gap(self):
        """The longest time without a tick, in seconds, once the ticker has
        stopped."""
        return max(later - earlier for earlier, later in zip(self._ticks, self._ticks[1:]))


def heavy_circuit(qubits=22, layers=24):
    """A circuit whose one simulation takes about a second: layers of random
    rotations and alternating CX bricks, every qubit measured at the end."""
    qc = tl.QuantumCircuit(qubits, qubits)
    angles = random.Random(1)
    for layer in range(layers):
        for q in range(qubits):
            qc.ry(angles.uniform(0, 3), q)
        for q in range(layer % 2, qubits - 1, 2):
            qc.cx(q, q + 1)
    for q in range(qubits):
        qc.measure(q, q)
    return qc
