"""Circuits built from every gate method that OpenQASM 2.0 can express go
through QuantumCircuit.qasm and qasm2.loads and come back as the same
circuit: the same text when written again, and the same state."""

import math

import numpy as np
import pytest

import TavironLib as tl
from circuit_reference import statevector

ANGLES = [0.1, -math.pi / 4, 1.0 / 3.0, 2.5e-7, math.pi, 12345.678901234567]


def one_qubit_gates(qc):
    for name in ["h", "x", "y", "z", "s", "sdg", "t", "tdg", "sx", "sxdg", "i", "id"]:
        getattr(qc, name)(1)
    qc.p(ANGLES[0], 0)
    qc.rx(ANGLES[1], 1)
    qc.ry(ANGLES[2], 2)
    qc.rz(ANGLES[3], 3)
    qc.u(ANGLES[0], ANGLES[2], ANGLES[5], 0)
    qc.u0(ANGLES[4], 1)
    qc.u1(ANGLES[5], 2)
    qc.u2(ANGLES[1], ANGLES[3], 3)
    qc.u3(ANGLES[2], ANGLES[4], ANGLES[0], 0)


def two_qubit_gates(qc):
    for name in ["cx", "cnot", "cy", "cz", "ch", "csx", "swap", "ecr"]:
        getattr(qc, name)(0, 2)
    qc.cp(ANGLES[0], 1, 3)
    qc.crx(ANGLES[1], 3, 0)
    qc.cry(ANGLES[2], 2, 1)
    qc.crz(ANGLES[3], 0, 3)
    qc.cu1(ANGLES[5], 1, 2)
    qc.cu3(ANGLES[0], ANGLES[1], ANGLES[2], 3, 1)
    qc.cu(ANGLES[0], ANGLES[1], ANGLES[2], ANGLES[3], 2, 0)
    qc.rxx(ANGLES[2], 0, 1)
    qc.rzz(ANGLES[5], 2, 3)


def multi_qubit_gates(qc):
    qc.ccx(0, 1, 2)
    qc.toffoli(3, 1, 0)
    qc.cswap(0, 2, 3)
    qc.fredkin(1, 2, 3)
    qc.rccx(2, 0, 1)
    qc.rc3x(0, 1, 2, 3)
    qc.c3x(3, 2, 1, 0)
    qc.c3sqrtx(0, 1, 2, 3)
    qc.ccz(0, 1, 3)


def composites(qc):
    # Composites of the same name with other angles or other qubits.
    qc.mcp(ANGLES[0], [0, 1], 2)
    qc.mcp(ANGLES[1], [0, 1], 2)
    qc.mcp(ANGLES[0], [3, 1], 0)
    qc.mcrx(ANGLES[2], [0], 3)
    qc.mcry(ANGLES[3], [1, 2], 0)
    qc.mcrz(ANGLES[5], [0, 1, 2], 3)
    qc.mcx([0, 1, 2], 3)
    qc.gms(ANGLES[0], [0, 1, 2])
    # A user's circuit attached twice on other qubits, and a nested one.
    inner = tl.QuantumCircuit(4, 0, "inner")
    inner.h(0)
    inner.cx(0, 3)
    qc.compose(inner, [0, 1, 2, 3], [], False, True)
    qc.compose(inner, [3, 2, 1, 0], [], False, True)
    outer = tl.QuantumCircuit(4, 0, "outer")
    outer.rz(ANGLES[1], 1)
    outer.compose(inner, [1, 0, 3, 2], [], False, True)
    qc.compose(outer, [0, 1, 2, 3], [], False, True)


def with_user_gates_read_from_text():
    return tl.qasm2().loads(
        'OPENQASM 2.0;\ninclude "qelib1.inc";\nqreg q[3];\nqreg anc_0[1];\ncreg c[4];\n'
        "gate my_rot(theta, phi) a, b { u3(theta, phi, 0) a; cx a, b; rz(theta / 3) b; }\n"
        "gate bell a, b { h a; cx a, b; }\n"
        "my_rot(0.3, pi / 7) q[0], anc_0[0];\nmy_rot(0.3, pi / 7) q[2], q[1];\n"
        "my_rot(1.0e-3, -2.5) q[1], q[2];\nbell q[2], anc_0[0];\n")


def builder_circuit(*builders):
    def make():
        qc = tl.QuantumCircuit(4)
        for build in builders:
            build(qc)
        return qc
    return make


CIRCUITS = {
    "one-qubit gates": builder_circuit(one_qubit_gates),
    "two-qubit gates": builder_circuit(one_qubit_gates, two_qubit_gates),
    "multi-qubit gates": builder_circuit(one_qubit_gates, multi_qubit_gates),
    "composites": builder_circuit(one_qubit_gates, composites),
    "user gates read from text": with_user_gates_read_from_text,
}


@pytest.mark.parametrize("name", CIRCUITS)
def test_circuit_reads_back_as_written(name):
    original = CIRCUITS[name]()
    text = original.qasm()
    read_back = tl.qasm2().loads(text, strict=True)
    assert read_back.qasm() == text
    np.testing.assert_allclose(statevector(read_back), statevector(original), atol=1e-12)


def test_measure_reset_barrier_and_conditions_read_back():
    q = tl.QuantumRegister(3, "q")
    c = tl.ClassicalRegister(3, "c")
    qc = tl.QuantumCircuit(q, c)
    qc.h(0)
    qc.barrier()
    qc.measure(0, 0)
    qc.x(1).c_if(c, 1)
    qc.rx(0.5, 2).c_if(0, 1)
    qc.mcp(0.25, [0, 1], 2).c_if(c, 3)
    qc.reset(0)
    qc.measure(1, 1)
    qc.measure(2, 2)
    text = qc.qasm()
    assert "barrier q[0];" in text and "if (c == 1) x q[1];" in text
    read_back = tl.qasm2().loads(text)
    assert read_back.qasm() == text
    counts = tl.BackendV2().run(read_back, shots=200, mode="sync", quiet=True).result().get_counts()
    # Qubit 0 was measured 1 in about half the shots; then x and rx ran.
    assert sum(counts.values()) == 200
    for bits in counts:
        assert bits[-1] == bits[-2] or bits[-1] == "0"


def test_parameters_read_back_as_the_same_double():
    values = [0.1, 1.0 / 3.0, math.pi / 3, -math.pi / 8, 2 * math.pi, 1e-300, -7.25e20, 5e-324]
    qc = tl.QuantumCircuit(1)
    for value in values:
        qc.rz(value, 0)
    text = qc.qasm()
    assert "rz(pi/3) q" in text and "rz(-pi/8) q" in text
    assert tl.qasm2().loads(text).qasm() == text
    lines = [line for line in text.splitlines() if line.startswith("rz(")]
    read = [eval(line[3:line.index(")")].replace("pi", repr(math.pi))) for line in lines]
    assert read == values


def test_non_finite_parameter_is_refused_by_the_writer():
    qc = tl.QuantumCircuit(1)
    qc.rz(float("nan"), 0)
    with pytest.raises(RuntimeError, match="^Gate rz has the parameter"):
        qc.qasm()
