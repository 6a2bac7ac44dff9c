"""One-qubit gate methods: three overloads each (int, list, register)."""

import pytest

import TavironLib as tl
from circuit_reference import (H, I2, S, SX, T, X, Y, Z, assert_state,
                               dagger, evolve, expected_doc, phase, r, run_sync,
                               rv, rx, ry, rz, signature, u, u2)

INVALID = "Invalid Parameter passed to the gate instruction."

# name, handle class, docstring, angle names, reference matrix from the angles
GATES = [
    ("h", "HGate", "Implements the Hadamard gate", [], lambda: H),
    ("x", "XGate", "Implements the x gate", [], lambda: X),
    ("i", "IGate", "Implements the identity gate", [], lambda: I2),
    ("id", "IGate", "Implements the identity gate", [], lambda: I2),
    ("t", "TGate", "Implements the t gate", [], lambda: T),
    ("s", "SGate", "Implements the s gate", [], lambda: S),
    ("tdg", "TdgGate", "Implements the tdg gate", [], lambda: dagger(T)),
    ("sdg", "SdgGate", "Implements the sdg gate", [], lambda: dagger(S)),
    ("sx", "SXGate", "Implements the sx gate", [], lambda: SX),
    ("sxdg", "SXdgGate", "Implements the sxdg gate", [], lambda: dagger(SX)),
    ("y", "YGate", "Implements the y gate", [], lambda: Y),
    ("z", "ZGate", "Implements the z gate", [], lambda: Z),
    ("p", "PhaseGate", "Implements the phase gate", ["theta"], phase),
    ("r", "RGate", "Implements the rotation gate r", ["theta", "phi"], r),
    ("rv", "RvGate", "Implements the rv gate", ["vx", "vy", "vz"], rv),
    ("rx", "RXGate", "Implements the rx gate", ["theta"], rx),
    ("ry", "RYGate", "Implements the ry gate", ["theta"], ry),
    ("rz", "RZGate", "Implements the rz gate", ["phi"], rz),
    ("u", "UGate", "Implements the u gate", ["theta", "phi", "lambda"], u),
    ("u0", "U0Gate", "Implements the U0 gate, which is the same as the identity gate",
     ["gamma"], lambda gamma: I2),
    ("u1", "U1Gate", "Implements the u1 gate", ["lambda"], phase),
    ("u2", "U2Gate", "Implements the u2 gate", ["phi", "lambda"], u2),
    ("u3", "U3Gate", "Implements the u3 gate", ["theta", "phi", "lambda"], u),
]
IDS = [g[0] for g in GATES]
ANGLES = [0.37, -1.21, 2.05]

# A generic start state on three qubits, so that every matrix entry matters.
PREP = [("ry", 0.3, 0), ("ry", 1.1, 1), ("ry", 2.0, 2),
        ("rz", 0.7, 0), ("rz", -0.4, 1), ("rz", 1.3, 2)]


def prepare(qc):
    for name, angle, qubit in PREP:
        getattr(qc, name)(angle, qubit)


def prepared_ops():
    return [({"ry": ry, "rz": rz}[name](angle), [qubit]) for name, angle, qubit in PREP]


def two_register_circuit():
    """Qubit 0 in register a, qubits 1 and 2 in register b."""
    qa = tl.QuantumRegister(1, "a")
    qb = tl.QuantumRegister(2, "b")
    return tl.QuantumCircuit(qa, qb), qb


@pytest.mark.parametrize("name, cls, doc, angles, _", GATES, ids=IDS)
def test_docstring_lists_the_three_forms(name, cls, doc, angles, _):
    lead = [(a, "float", None) for a in angles]
    label = [("label", "str", "''")]
    result = f"TavironLib.{cls}"
    forms = [signature(lead + [(operand, kind, None)] + label, result)
             for operand, kind in [("qubit", "int"), ("qubit_vector", "List[int]"),
                                   ("qr", "TavironLib.QuantumRegister")]]
    assert getattr(tl.QuantumCircuit, name).__doc__ == expected_doc(
        name, [(f, doc) for f in forms])


@pytest.mark.parametrize("name, cls, doc, angles, matrix", GATES, ids=IDS)
def test_every_form_applies_the_gate(name, cls, doc, angles, matrix):
    qc, qb = two_register_circuit()
    prepare(qc)
    args = ANGLES[:len(angles)]
    gate = getattr(qc, name)
    calls = [
        (gate(*args, 0), [0]),                       # int form
        (gate(*args, [2, 1, 2]), [2, 1, 2]),         # list form, duplicates kept
        (gate(*args, (0,)), [0]),                    # any sequence of ints
        (gate(*args, qb), [1, 2]),                   # a register by position
        (gate(*args, qr=qb, label="lab"), [1, 2]),   # the register form
        (gate(*args, []), []),                       # nothing
    ]
    m = matrix(*args)
    ops = prepared_ops()
    for handle, qubits in calls:
        assert type(handle) is getattr(tl, cls)
        ops += [(m, [q]) for q in qubits]
    assert qc.size() == len(ops)
    assert_state(qc, evolve(3, ops))


@pytest.mark.parametrize("name, cls, doc, angles, matrix", GATES, ids=IDS)
def test_every_parameter_can_be_given_by_keyword(name, cls, doc, angles, matrix):
    qc, qb = two_register_circuit()
    prepare(qc)
    named = dict(zip(angles, ANGLES))
    gate = getattr(qc, name)
    for operand in [{"qubit": 2}, {"qubit_vector": [2]}, {"qr": qb}]:
        assert type(gate(**named, **operand, label="k")) is getattr(tl, cls)
    with pytest.raises(TypeError):
        gate(**named, qubits=[0])
    ops = prepared_ops()
    ops += [(matrix(*ANGLES[:len(angles)]), [q]) for q in [2, 2, 1, 2]]
    assert_state(qc, evolve(3, ops))


@pytest.mark.parametrize("name, cls, doc, angles, _", GATES, ids=IDS)
def test_index_errors(name, cls, doc, angles, _):
    qc = tl.QuantumCircuit(2)
    gate = getattr(qc, name)
    args = ANGLES[:len(angles)]
    for bad in [-1, 1.0, 2 ** 64, "01", b"01", None]:
        with pytest.raises(TypeError):
            gate(*args, bad)
    with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
        gate(*args, 2)
    assert qc.size() == 0
    with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
        gate(*args, [-1])
    assert qc.size() == 0
    # A list call failing half-way keeps the records made before the bad item.
    with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
        gate(*args, [0, 1, 5, 0])
    assert qc.size() == 2


def test_register_objects_as_qubit_lists():
    qr = tl.QuantumRegister(2, "q")
    ar = tl.AncillaRegister(1, "anc")
    cr = tl.ClassicalRegister(2, "c")
    qc = tl.QuantumCircuit(qr, ar, cr)
    # An ancilla register given by position acts on its qubits (after the
    # quantum ones); by the keyword qr it matches no overload.
    assert type(qc.x(ar)) is tl.XGate
    with pytest.raises(TypeError):
        qc.x(qr=ar)
    with pytest.raises(TypeError):
        qc.rx(0.5, qr=cr)
    # A classical register gives its bit indices, taken as qubits.
    qc.ry(0.8, cr)
    expected = evolve(3, [(X, [2]), (ry(0.8), [0]), (ry(0.8), [1])])
    assert_state(qc, expected)


def test_empty_and_negative_registers():
    qc = tl.QuantumCircuit(2)
    empty = tl.QuantumRegister(0, "e")
    assert type(qc.h(empty)) is tl.HGate
    assert type(qc.p(0.5, qr=empty)) is tl.PhaseGate
    assert qc.size() == 0
    negative = tl.QuantumRegister(-1, "n")
    with pytest.raises(ValueError):
        qc.h(negative)
    assert qc.size() == 0


def test_angles_convert_from_ints_and_label_by_position():
    qc = tl.QuantumCircuit(1)
    assert type(qc.p(1, 0)) is tl.PhaseGate
    assert type(qc.u(1, 0, 0, 0, "lbl")) is tl.UGate
    with pytest.raises(TypeError):
        qc.rz(theta=0.3, qubit=0)          # the angle of rz is named phi
    with pytest.raises(TypeError):
        qc.rx("0.5", 0)
    assert_state(qc, evolve(1, [(phase(1.0), [0]), (u(1.0, 0, 0), [0])]))


def test_lambda_is_passed_by_keyword_through_a_mapping():
    qc = tl.QuantumCircuit(1)
    qc.u1(**{"lambda": 0.4, "qubit": 0})
    qc.u2(0.1, **{"lambda": 0.2}, qubit=0)
    assert_state(qc, evolve(1, [(phase(0.4), [0]), (u2(0.1, 0.2), [0])]))


def test_each_call_returns_its_own_handle_and_c_if_covers_all_its_records():
    qc = tl.QuantumCircuit(4)
    first, second = qc.h(0), qc.h(0)
    assert first is not second
    del first, second
    qc.x(0)
    qc.measure(0, 0)                          # classical bit 0 reads 1
    qc.x([1, 2]).c_if(0, 1)                   # both records run
    qc.x([3]).c_if(0, 0)                      # does not run
    qc.measure(1, 1)
    qc.measure(2, 2)
    qc.measure(3, 3)
    assert run_sync(qc, 5).get_counts() == {"0111": 5}

