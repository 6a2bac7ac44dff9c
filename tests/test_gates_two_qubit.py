"""Two-qubit gate methods: one overload each, angles then two qubits then label."""

import cmath

import pytest

import TavironLib as tl
from circuit_reference import (H, ISWAP, S, SWAP, SX, X, Y, Z, assert_state, controlled,
                               dagger, dcx_matrix, ecr_matrix, evolve, expected_doc,
                               expm_pauli, on_qubits, phase, rx, ry, rz, signature, u)

INVALID = "Invalid Parameter passed to the gate instruction."
CT = ["control_qubit", "target_qubit"]
PAIR = ["qubit1", "qubit2"]

# name, handle class, docstring, angle names, qubit names, reference matrix
GATES = [
    ("cx", "CXGate", "Implements the controlled-x gate", [], CT, lambda: controlled(X)),
    ("cy", "CYGate", "Implements the controlled-y gate", [], CT, lambda: controlled(Y)),
    ("cz", "CZGate", "Implements the controlled-z gate", [], CT, lambda: controlled(Z)),
    ("ch", "CHGate", "Implements the controlled-h gate", [], CT, lambda: controlled(H)),
    ("cnot", "CXGate", "Implements the controlled-not gate", [], CT, lambda: controlled(X)),
    ("cp", "CPGate", "Implements the controlled-phase gate", ["theta"], CT,
     lambda t: controlled(phase(t))),
    ("cs", "CSGate", "Implements the controlled-s gate", [], CT, lambda: controlled(S)),
    ("csdg", "CSdgGate", "Implements the controlled-sdg gate", [], CT,
     lambda: controlled(dagger(S))),
    ("csx", "CSXGate", "Implements the controlled-sx gate", [], CT, lambda: controlled(SX)),
    ("crx", "CRXGate", "Implements the controlled-rx gate", ["theta"], CT,
     lambda t: controlled(rx(t))),
    ("cry", "CRYGate", "Implements the controlled-ry gate", ["theta"], CT,
     lambda t: controlled(ry(t))),
    ("crz", "CRZGate", "Implements the controlled-rz gate", ["theta"], CT,
     lambda t: controlled(rz(t))),
    ("cu", "CUGate", "Implements the controlled-u gate", ["theta", "phi", "lambda", "gamma"], CT,
     lambda t, p, l, g: controlled(cmath.exp(1j * g) * u(t, p, l))),
    ("dcx", "DCXGate", "Implements the dcx gate", [], PAIR, dcx_matrix),
    ("ecr", "ECRGate", "Implements the ecr gate", [], PAIR, ecr_matrix),
    ("iswap", "ISWAPGate", "Implements the iswap gate", [], PAIR, lambda: ISWAP),
    ("rxx", "RXXGate", "Implements the rxx gate", ["theta"], PAIR,
     lambda t: expm_pauli(t, on_qubits(X, X))),
    ("ryy", "RYYGate", "Implements the ryy gate", ["theta"], PAIR,
     lambda t: expm_pauli(t, on_qubits(Y, Y))),
    ("rzx", "RZXGate", "Implements the rzx gate", ["theta"], PAIR,
     lambda t: expm_pauli(t, on_qubits(Z, X))),
    ("rzz", "RZZGate", "Implements the rzz gate", ["theta"], PAIR,
     lambda t: expm_pauli(t, on_qubits(Z, Z))),
    ("swap", "SWAPGate", "Implements the swap gate", [], PAIR, lambda: SWAP),
    ("cu1", "CU1Gate", "Implements the controlled-u1 gate", ["theta"], CT,
     lambda t: controlled(phase(t))),
    ("cu3", "CU3Gate", "Implements the controlled-u3 gate", ["theta", "phi", "lambda"], CT,
     lambda t, p, l: controlled(u(t, p, l))),
]
IDS = [g[0] for g in GATES]
ANGLES = [0.41, -1.3, 2.2, 0.9]
PREP = [(ry(0.3), [0]), (ry(1.1), [1]), (ry(2.0), [2]),
        (rz(0.7), [0]), (rz(-0.4), [1]), (rz(1.3), [2])]


def prepare(qc):
    for angle, qubit in [(0.3, 0), (1.1, 1), (2.0, 2)]:
        qc.ry(angle, qubit)
    for angle, qubit in [(0.7, 0), (-0.4, 1), (1.3, 2)]:
        qc.rz(angle, qubit)


@pytest.mark.parametrize("name, cls, doc, angles, qubits, _", GATES, ids=IDS)
def test_docstring(name, cls, doc, angles, qubits, _):
    params = ([(a, "float", None) for a in angles] + [(q, "int", None) for q in qubits]
              + [("label", "str", "''")])
    assert getattr(tl.QuantumCircuit, name).__doc__ == expected_doc(
        name, [(signature(params, f"TavironLib.{cls}"), doc)])


@pytest.mark.parametrize("name, cls, doc, angles, qubits, matrix", GATES, ids=IDS)
def test_gate_acts_on_its_qubits_in_order(name, cls, doc, angles, qubits, matrix):
    # The pairs cover both orders and non-adjacent qubits of the chain.
    qc = tl.QuantumCircuit(3)
    prepare(qc)
    args = ANGLES[:len(angles)]
    gate = getattr(qc, name)
    m = matrix(*args)
    ops = list(PREP)
    for first, second in [(0, 1), (2, 0), (1, 2), (0, 2)]:
        assert type(gate(*args, first, second)) is getattr(tl, cls)
        ops.append((m, [first, second]))
    # Keywords in any order follow the parameter names.
    by_name = dict(zip(angles, args))
    by_name.update({qubits[1]: 0, qubits[0]: 1, "label": "k"})
    assert type(gate(**by_name)) is getattr(tl, cls)
    ops.append((m, [1, 0]))
    assert qc.size() == len(ops)
    assert_state(qc, evolve(3, ops))


@pytest.mark.parametrize("name, cls, doc, angles, qubits, _", GATES, ids=IDS)
def test_bad_qubits(name, cls, doc, angles, qubits, _):
    qc = tl.QuantumCircuit(2)
    gate = getattr(qc, name)
    args = ANGLES[:len(angles)]
    for pair in [(-1, 0), (0.0, 1), (0, 2 ** 64), (None, 1)]:
        with pytest.raises(TypeError):
            gate(*args, *pair)
    for pair in [(0, 0), (0, 2), (2, 1)]:
        with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
            gate(*args, *pair)
    assert qc.size() == 0
    with pytest.raises(TypeError):
        gate(*args, 0)                     # a qubit missing


def test_ancilla_qubits_follow_the_quantum_qubits():
    qc = tl.QuantumCircuit(tl.QuantumRegister(2, "q"), tl.AncillaRegister(1, "a"))
    qc.h(0)
    qc.x(2)
    qc.cz(0, 2)
    assert_state(qc, evolve(3, [(H, [0]), (X, [2]), (controlled(Z), [0, 2])]))


def test_integer_angles_convert():
    qc = tl.QuantumCircuit(2)
    qc.h([0, 1])
    assert type(qc.cp(1, 0, 1)) is tl.CPGate
    assert_state(qc, evolve(2, [(H, [0]), (H, [1]), (controlled(phase(1.0)), [0, 1])]))
