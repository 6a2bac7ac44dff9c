"""Gate and its handle classes: construction and both forms of c_if, seen
through runs of the conditioned records."""

import re

import pytest

import TavironLib as tl

GATE_CLASS_NAMES = [name for name, value in vars(tl).items()
                    if isinstance(value, type) and value is not tl.Gate
                    and issubclass(value, tl.Gate)]


def test_gate_has_no_constructor():
    with pytest.raises(TypeError, match=r"^TavironLib\.Gate: No constructor defined!$"):
        tl.Gate()


@pytest.mark.parametrize("name", GATE_CLASS_NAMES)
def test_each_handle_class_constructs_an_empty_handle(name):
    cls = getattr(tl, name)
    handle = cls()
    assert isinstance(handle, tl.Gate)
    assert handle.c_if(0, 1) is None
    assert handle.c_if(tl.ClassicalRegister(1), 1) is None
    with pytest.raises(TypeError):
        cls("label")


def test_gate_methods_return_their_own_class():
    qc = tl.QuantumCircuit(2)
    first, second = qc.h(0), qc.h(0)
    assert type(first) is tl.HGate and first is not second
    assert type(qc.rv(0.1, 0.2, 0.3, 0)).__name__ == "RvGate"
    del first
    assert qc.size() == 3


def measured_bit_after_condition(condition):
    """Measures qubit 0 (always 0) into bit 0, then applies X to qubit 1
    under the given condition and measures it into bit 1: returns bit 1.
    The condition is given the gate and the circuit's classical register,
    whose bit 1 reads 0 until it is measured."""
    cr = tl.ClassicalRegister(2)
    qc = tl.QuantumCircuit(tl.QuantumRegister(2), cr)
    qc.measure(0, 0)
    condition(qc.x(1), cr)
    qc.measure(1, 1)
    job = tl.BackendV2().run(qc, shots=1, mode="sync")
    return job.result().get_counts()


@pytest.mark.parametrize("condition, applied", [
    (lambda g, cr: None, True),
    (lambda g, cr: g.c_if(0, 0), True),
    (lambda g, cr: g.c_if(0, 1), False),
    (lambda g, cr: g.c_if(clbit=0, val=1), False),
    (lambda g, cr: g.c_if(val=0, clbit=0), True),
    (lambda g, cr: g.c_if(cr, 0), True),
    (lambda g, cr: g.c_if(cr=cr, val=1), False),
    # The last condition wins, whatever its form.
    (lambda g, cr: (g.c_if(cr, 1), g.c_if(0, 0)), True),
    (lambda g, cr: (g.c_if(0, 0), g.c_if(cr, 1)), False),
])
def test_conditions_reach_the_records(condition, applied):
    assert measured_bit_after_condition(condition) == {"10" if applied else "00": 1}


@pytest.mark.parametrize("condition, message", [
    (lambda g: g.c_if(64, 1), "Invalid Classical Bit Index: 64"),
    (lambda g: g.c_if(2, 0), "Invalid Classical Bit Index: 2"),
    (lambda g: g.c_if(clbit=2**64 - 1, val=0), "Invalid Classical Bit Index: 18446744073709551615"),
    (lambda g: g.c_if(tl.ClassicalRegister(1), 0),
     "Invalid Classical Register: an unnamed register is not a classical register of the circuit"),
    (lambda g: g.c_if(tl.ClassicalRegister(2, "c9"), 1),
     "Invalid Classical Register: c9 is not a classical register of the circuit"),
])
def test_conditions_on_what_the_circuit_does_not_have_are_refused_at_once(condition, message):
    qc = tl.QuantumCircuit(2, 2)
    gate = qc.x(1)
    with pytest.raises(RuntimeError, match=f"^{re.escape(message)}$"):
        condition(gate)
    # Nothing was conditioned: the circuit still runs, draws and writes.
    qc.measure(1, 1)
    assert tl.BackendV2().run(qc, shots=1, mode="sync").result().get_counts() == {"1": 1}
    assert "if" not in qc.qasm()


@pytest.mark.parametrize("args", [(-1, 0), (0, -1), (0, 1.0), (None, 0), (2**64, 0),
                                  (0, 2**64), ("0", 0)])
def test_c_if_refuses_values_that_no_form_takes(args):
    with pytest.raises(TypeError):
        tl.HGate().c_if(*args)


def test_c_if_accepts_the_full_unsigned_range():
    assert tl.XGate().c_if(2**64 - 1, 2**64 - 1) is None


def test_c_if_refuses_wrong_keywords():
    with pytest.raises(TypeError):
        tl.HGate().c_if(clbit=0)
    with pytest.raises(TypeError):
        tl.HGate().c_if(cr=tl.ClassicalRegister(1), clbit=0, val=0)
    with pytest.raises(TypeError):
        tl.HGate().c_if(bit=0, val=0)


def test_conditions_stay_after_the_handle_and_register_are_released():
    cr = tl.ClassicalRegister(2)
    qc = tl.QuantumCircuit(tl.QuantumRegister(2), cr)
    qc.measure(0, 0)
    qc.x(1).c_if(cr, 1)
    del cr
    qc.measure(1, 1)
    job = tl.BackendV2().run(qc, shots=1, mode="sync")
    assert job.result().get_counts() == {"00": 1}


def test_a_handle_outlives_its_circuit():
    qc = tl.QuantumCircuit(1)
    handle = qc.h(0)
    qc.clear()
    del qc
    assert handle.c_if(0, 0) is None
