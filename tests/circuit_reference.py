"""Independent references for the QuantumCircuit tests.

Dense state vectors are computed here with numpy, from textbook gate
definitions, in the module's basis convention: bit q of a state-vector index
is the value of qubit q, and in a gate matrix over the qubits (q0, q1, ...)
the first listed qubit is the lowest bit of the row and column index.
"""

import cmath
import math

import numpy as np

import TavironLib

def bell_circuit():
    """The Bell request: H on qubit 0, CX from 0 to 1, both qubits measured."""
    qc = TavironLib.QuantumCircuit(2, 2)
    qc.h(0)
    qc.cx(0, 1)
    qc.measure(0, 0)
    qc.measure(1, 1)
    return qc


# --- one-qubit matrices -------------------------------------------------------

I2 = np.eye(2, dtype=complex)
X = np.array([[0, 1], [1, 0]], dtype=complex)
Y = np.array([[0, -1j], [1j, 0]], dtype=complex)
Z = np.array([[1, 0], [0, -1]], dtype=complex)
H = np.array([[1, 1], [1, -1]], dtype=complex) / math.sqrt(2)
S = np.diag([1, 1j])
T = np.diag([1, cmath.exp(1j * math.pi / 4)])
SX = np.array([[1 + 1j, 1 - 1j], [1 - 1j, 1 + 1j]]) / 2
P0 = np.diag([1, 0]).astype(complex)
P1 = np.diag([0, 1]).astype(complex)


def dagger(m):
    return m.conj().T


def expm_pauli(theta, pauli):
    """exp(-i theta/2 P) for a Pauli product P (P @ P = 1)."""
    return math.cos(theta / 2) * np.eye(len(pauli)) - 1j * math.sin(theta / 2) * pauli


def rx(t):
    return expm_pauli(t, X)


def ry(t):
    return expm_pauli(t, Y)


def rz(t):
    return expm_pauli(t, Z)


def phase(t):
    return np.diag([1, cmath.exp(1j * t)])


def r(theta, phi):
    return expm_pauli(theta, math.cos(phi) * X + math.sin(phi) * Y)


def rv(vx, vy, vz):
    length = math.sqrt(vx * vx + vy * vy + vz * vz)
    if length == 0:
        return I2.copy()
    return expm_pauli(length, (vx * X + vy * Y + vz * Z) / length)


def u(theta, phi, lam):
    c, s = math.cos(theta / 2), math.sin(theta / 2)
    return np.array([[c, -cmath.exp(1j * lam) * s],
                     [cmath.exp(1j * phi) * s, cmath.exp(1j * (phi + lam)) * c]])


def u2(phi, lam):
    return u(math.pi / 2, phi, lam)


# --- many-qubit matrices (first listed qubit = lowest index bit) -------------

def on_qubits(*factors):
    """Tensor product; factors[0] acts on the first listed qubit."""
    out = np.eye(1, dtype=complex)
    for f in factors:
        out = np.kron(f, out)
    return out


def controlled(target_matrix, controls=1):
    """Controlled gate on (control..., target...): applies target_matrix when
    every control qubit is 1. The controls are the low bits."""
    dim_c = 2 ** controls
    dim_t = target_matrix.shape[0]
    out = np.eye(dim_c * dim_t, dtype=complex)
    for t_row in range(dim_t):
        for t_col in range(dim_t):
            out[t_row * dim_c + dim_c - 1, t_col * dim_c + dim_c - 1] = target_matrix[t_row, t_col]
    return out


SWAP = np.eye(4)[[0, 2, 1, 3]].astype(complex)
ISWAP = np.array([[1, 0, 0, 0], [0, 0, 1j, 0], [0, 1j, 0, 0], [0, 0, 0, 1]])


def cx_matrix():
    return controlled(X)


def dcx_matrix():
    # cx(q0 -> q1) followed by cx(q1 -> q0)
    return on_qubits_controlled_reversed(X) @ controlled(X)


def on_qubits_controlled_reversed(m):
    """Controlled-m with the control on the second listed qubit."""
    return SWAP @ controlled(m) @ SWAP


def ecr_matrix():
    # (X on the first qubit - Y on the first and X on the second) / sqrt 2
    return (on_qubits(X, I2) - on_qubits(Y, X)) / math.sqrt(2)


# --- dense simulation ---------------------------------------------------------

def zero_state(n):
    state = np.zeros(2 ** n, dtype=complex)
    state[0] = 1
    return state


def apply(state, matrix, qubits):
    """Apply `matrix` on `qubits` (first listed = lowest matrix-index bit)."""
    n = int(round(math.log2(len(state))))
    k = len(qubits)
    psi = state.reshape([2] * n)
    # Axis j of psi is qubit n-1-j; the first k axes of the reshaped matrix
    # are its row bits from the highest (last listed qubit) down.
    axes = [n - 1 - q for q in reversed(qubits)]
    m = np.asarray(matrix, dtype=complex).reshape([2] * (2 * k))
    psi = np.tensordot(m, psi, axes=(list(range(k, 2 * k)), axes))
    psi = np.moveaxis(psi, list(range(k)), axes)
    return psi.reshape(-1)


def evolve(n, operations):
    """State after applying (matrix, qubits) pairs in order to |0...0>."""
    state = zero_state(n)
    for matrix, qubits in operations:
        state = apply(state, matrix, qubits)
    return state


# --- running circuits ---------------------------------------------------------

_backend = None


def backend():
    global _backend
    if _backend is None:
        _backend = TavironLib.BackendV2()
    return _backend


def run_sync(qc, shots):
    job = backend().run(qc, shots=shots, mode="sync", quiet=True)
    return job.result()


def statevector(qc):
    """The module's final state of one shot of `qc` (no measurements)."""
    return np.array(run_sync(qc, 1).get_statevector(), dtype=complex)


def assert_state(qc, expected, atol=1e-9):
    got = statevector(qc)
    assert got.shape == expected.shape
    np.testing.assert_allclose(got, expected, atol=atol)


# --- docstrings ---------------------------------------------------------------

def expected_doc(name, overloads):
    """The __doc__ pybind11 2.10 builds from (signature, docstring) pairs,
    each signature being the text after the method name."""
    if len(overloads) == 1:
        sig, doc = overloads[0]
        return f"{name}{sig}\n\n{doc}\n"
    parts = [f"{name}(*args, **kwargs)\nOverloaded function.\n"]
    for number, (sig, doc) in enumerate(overloads, 1):
        parts.append(f"{number}. {name}{sig}\n\n{doc}\n")
    return "\n".join(parts)


def signature(params, result):
    """Signature text for `params` [(name, type, default-repr or None)]."""
    shown = ["self: TavironLib.QuantumCircuit"]
    for pname, ptype, default in params:
        text = f"{pname}: {ptype}"
        if default is not None:
            text += f" = {default}"
        shown.append(text)
    return f"({', '.join(shown)}) -> {result}"
