"""OpenQASM 2.0 from Python: QuantumCircuit.qasm and the qasm2 reader."""

import math

import numpy as np
import pytest

import TavironLib as tl
from circuit_reference import H, X, assert_state, controlled, evolve, phase, run_sync, rx, rz

EMPTY_ONE_QUBIT_TEXT_TAIL = (
    'include "qelib1.inc";\n\n// Register definitions\nqreg {q}[1];\ncreg {c}[1];\n\n'
    "// Instructions\n")


def named_circuit():
    q = tl.QuantumRegister(2, "q")
    c = tl.ClassicalRegister(2, "c")
    return tl.QuantumCircuit(q, c)


def test_qasm_of_a_new_circuit_returns_the_header_and_registers_only():
    qc = named_circuit()
    assert qc.qasm() == ('OPENQASM 2.0;\ninclude "qelib1.inc";\n\n// Register definitions\n'
                         "qreg q[2];\ncreg c[2];\n\n// Instructions\n")


def test_qasm_printing_saving_and_encoding(tmp_path, capsys):
    qc = named_circuit()
    qc.h(0)
    qc.cx(0, 1)
    text = qc.qasm()
    assert capsys.readouterr().out == ""
    assert qc.qasm(True) == ""
    assert capsys.readouterr().out == text + "\n"
    path = tmp_path / "bell.qasm"
    assert qc.qasm(filename=str(path)) == text
    assert path.read_bytes() == text.encode()
    assert qc.qasm(encoding="latin-1") == text
    # A file that cannot be created raises, naming it.
    missing = str(tmp_path / "missing" / "x.qasm")
    with pytest.raises(RuntimeError, match="^Can't write the OpenQASM text to the file " + missing):
        qc.qasm(filename=missing)


def test_qasm_docstring():
    assert tl.QuantumCircuit.qasm.__doc__ == (
        "qasm(self: TavironLib.QuantumCircuit, formatted: bool = False, filename: str = '', "
        "encoding: str = '') -> str\n\nObtains a QASM 2.0 equivalent code for the quantum circuit\n")


def test_reader_docstrings():
    tail = ("include_path: str = '', include_input_directory: str = 'append', "
            "strict: bool = False) -> QuantumCircuit\n\n")
    assert tl.qasm2.load.__doc__ == (
        "load(self: TavironLib.qasm2, filename: str, " + tail + "Loads a QASM2 file\n")
    assert tl.qasm2.loads.__doc__ == (
        "loads(self: TavironLib.qasm2, qasm2string: str, " + tail
        + "Loads QASM2 instructions form a character string\n")


PROGRAM = """OPENQASM 2.0;
include "qelib1.inc";
// two user gates, one with a parameter
gate bell a, b { h a; cx a, b; }
gate rot(theta) a { rx(theta) a; rz(theta/2) a; }
qreg q[3];
bell q[0], q[1];
rot(pi/3) q[2];
cu1(pi/4) q[1], q[2];
"""


def test_loaded_program_runs_to_the_exact_state():
    qc = tl.qasm2().loads(PROGRAM)
    assert isinstance(qc, tl.QuantumCircuit)
    expected = evolve(3, [(H, [0]), (controlled(X), [0, 1]), (rx(math.pi / 3), [2]),
                          (rz(math.pi / 6), [2]), (controlled(phase(math.pi / 4)), [1, 2])])
    assert_state(qc, expected)


def test_written_text_reads_back_to_the_same_text(tmp_path):
    qc = named_circuit()
    qc.h(0)
    qc.rx(0.25, 1)
    qc.cx(0, 1)
    qc.measure(0, 0)
    qc.x(1).c_if(0, 1)
    qc.measure(1, 1)
    text = qc.qasm()
    reader = tl.qasm2()
    assert reader.loads(text).qasm() == text
    path = tmp_path / "circuit.qasm"
    path.write_text(text.replace("\n", "\r\n"), newline="")
    assert reader.load(str(path)).qasm() == text


def test_loaded_circuit_samples_like_the_written_one():
    text = ('OPENQASM 2.0;\ninclude "qelib1.inc";\nqreg q[2];\ncreg c[2];\n'
            "h q[0];\ncx q[0], q[1];\nmeasure q -> c;\n")
    counts = run_sync(tl.qasm2().loads(text), 200).get_counts()
    assert set(counts) <= {"00", "11"} and sum(counts.values()) == 200


@pytest.mark.parametrize("program, strict, message", [
    ('OPENQASM 2.0;\ninclude "qelib1.inc";\nqreg q[1];\nh q[3];\n', False,
     "Error Number is out of range in line 4 at 6"),
    ("qreg q[2];\ncx q[0];\n", False, "Error Invalid parameter in line 2 at 9"),
    ("qreg q[2];\nfoo q[0];\n", False, "Error User defined gate not found in line 2 at 10"),
    ("OPENQASM 2.0;\nqreg q[1];\n", True, 'Default include file "qelib1.inc" is not included.\n'),
])
def test_refused_programs_raise_the_reader_message(program, strict, message):
    with pytest.raises(RuntimeError) as error:
        tl.qasm2().loads(program, strict=strict)
    assert str(error.value) == message


def test_reader_errors_leave_the_reader_usable():
    reader = tl.qasm2()
    with pytest.raises(RuntimeError, match="Can't open the given file."):
        reader.load("/nonexistent/file.qasm")
    with pytest.raises(RuntimeError):
        reader.loads("qreg q[1];\nfoo q[0];\n")
    assert reader.loads("qreg q[1];\nh q[0];\n").size() == 1


def test_each_load_returns_a_new_circuit():
    reader = tl.qasm2()
    first = reader.loads("qreg q[1];\nx q[0];\n")
    second = reader.loads("qreg q[1];\nx q[0];\n")
    assert first is not second
    first.h(0)
    assert (first.size(), second.size()) == (2, 1)
    np.testing.assert_allclose(np.abs(run_sync(second, 1).get_statevector()), [0, 1], atol=1e-12)
