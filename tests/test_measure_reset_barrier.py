"""Measurement, reset, barrier, Pauli strings and the circuit queries."""

import pytest

import TavironLib as tl
from circuit_reference import (H, X, Y, Z, assert_state, evolve, expected_doc, run_sync,
                               signature)

INVALID = "Invalid Parameter passed to the gate instruction."
NOTHING_APPENDED = -2147483628
LABEL = ("label", "str", "''")
MEAS = "TavironLib.MeasGate"
RESET_DOC = "Resets a qubit or a list of qubits to state |0>?"
BARRIER_DOC = "Implements the barrier gate"

DOCS = [
    ("barrier", [(signature([LABEL], "int"), BARRIER_DOC),
                 (signature([("qubit_list", "List[int]", None), LABEL], "int"), BARRIER_DOC)]),
    ("measure_active", [(signature([LABEL], MEAS), "Measures all active qubits")]),
    ("measure_all", [(signature([LABEL], MEAS), "Measures all qubits")]),
    ("measure", [
        (signature([("qubit", "int", None), ("classical_bit", "int", None), LABEL], MEAS),
         "Perform Pauli-Z measurement on qubit and project it to the given classical register."),
        (signature([("qubit", "int", None), LABEL], MEAS),
         "Perform Pauli-Z measurement on qubit and project it to the corresponding classical "
         "register")]),
    ("pauli", [(signature([("qubit_list", "List[int]", None), ("pauli_operator", "str", None),
                           LABEL], "TavironLib.PAULIGate"),
                "Performs Pauli operations (I-X-Y-Z) on a list of qubits")]),
    ("depth", [(signature([], "int"), "Obtains the depth of the circuit")]),
    ("width", [(signature([], "int"), "Obtains the width of the circuit")]),
    ("clear", [(signature([], "None"), "Deletes all quantum gates added to the circuit")]),
    ("size", [(signature([], "int"), "Returns to the total number of gate operations in the "
                                     "circuit, excepting for barrier gates")]),
    ("reset", [(signature([("qubit", "int", None), LABEL], "TavironLib.ResetGate"), RESET_DOC),
               (signature([("qubit_list", "List[int]", None), LABEL], "TavironLib.ResetGate"),
                RESET_DOC)]),
]


@pytest.mark.parametrize("name, overloads", DOCS, ids=[d[0] for d in DOCS])
def test_docstring(name, overloads):
    assert getattr(tl.QuantumCircuit, name).__doc__ == expected_doc(name, overloads)


def classical_values(qc):
    """The classical values after one shot: index n-1 first, X if unmeasured."""
    return run_sync(qc, 1).get_classicalregister()


# Each case starts from QuantumCircuit(3) with x(0) applied.
MEASURE_CASES = [
    (lambda qc: qc.measure(0), "XX1"),
    (lambda qc: qc.measure(0, "m"), "XX1"),
    (lambda qc: qc.measure(0, label="m"), "XX1"),
    (lambda qc: qc.measure(0, 2), "1XX"),
    (lambda qc: qc.measure(qubit=1, classical_bit=0), "XX0"),
    (lambda qc: qc.measure_all(), "001"),
    (lambda qc: qc.measure_active("act"), "XX1"),
]


@pytest.mark.parametrize("call, values", MEASURE_CASES)
def test_measure_forms_write_their_classical_bits(call, values):
    qc = tl.QuantumCircuit(3)
    qc.x(0)
    assert type(call(qc)) is tl.MeasGate
    assert classical_values(qc) == values


def test_measure_checks():
    qc = tl.QuantumCircuit(2, 1)
    qc.measure(1, 1)              # a classical bit need only be below the qubit count
    for args in [(2, 0), (0, 2)]:
        with pytest.raises(RuntimeError, match=f"^{INVALID}$"):
            qc.measure(*args)
    for args in [(-1,), (0, -1), (0, 1.0), (1.0,)]:
        with pytest.raises(TypeError):
            qc.measure(*args)
    assert qc.size() == 1


def test_measure_all_and_measure_active_hold_all_their_records():
    qc = tl.QuantumCircuit(3)
    qc.x(0)
    qc.measure(0, 0)
    qc.measure_all().c_if(0, 0)                   # condition false: none run
    assert qc.size() == 5
    assert classical_values(qc) == "XX1"
    act = tl.QuantumCircuit(3)
    act.h(1)
    act.clear()                                   # the active flags stay
    act.measure_active()
    assert classical_values(act) == "X0X"
    assert type(tl.QuantumCircuit(2).measure_active()) is tl.MeasGate


def test_barrier_status_and_forms():
    qr = tl.QuantumRegister(3, "b")
    qc = tl.QuantumCircuit(qr)
    assert qc.barrier() == 0
    assert qc.barrier("x") == 0
    assert qc.barrier([0, 7, 1]) == 0
    assert qc.barrier(qr) == 0
    for empty in [[], [-1], [3, 0]]:
        assert qc.barrier(empty) == NOTHING_APPENDED
    assert (qc.size(), qc.depth()) == (0, 0)
    with pytest.raises(TypeError):
        qc.barrier(1)
    with pytest.raises(TypeError):
        qc.barrier([0.5])


def test_depth_width_size():
    qc = tl.QuantumCircuit(3, 2)
    assert (qc.depth(), qc.width(), qc.size()) == (0, 5, 0)
    qc.h(0)
    qc.h(0)
    qc.cx(0, 1)
    assert qc.depth() == 3
    other = tl.QuantumCircuit(2)
    other.h(0)
    other.barrier()
    other.h(1)
    assert other.depth() == 2
    sized = tl.QuantumCircuit(2)
    sized.h(0)
    sized.barrier()
    sized.measure(0, 0)
    assert sized.size() == 2
    sized.clear()
    assert (sized.size(), sized.depth()) == (0, 0)
    mixed = tl.QuantumCircuit(tl.QuantumRegister(2, "q"), tl.AncillaRegister(1, "a"))
    assert mixed.width() == 6


def test_pauli_strings():
    qc = tl.QuantumCircuit(3)
    qc.h([0, 1, 2])
    assert type(qc.pauli([0, 1], "XZ")) is tl.PAULIGate   # Z on qubit 0, X on qubit 1
    qc.pauli([2, 0], "yI", "lab")                            # I on qubit 2, Y on qubit 0
    qc.pauli([], "")
    assert qc.size() == 6
    ops = [(H, [0]), (H, [1]), (H, [2]), (Z, [0]), (X, [1]), (Y, [0])]
    assert_state(qc, evolve(3, ops))
    assert qc.depth() == 3            # a composite counts once on each listed qubit


@pytest.mark.parametrize("args, message", [
    (([0], "XY"), INVALID),
    (([0, 3], "XY"), INVALID),
    (([0, -1], "XY"), INVALID),
    (([0, 1], "XA"), "Invalid Pauli operator: XA"),
])
def test_pauli_errors_append_nothing(args, message):
    qc = tl.QuantumCircuit(3)
    with pytest.raises(RuntimeError, match=f"^{message}$"):
        qc.pauli(*args)
    assert qc.size() == 0


def test_reset():
    qc = tl.QuantumCircuit(2)
    qc.x([0, 1])
    assert qc.reset(5) is None
    assert qc.size() == 2
    assert type(qc.reset(0)) is tl.ResetGate
    assert type(qc.reset([1, 5, -1])) is tl.ResetGate      # out-of-range entries skipped
    assert qc.size() == 4
    qc.x(1)
    assert_state(qc, evolve(2, [(X, [1])]))
    with pytest.raises(TypeError):
        qc.reset(-1)
