"""OpenQASM 2.0 between TavironLib and Qiskit, the most common other reader:
what QuantumCircuit.qasm writes loads with qiskit.qasm2.loads (reading the
extended qelib1.inc that exporters write, nothing beyond it) and with
TavironLib, and gives the state of the circuit that wrote it; what
qiskit.qasm2.dumps writes loads with TavironLib and gives Qiskit's state."""

import math

import numpy as np
import pytest

import TavironLib as tl
from circuit_reference import statevector

qasm2 = pytest.importorskip(
    "qiskit.qasm2",
    reason="Qiskit is not installed: it is the test-only peer of the OpenQASM tests "
           "(pip install -e '.[test]' or pip install qiskit)")
quantum_info = pytest.importorskip("qiskit.quantum_info")
qiskit = pytest.importorskip("qiskit")


def peer_loads(text):
    return qasm2.loads(text, custom_instructions=qasm2.LEGACY_CUSTOM_INSTRUCTIONS)


def peer_state(circuit):
    return np.asarray(quantum_info.Statevector(circuit).data)


def assert_same_state(got, expected, context=""):
    """The two state vectors agree to 1e-10 once the global phase is taken out."""
    k = int(np.argmax(np.abs(expected)))
    phase = got[k] / expected[k]
    assert abs(abs(phase) - 1) < 1e-10, context
    np.testing.assert_allclose(got, phase * expected, atol=1e-10, err_msg=context)


def assert_both_readers_agree(qc):
    """The text of qc reads in Qiskit and in TavironLib as qc's state, and
    TavironLib writes what it read as the same text."""
    text = qc.qasm()
    expected = statevector(qc)
    assert_same_state(peer_state(peer_loads(text)), expected, text)
    again = tl.qasm2().loads(text, strict=True)
    assert again.qasm() == text
    assert_same_state(statevector(again), expected, text)
    return text


def prepared(n):
    """n qubits in a generic entangled state."""
    qc = tl.QuantumCircuit(n, 0)
    for q in range(n):
        qc.h(q)
        qc.ry(0.3 + 0.41 * q, q)
    for q in range(n - 1):
        qc.cx(q, q + 1)
    for q in range(n):
        qc.rz(0.7 - 0.23 * q, q)
    return qc


A, B, C, D = 0.37, -1.21, 2.83, 0.05

# Every gate method that OpenQASM 2.0 expresses, called on scrambled operands.
GATE_CALLS = {
    **{name: (lambda name: lambda qc: getattr(qc, name)(2))(name)
       for name in ["h", "x", "y", "z", "s", "sdg", "t", "tdg", "sx", "sxdg", "i", "id"]},
    "h list": lambda qc: qc.h([2, 0]),
    "p": lambda qc: qc.p(A, 1),
    "r": lambda qc: qc.r(A, B, 3),
    "rv": lambda qc: qc.rv(A, B, C, 0),
    "rv about z": lambda qc: qc.rv(0.0, 0.0, C, 2),
    "rx": lambda qc: qc.rx(A, 1),
    "ry": lambda qc: qc.ry(B, 2),
    "rz": lambda qc: qc.rz(C, 3),
    "u": lambda qc: qc.u(A, B, C, 0),
    # Qiskit reads u0 as an idle time, which must be a whole number.
    "u0": lambda qc: qc.u0(3.0, 1),
    "u1": lambda qc: qc.u1(B, 2),
    "u2": lambda qc: qc.u2(A, C, 3),
    "u3": lambda qc: qc.u3(C, A, B, 0),
    **{name: (lambda name: lambda qc: getattr(qc, name)(3, 1))(name)
       for name in ["cx", "cnot", "cy", "cz", "ch", "cs", "csdg", "csx", "swap", "dcx", "ecr",
                    "iswap"]},
    **{name: (lambda name: lambda qc: getattr(qc, name)(B, 2, 0))(name)
       for name in ["cp", "crx", "cry", "crz", "cu1", "rxx", "ryy", "rzx", "rzz"]},
    "cu3": lambda qc: qc.cu3(A, B, C, 1, 3),
    "cu": lambda qc: qc.cu(A, B, C, D, 0, 2),
    **{name: (lambda name: lambda qc: getattr(qc, name)(3, 0, 2))(name)
       for name in ["ccx", "toffoli", "ccz", "cswap", "fredkin", "rccx"]},
    **{name: (lambda name: lambda qc: getattr(qc, name)(2, 4, 0, 1))(name)
       for name in ["rc3x", "rcccx", "c3x", "c3sqrtx"]},
    "c4x": lambda qc: qc.c4x(4, 1, 3, 0, 2),
    **{f"{name} {k} controls": (lambda name, k: lambda qc: getattr(qc, name)(A, [4, 0, 3][:k], 1))(name, k)
       for name in ["mcp", "mcrx", "mcry", "mcrz"] for k in (1, 2, 3)},
    **{f"mcx {k} controls": (lambda k: lambda qc: qc.mcx([4, 0, 3, 2][:k], 1))(k)
       for k in (1, 2, 3, 4)},
    "mct": lambda qc: qc.mct([0, 2], 4),
    "gms": lambda qc: qc.gms(A, [3, 0, 2]),
    "ms": lambda qc: qc.ms(B, [1, 4]),
    "pauli": lambda qc: qc.pauli([0, 3, 1, 2], "XIZY"),
}


@pytest.mark.parametrize("name", GATE_CALLS)
def test_every_gate_method_reads_back_in_both_readers(name):
    qc = prepared(5)
    GATE_CALLS[name](qc)
    assert_both_readers_agree(qc)


def test_all_gates_in_one_circuit_and_inside_a_composite():
    inner = prepared(5)
    for call in GATE_CALLS.values():
        call(inner)
    inner_text = assert_both_readers_agree(inner)
    assert inner_text.count("\ngate ecr ") == 1
    outer = prepared(5)
    outer.compose(inner, [3, 1, 4, 0, 2], [], False, True)
    assert_both_readers_agree(outer)


def composite(n, label, build=lambda sub: sub.h(0)):
    sub = tl.QuantumCircuit(n, 0, label)
    build(sub)
    return sub


@pytest.mark.parametrize("label", [
    "Gms", "Pauli", "Sub", "U", "CX", "h", "gate", "pi", "q", "two words", "3way", "_x",
    "dcx", "rzx", "r", "ecr", "delay", "ccx", "crx", "c4x", "u0",
])
def test_composites_under_hostile_names(label):
    qc = prepared(5)
    # Bodies that differ from the gates of those names, with a parameter.
    qc.compose(composite(5, label, lambda sub: (sub.rx(A, 3), sub.cz(0, 4), sub.dcx(1, 2))),
               [], [], False, True)
    qc.compose(composite(5, label, lambda sub: sub.ecr(4, 3)), [], [], False, True)
    qc.mcp(C, [1, 2], 0, label)
    qc.gms(B, [0, 1, 2], label)
    qc.rccx(0, 3, 4, label)
    assert_both_readers_agree(qc)


def test_a_composite_never_takes_the_name_of_a_gate_the_text_calls():
    qc = tl.QuantumCircuit(2)
    qc.h(0)
    qc.ry(A, 1)
    sub = tl.QuantumCircuit(2, name="dcx")
    sub.h(0)
    qc.compose(sub)
    qc.dcx(0, 1)
    text = assert_both_readers_agree(qc)
    assert "\ndcx q" in text and "gate dcx " in text


@pytest.mark.parametrize("names", [
    ["a[1];\nx r[0];\nqreg b", "c) x q[0]; if (c"],
    ["Q", "C"],
    ["h", "measure"],
    ["q_a", "p_a"],
    ["ecr", "pi"],
    ["r0 1", "r0_1"],
])
def test_registers_under_hostile_names(names):
    quantum, classical = names
    q = tl.QuantumRegister(3, quantum)
    extra = tl.QuantumRegister(2, "q_b")
    c = tl.ClassicalRegister(5, classical)
    qc = tl.QuantumCircuit(q, extra, c)
    qc.h(0)
    qc.cx(0, 3)
    qc.ry(A, 4)
    qc.rzx(B, 4, 1)
    qc.mcp(C, [0, 1], 2)
    qc.compose(composite(5, "inner", lambda sub: sub.cswap(4, 0, 1)), [], [], False, True)
    text = assert_both_readers_agree(qc)
    # Measurements and a register condition read in Qiskit too.
    qc.measure(1, 4)
    qc.x(2).c_if(c, 1)
    qc.measure_all()
    text = qc.qasm()
    peer = peer_loads(text)
    assert peer.num_qubits == 5 and peer.num_clbits == 5
    assert sum(1 for item in peer.data if item.operation.name == "measure") == 6
    assert tl.qasm2().loads(text).qasm() == text


def test_single_bit_conditions_are_a_form_of_tavironlib_only():
    qc = tl.QuantumCircuit(2, 2)
    qc.measure(0, 0)
    qc.x(1).c_if(0, 1)
    text = qc.qasm()
    assert "if (c" in text and "[0]  == 1) x " in text
    assert tl.qasm2().loads(text).qasm() == text
    with pytest.raises(qasm2.QASM2ParseError):
        peer_loads(text)


def peer_circuit():
    """A Qiskit circuit with the gates outside qelib1.inc and gates of its own."""
    from qiskit.circuit import Parameter
    from qiskit.circuit.library import CSGate, CSdgGate, RGate
    qc = qiskit.QuantumCircuit(4)
    for q in range(4):
        qc.h(q)
        qc.ry(0.2 + 0.3 * q, q)
    qc.cx(0, 3)
    qc.ecr(0, 1)
    qc.rzx(A, 2, 0)
    qc.dcx(1, 3)
    qc.iswap(3, 0)
    qc.ryy(B, 1, 2)
    qc.append(RGate(C, D), [3])
    qc.append(CSGate(), [2, 1])
    qc.append(CSdgGate(), [0, 2])
    sub = qiskit.QuantumCircuit(2, name="mygate")
    sub.h(0)
    sub.cx(0, 1)
    sub.rz(0.25, 1)
    qc.append(sub.to_gate(), [2, 0])
    theta = Parameter("theta")
    rotation = qiskit.QuantumCircuit(2, name="rot")
    rotation.rx(theta, 0)
    rotation.cz(0, 1)
    qc.append(rotation.assign_parameters({theta: 0.9}).to_gate(), [3, 1])
    qc.append(rotation.assign_parameters({theta: -0.4}).to_gate(), [1, 0])
    return qc


def test_text_written_by_the_peer_reads_as_its_circuit():
    peer = peer_circuit()
    text = qasm2.dumps(peer)
    for gate in ["ecr", "rzx", "dcx", "iswap", "ryy", "r", "cs", "csdg", "mygate"]:
        assert f"gate {gate}" in text
    read = tl.qasm2().loads(text)
    assert_same_state(statevector(read), peer_state(peer), text)
    # The gates TavironLib knows are its own records, written as such.
    written = read.qasm()
    for call in ["ecr q[0], q[1];", "rzx(0.37) q[2], q[0];", "dcx q[1], q[3];"]:
        assert "\n" + call in written
    assert_same_state(peer_state(peer_loads(written)), peer_state(peer), written)
