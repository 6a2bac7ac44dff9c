"""append and compose: another circuit attached as one composite operation."""

import pytest

import TavironLib as tl
from circuit_reference import (H, X, assert_state, controlled, evolve, expected_doc, run_sync,
                               signature)

WIDER = "Input circuit has a wider number of qubits or classical bits and hence can't attach."


def test_docstrings():
    lists = [("qubits", "List[int]", "[]"), ("clbits", "List[int]", "[]")]
    flags = [("front", "bool", "False"), ("inplace", "bool", "False"), ("wrap", "bool", "False")]
    assert tl.QuantumCircuit.append.__doc__ == expected_doc("append", [(
        signature([("qc", "TavironLib.QuantumCircuit", None),
                   ("qubits_vector", "List[int]", None), ("cbits_vector", "List[int]", None)],
                  "int"),
        "Appends a quantum circuit to the current circuit")])
    assert tl.QuantumCircuit.compose.__doc__ == expected_doc("compose", [(
        signature([("other", "TavironLib.QuantumCircuit", None)] + lists + flags,
                  "TavironLib.QuantumCircuit"),
        "Composes a new quantum circuit from the current circuit")])


def bell_pair_on_two():
    other = tl.QuantumCircuit(2, 2, "bell")
    other.h(0)
    other.cx(0, 1)
    return other


def test_append_maps_qubits_and_classical_bits():
    qc = tl.QuantumCircuit(3, 3)
    qc.x(2)
    other = tl.QuantumCircuit(2, 2)
    other.cx(0, 1)
    other.measure(0, 0)
    other.measure(1, 1)
    assert qc.append(other, [2, 0, 1], [1, 2, 0]) == 0
    assert (qc.size(), other.size()) == (2, 3)
    # other's qubit 0 is qubit 2 (set), its qubit 1 is qubit 0, flipped by
    # the cx; their bits land in classical bits 1 and 2.
    assert run_sync(qc, 1).get_classicalregister() == "11X"
    assert qc.append(qc, [0, 1, 2], [0, 1, 2]) == 0       # a circuit onto itself


def test_compose_returns_the_same_object_or_none():
    qc = tl.QuantumCircuit(3)
    other = bell_pair_on_two()
    assert qc.compose(other) is qc
    assert other.size() == 2
    assert qc.compose(other, inplace=True) is None
    assert qc.size() == 2
    assert_state(qc, evolve(3, [(H, [0]), (controlled(X), [0, 1])] * 2))


def test_compose_maps_and_front():
    other = tl.QuantumCircuit(3)
    other.x(0)
    other.cx(0, 1)
    qc = tl.QuantumCircuit(3)
    qc.compose(other, qubits=[2, 0, 1])
    assert_state(qc, evolve(3, [(X, [2]), (controlled(X), [2, 0])]))
    front = tl.QuantumCircuit(1)
    front.x(0)
    hadamard = tl.QuantumCircuit(1)
    hadamard.h(0)
    front.compose(hadamard, front=True)                      # H first, then X
    assert_state(front, evolve(1, [(H, [0]), (X, [0])]))


@pytest.mark.parametrize("call, message", [
    (lambda qc, o: qc.append(tl.QuantumCircuit(4), [0, 1, 2], [0, 1, 2]), WIDER),
    (lambda qc, o: qc.compose(tl.QuantumCircuit(4)), WIDER),
    (lambda qc, o: qc.append(o, [0, 1], [0, 1]),
     "Either the qubit list or the classical bits list is not of the correct size"),
    (lambda qc, o: qc.append(o, [0, 1, 2], [0, 1]),
     "Either the qubit list or the classical bits list is not of the correct size"),
    (lambda qc, o: qc.append(o, [0, 1, 3], [0, 1, 2]), "The qubit list is incorrect"),
    (lambda qc, o: qc.append(o, [0, -1, 2], [0, 1, 2]), "The qubit list is incorrect"),
    (lambda qc, o: qc.append(o, [0, 1, 2], [0, 1, 7]), "Classical register list is incorrect"),
    (lambda qc, o: qc.compose(o, qubits=[0, 1]), "The qubit list is not of the correct size"),
    (lambda qc, o: qc.compose(o, qubits=[0, 1, 5]), "The qubit list is incorrect"),
    (lambda qc, o: qc.compose(o, qubits=[-1, 0, 1]), "The qubit list is incorrect"),
    (lambda qc, o: qc.compose(o, clbits=[0]),
     "The classical register list is not of the correct size"),
    (lambda qc, o: qc.compose(o, clbits=[0, 1, 9]), "The classical register list is incorrect"),
])
def test_checks_leave_the_circuit_unchanged(call, message):
    qc = tl.QuantumCircuit(3, 3)
    qc.h(0)
    other = bell_pair_on_two()
    with pytest.raises(RuntimeError, match=f"^{message}$"):
        call(qc, other)
    assert qc.size() == 1


# Several faults at once: the first check in the order of each method raises.
# append checks both lengths before any entry; compose checks the qubit list's
# length and entries before the classical-bit list.
@pytest.mark.parametrize("call, message", [
    (lambda qc, o: qc.append(tl.QuantumCircuit(4), [0], [0]), WIDER),
    (lambda qc, o: qc.append(o, [0, 1, 9], [0]),
     "Either the qubit list or the classical bits list is not of the correct size"),
    (lambda qc, o: qc.append(o, [0, 1, 9], [0, 1, 9]), "The qubit list is incorrect"),
    (lambda qc, o: qc.compose(tl.QuantumCircuit(4), qubits=[0]), WIDER),
    (lambda qc, o: qc.compose(o, qubits=[0, 1, 9], clbits=[0]), "The qubit list is incorrect"),
    (lambda qc, o: qc.compose(o, qubits=[0], clbits=[9]),
     "The qubit list is not of the correct size"),
    (lambda qc, o: qc.compose(o, clbits=[9]),
     "The classical register list is not of the correct size"),
])
def test_order_of_the_checks(call, message):
    qc = tl.QuantumCircuit(3, 3)
    other = bell_pair_on_two()
    with pytest.raises(RuntimeError, match=f"^{message}$"):
        call(qc, other)
    assert qc.size() == 0


@pytest.mark.parametrize("call", [
    lambda qc: qc.compose(None),
    lambda qc: qc.compose(other=None, front=True),
    lambda qc: qc.append(None, [], []),
    lambda qc: qc.append(qc=None, qubits_vector=[], cbits_vector=[]),
    lambda qc: qc.compose(tl.QuantumRegister(1, "r")),
    lambda qc: qc.compose(qc, qubits=[0.5, 1]),
    lambda qc: qc.compose(qc, front="yes"),
    lambda qc: qc.append(qc, [0, 1]),
])
def test_wrong_argument_types_raise_type_error(call):
    qc = tl.QuantumCircuit(2)
    with pytest.raises(TypeError):
        call(qc)
    assert qc.size() == 0
