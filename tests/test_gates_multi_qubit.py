"""Gate methods on three or more qubits and over control lists."""

import math
import pydoc

import numpy as np
import pytest

import TavironLib as tl
from circuit_reference import (H, SWAP, SX, X, Z, apply, assert_state, controlled, evolve,
                               expected_doc, expm_pauli, on_qubits, phase, rx, ry, rz,
                               signature, u2)

INVALID = "Invalid Parameter passed to the gate instruction."
N = 6
# The simulator drops Schmidt values below 1e-4 after every two-site gate; the
# decompositions here entangle enough to meet that cut, so amplitudes are
# compared to 1e-4 (a wrong gate is off by far more).
ATOL = 1e-4


def label_param():
    return [("label", "str", "''")]


def ints(*names):
    return [(n, "int", None) for n in names]


TWO_CONTROLS = ints("control_qubit1", "control_qubit2", "target_qubit") + label_param()
THREE_CONTROLS = ints("control_qubit1", "control_qubit2", "control_qubit3",
                      "target_qubit") + label_param()
MC_ROTATION = ([("lambda", "float", None), ("control_qubits", "List[int]", None),
                ("target_qubit", "int", None), ("use_basis_gates", "bool", "False")]
               + label_param())
MC_X = ([("control_qubits", "List[int]", None), ("target_qubit", "int", None),
         ("ancilla_qubits", "List[int]", "[]"), ("mode", "str", "'noancilla'")] + label_param())
GMS = [("theta", "float", None), ("qubit_list", "List[int]", None)] + label_param()

TOFFOLI_DOC = "Implements the controlled-controlled-x gate"
SWAP_DOC = "Implements the controlled-swap gate"
MCX_DOC = "Implements the multicontrol X gate"
GMS_DOC = "Implements the MS or the Global M\u00f8lmer\u2013S\u00f8rensen gate"
RC3X_DOC = "Implements the triple controlled X rotation gate"

# name, handle class, docstring, parameters as the signature shows them
METHODS = [
    ("ccx", "CCXGate", TOFFOLI_DOC, TWO_CONTROLS),
    ("ccz", "CCZGate", "Implements the controlled-controlled-z gate", TWO_CONTROLS),
    ("cswap", "CSWAPGate", SWAP_DOC,
     ints("control_qubit", "target_qubit1", "target_qubit2") + label_param()),
    ("fredkin", "CSWAPGate", SWAP_DOC, TWO_CONTROLS),
    ("rccx", "RCCXGate", SWAP_DOC, TWO_CONTROLS),
    ("mcp", "MCPGate", "Implements the multicontrol phase gate",
     [("lambda", "float", None), ("control_qubits", "List[int]", None),
      ("target_qubit", "int", None)] + label_param()),
    ("mcrx", "MCRXGate", "Implements the multicontrol X rotation", MC_ROTATION),
    ("mcry", "MCRYGate", "Implements the multicontrol Y rotation", MC_ROTATION),
    ("mcrz", "MCRZGate", "Implements the multicontrol Z rotation", MC_ROTATION),
    ("mct", "MCXGate", MCX_DOC, MC_X),
    ("mcx", "MCXGate", MCX_DOC, MC_X),
    ("ms", "GMSGate", GMS_DOC, GMS),
    ("gms", "GMSGate", GMS_DOC, GMS),
    ("rcccx", "RCCCXGate", RC3X_DOC, THREE_CONTROLS),
    ("rc3x", "RCCCXGate", RC3X_DOC, THREE_CONTROLS),
    ("toffoli", "CCXGate", TOFFOLI_DOC, TWO_CONTROLS),
    ("c3sqrtx", "C3SQRTX", "Implements the triple controlled square root of X gate",
     THREE_CONTROLS),
    ("c3x", "MCXGate", "Implements the three controlled X gate", THREE_CONTROLS),
    ("c4x", "MCXGate", "Implments the four controlled X gate",
     ints("control_qubit1", "control_qubit2", "control_qubit3", "control_qubit4",
          "target_qubit") + label_param()),
]


@pytest.mark.parametrize("name, cls, doc, params", METHODS, ids=[m[0] for m in METHODS])
def test_docstring(name, cls, doc, params):
    assert getattr(tl.QuantumCircuit, name).__doc__ == expected_doc(
        name, [(signature(params, f"TavironLib.{cls}"), doc)])


# --- references ---------------------------------------------------------------

def sequence(n_local, steps):
    """Dense matrix of a gate sequence on local qubits 0..n_local-1."""
    dim = 2 ** n_local
    out = np.zeros((dim, dim), dtype=complex)
    for col in range(dim):
        state = np.zeros(dim, dtype=complex)
        state[col] = 1
        for m, qubits in steps:
            state = apply(state, m, qubits)
        out[:, col] = state
    return out


def relative_phase_toffoli():
    a, b, c = 0, 1, 2
    cx = controlled(X)
    t, tdg = phase(math.pi / 4), phase(-math.pi / 4)
    return sequence(3, [(u2(0, math.pi), [c]), (t, [c]), (cx, [b, c]), (tdg, [c]),
                        (cx, [a, c]), (t, [c]), (cx, [b, c]), (tdg, [c]),
                        (u2(0, math.pi), [c])])


def relative_phase_c3x():
    a, b, c, d = 0, 1, 2, 3
    cx = controlled(X)
    t, tdg, h = phase(math.pi / 4), phase(-math.pi / 4), u2(0, math.pi)
    return sequence(4, [(h, [d]), (t, [d]), (cx, [c, d]), (tdg, [d]), (h, [d]),
                        (cx, [a, d]), (t, [d]), (cx, [b, d]), (tdg, [d]),
                        (cx, [a, d]), (t, [d]), (cx, [b, d]), (tdg, [d]),
                        (h, [d]), (t, [d]), (cx, [c, d]), (tdg, [d]), (h, [d])])


def gms_matrix(theta, k):
    pairs = [(j, i) for j in range(k) for i in range(j + 1, k)]
    return sequence(k, [(expm_pauli(theta, on_qubits(X, X)), [i, j]) for j, i in pairs])


# method, class, positional arguments, (reference matrix, qubits it acts on)
CALLS = [
    ("ccx", "CCXGate", (4, 1, 2), controlled(X, 2), [4, 1, 2]),
    ("toffoli", "CCXGate", (0, 5, 3), controlled(X, 2), [0, 5, 3]),
    ("ccz", "CCZGate", (2, 0, 5), controlled(Z, 2), [2, 0, 5]),
    ("cswap", "CSWAPGate", (3, 5, 0), controlled(SWAP), [3, 5, 0]),
    ("fredkin", "CSWAPGate", (1, 4, 2), controlled(SWAP), [1, 4, 2]),
    ("rccx", "RCCXGate", (5, 2, 1), relative_phase_toffoli(), [5, 2, 1]),
    ("mcp", "MCPGate", (0.7, [4, 1], 3), controlled(phase(0.7), 2), [1, 4, 3]),
    ("mcp", "MCPGate", (0.7, [2], 0), controlled(phase(0.7)), [2, 0]),
    ("mcrx", "MCRXGate", (1.3, [5, 0, 2], 1), controlled(rx(1.3), 3), [0, 2, 5, 1]),
    ("mcrx", "MCRXGate", (1.3, [5], 1), controlled(rx(1.3)), [5, 1]),
    ("mcry", "MCRYGate", (-0.8, [3, 4], 0, True), controlled(ry(-0.8), 2), [3, 4, 0]),
    ("mcrz", "MCRZGate", (2.1, [1, 2, 3, 4], 5), controlled(phase(2.1), 4), [1, 2, 3, 4, 5]),
    ("mcx", "MCXGate", ([3, 0, 0], 1), controlled(X, 2), [0, 3, 1]),
    ("mcx", "MCXGate", ([4], 2), controlled(X), [4, 2]),
    ("mct", "MCXGate", ([5, 1, 3], 0, [9], "v-chain"), controlled(X, 3), [1, 3, 5, 0]),
    ("mcx", "MCXGate", ([0, 1, 2, 5], 3), controlled(X, 4), [0, 1, 2, 5, 3]),
    ("mcx", "MCXGate", ([5, 4, 3, 2, 1], 0), controlled(X, 5), [1, 2, 3, 4, 5, 0]),
    ("gms", "GMSGate", (0.6, [2, 0, 4]), gms_matrix(0.6, 3), [2, 0, 4]),
    ("ms", "GMSGate", (-1.1, [1, 3]), gms_matrix(-1.1, 2), [1, 3]),
    ("rcccx", "RCCCXGate", (3, 0, 5, 2), relative_phase_c3x(), [3, 0, 5, 2]),
    ("rc3x", "RCCCXGate", (1, 2, 3, 4), relative_phase_c3x(), [1, 2, 3, 4]),
    ("c3sqrtx", "C3SQRTX", (4, 2, 0, 1), controlled(SX, 3), [4, 2, 0, 1]),
    ("c3x", "MCXGate", (5, 3, 1, 0), controlled(X, 3), [5, 3, 1, 0]),
    ("c4x", "MCXGate", (0, 2, 4, 5, 3), controlled(X, 4), [0, 2, 4, 5, 3]),
]

PREP = [(ry(0.2 + 0.45 * q), [q]) for q in range(N)] + [(rz(1.1 - 0.3 * q), [q]) for q in range(N)]


def prepared_circuit():
    qc = tl.QuantumCircuit(N)
    for q in range(N):
        qc.ry(0.2 + 0.45 * q, q)
    for q in range(N):
        qc.rz(1.1 - 0.3 * q, q)
    return qc


@pytest.mark.parametrize("name, cls, args, matrix, qubits", CALLS,
                         ids=[f"{c[0]}{c[2]}" for c in CALLS])
def test_gate_effect_on_the_state(name, cls, args, matrix, qubits):
    qc = prepared_circuit()
    before = qc.size()
    assert type(getattr(qc, name)(*args)) is getattr(tl, cls)
    assert qc.size() == before + 1        # one record (or one composite)
    assert_state(qc, evolve(N, PREP + [(matrix, qubits)]), atol=ATOL)


def test_keywords_and_ignored_parameters():
    qc = prepared_circuit()
    qc.fredkin(control_qubit1=0, control_qubit2=1, target_qubit=2)
    qc.cswap(control_qubit=0, target_qubit1=1, target_qubit2=2)
    qc.mcx([0, 1], 2, ancilla_qubits=[99], mode="v-chain", label="l")
    qc.mcrz(0.3, [0, 1], 2, use_basis_gates=True)
    qc.mcrz(0.3, [0, 1], 2, use_basis_gates=False)
    qc.mcp(**{"lambda": 0.2, "control_qubits": [3], "target_qubit": 4})
    ops = PREP + [(controlled(SWAP), [0, 1, 2])] * 2 + [(controlled(X, 2), [0, 1, 2])]
    ops += [(controlled(phase(0.3), 2), [0, 1, 2])] * 2 + [(controlled(phase(0.2)), [3, 4])]
    assert_state(qc, evolve(N, ops), atol=ATOL)
    for bad in [lambda: qc.fredkin(control_qubit=0, control_qubit2=1, target_qubit=2),
                lambda: qc.mcx([0, 1], 2, ancilla_qubits=5),
                lambda: qc.mcp(0.5, [0], -1),
                lambda: qc.ccx(0, 1, 2.0),
                lambda: qc.gms(0.5, "01")]:
        with pytest.raises(TypeError):
            bad()


@pytest.mark.parametrize("call", [
    lambda qc: qc.mcp(0.5, [], 1),
    lambda qc: qc.mcp(0.5, [1], 1),
    lambda qc: qc.mcp(0.5, [-1], 1),
    lambda qc: qc.mcrx(0.5, [0, 6], 1),
    lambda qc: qc.mcx([0, 1], 1),
    lambda qc: qc.gms(0.5, [0, 1, 0]),
    lambda qc: qc.ccx(0, 1, N),
    lambda qc: qc.ccz(0, 0, 1),
    lambda qc: qc.cswap(2, 2, 1),
    lambda qc: qc.c4x(0, 1, 2, 3, 3),
    lambda qc: qc.rc3x(0, 1, 2, N),
    lambda qc: qc.c3sqrtx(0, 1, 1, 2),
])
def test_invalid_qubits_leave_the_circuit_unchanged(call):
    qc = tl.QuantumCircuit(N)
    qc.h(0)
    with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
        call(qc)
    assert qc.size() == 1


def test_more_than_32_controls():
    qc = tl.QuantumCircuit(40)
    for method in ["mcp", "mcrx", "mcry", "mcrz"]:
        with pytest.raises(IndexError, match="^invalid string position$"):
            getattr(qc, method)(0.5, list(range(33)), 39)
    with pytest.raises(IndexError, match="^invalid string position$"):
        qc.mcx(list(range(33)), 39)
    assert qc.size() == 0


def test_registers_as_control_and_qubit_lists():
    qr = tl.QuantumRegister(3, "q")
    qt = tl.QuantumRegister(1, "t")
    qc = tl.QuantumCircuit(qr, qt)
    qc.h([0, 1, 2, 3])
    qc.gms(0.5, qr)
    qc.mcx(qr, 3)
    ops = [(H, [q]) for q in range(4)]
    ops += [(gms_matrix(0.5, 3), [0, 1, 2]), (controlled(X, 3), [0, 1, 2, 3])]
    assert_state(qc, evolve(4, ops), atol=ATOL)
    assert qc.depth() == 3


def test_help_renders_the_non_ascii_docstring():
    text = pydoc.render_doc(tl.QuantumCircuit, renderer=pydoc.plaintext)
    assert text.count(GMS_DOC) == 2
    assert tl.QuantumCircuit.gms.__doc__.endswith(GMS_DOC + "\n")
