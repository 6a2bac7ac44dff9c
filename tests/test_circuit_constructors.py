"""QuantumCircuit: constructor dispatch, properties and the class itself."""

import pytest

import TavironLib as tl
from circuit_reference import expected_doc

Q = tl.QuantumCircuit


def props(qc):
    return (qc.num_qubits, qc.num_ancillas, qc.num_clbits, qc.header, qc.instances,
            qc.global_phase, qc.prefix)


# constructor arguments -> (num_qubits, num_ancillas, num_clbits)
COUNT_CASES = [
    ((2,), {}, (2, 0, 2)),
    ((2, 2), {}, (2, 0, 2)),
    ((2, 1), {}, (2, 0, 1)),
    ((2, 0), {}, (2, 0, 0)),
    ((2, "x"), {}, (2, 0, 2)),                 # form 1 refuses the str, form 2 names
    ((1,), {}, (1, 0, 1)),
    ((100,), {}, (100, 0, 100)),
    ((100, 100), {}, (100, 0, 100)),
    ((1, 0), {}, (1, 0, 0)),
    ((3, 3, "n", 0.25, {"k": 1}), {}, (3, 0, 3)),
    ((3,), {"name": "n", "global_phase": 1, "metadata": {}}, (3, 0, 3)),
    ((True,), {}, (1, 0, 1)),
]


@pytest.mark.parametrize("args, kwargs, counts", COUNT_CASES)
def test_count_constructors(args, kwargs, counts):
    qc = Q(*args, **kwargs)
    assert (qc.num_qubits, qc.num_ancillas, qc.num_clbits) == counts


def test_new_circuit_properties_and_their_types():
    qc = Q(3, 2, global_phase=0.5)
    assert props(qc) == (3, 0, 2, "OPENQASM 2.0;", 153, 0.5, "circuit")
    assert Q(1).global_phase == 0.0
    assert [type(v) for v in props(qc)] == [int, int, int, str, int, float, str]


def test_register_constructor_and_write_back():
    qr1 = tl.QuantumRegister(2, "first")
    qr2 = tl.QuantumRegister(3, "second")
    anc = tl.AncillaRegister(1, "anc")
    cr = tl.ClassicalRegister(2, "cl")
    qc = Q(qr1, anc, qr2, cr, name="regs")
    assert (qc.num_qubits, qc.num_ancillas, qc.num_clbits) == (5, 1, 6)
    assert (qr1[0], qr2[0], anc[0], cr[0]) == (0, 2, 5, 0)
    qc2 = Q(tl.QuantumRegister(2, "q"), tl.ClassicalRegister(2, "c"))
    assert (qc2.num_qubits, qc2.num_clbits) == (2, 2)


def test_unnamed_register_gets_the_circuit_name():
    qr = tl.QuantumRegister(2, "")
    Q(qr)
    assert qr.name().startswith("q")


@pytest.mark.parametrize("args, kwargs, message", [
    ((3, 4), {}, "Invalid number of classical bits passed."),
    ((100, 101), {}, "Invalid number of classical bits passed."),
    ((0,), {}, "Invalid number of qubits passed."),
    ((101,), {}, "Invalid number of qubits passed."),
    ((200,), {}, "Invalid number of qubits passed."),
    ((2 ** 63,), {}, "Invalid number of qubits passed."),
    ((0, 0), {}, "Invalid number of qubits passed."),
    ((0, 7), {}, "Invalid number of qubits passed."),
    ((101, 1), {}, "Invalid number of qubits passed."),
    ((200, 200), {}, "Invalid number of qubits passed."),
    ((), {}, "Invalid number of qubits passed."),
    ((tl.ClassicalRegister(2, "only"),), {}, "Invalid number of qubits passed."),
    ((tl.QuantumRegister(101, "big"),), {}, "Invalid number of qubits passed."),
    ((-1,), {}, "Invalid argument passed to constructor."),
    ((2 ** 64,), {}, "Invalid argument passed to constructor."),
    ((2, 2.0), {}, "Invalid argument passed to constructor."),
    ((2.0,), {}, "Invalid argument passed to constructor."),
    ((tl.QuantumRegister(1, "r"), "x"), {}, "Invalid argument passed to constructor."),
    ((None,), {}, "Invalid argument passed to constructor."),
])
def test_constructor_value_errors(args, kwargs, message):
    with pytest.raises(ValueError, match=f"^{message}$"):
        Q(*args, **kwargs)


@pytest.mark.parametrize("args, kwargs", [
    ((2,), {"colour": 1}),
    ((2,), {"name": 5}),
    ((2,), {"global_phase": "0"}),
    ((2,), {"metadata": None}),
    ((2,), {"metadata": []}),
])
def test_constructor_type_errors(args, kwargs):
    with pytest.raises(TypeError):
        Q(*args, **kwargs)


def test_register_form_takes_keywords_only_after_the_registers():
    qr = tl.QuantumRegister(2, "kw")
    qc = Q(qr, name="x", global_phase=0.125, metadata={"a": 1})
    assert (qc.num_qubits, qc.global_phase) == (2, 0.125)


def test_constructor_docstring():
    forms = [
        "(self: TavironLib.QuantumCircuit, num_qubits: int, num_cbits: int, name: str = '', "
        "global_phase: float = 0.0, metadata: dict = {}) -> None",
        "(self: TavironLib.QuantumCircuit, num_qubits: int, name: str = '', "
        "global_phase: float = 0.0, metadata: dict = {}) -> None",
        "(self: TavironLib.QuantumCircuit, *args, name: str = '', global_phase: float = 0.0, "
        "metadata: dict = {}) -> None",
    ]
    doc = Q.__init__.__doc__
    expected = "__init__(*args, **kwargs)\nOverloaded function.\n\n" + "\n".join(
        f"{n}. __init__{f}\n" for n, f in enumerate(forms, 1))
    assert doc == expected


def test_properties_are_read_only_and_survive_clear():
    qc = Q(3, 2, "n", 0.75)
    before = props(qc)
    for name in ["num_qubits", "num_ancillas", "num_clbits", "header", "instances",
                 "global_phase", "prefix"]:
        with pytest.raises(AttributeError):
            setattr(qc, name, getattr(qc, name))
        assert not getattr(Q, name).__doc__
    with pytest.raises(AttributeError):
        qc.anything_else = 1
    qc.h(0)
    qc.clear()
    assert props(qc) == before


def test_class_shape_and_registration_order():
    assert Q.__doc__ is None
    assert Q.__base__.__name__ == "pybind11_object"
    assert not issubclass(Q, tl.Gate)
    names = [n for n in vars(Q) if not n.startswith("__")]
    assert names[:7] == ["num_qubits", "num_ancillas", "num_clbits", "header", "instances",
                         "global_phase", "prefix"]
    methods = names[7:]
    assert methods[:12] == ["h", "x", "i", "id", "t", "s", "tdg", "sdg", "sx", "sxdg", "y", "z"]
    assert methods[12:23] == ["p", "r", "rv", "rx", "ry", "rz", "u", "u0", "u1", "u2", "u3"]
    assert methods[23:46] == [
        "cx", "cy", "cz", "ch", "cnot", "cp", "cs", "csdg", "csx", "crx", "cry", "crz", "cu",
        "dcx", "ecr", "iswap", "rxx", "ryy", "rzx", "rzz", "swap", "cu1", "cu3"]
    assert methods[46:63] == [
        "ccx", "ccz", "cswap", "fredkin", "rccx", "barrier", "measure_active", "measure_all",
        "measure", "pauli", "depth", "width", "clear", "size", "reset", "qasm", "draw"]
    assert methods[63:] == ["mcp", "mcrx", "mcry", "mcrz", "mct", "mcx", "ms", "gms", "rcccx", "rc3x",
                    "toffoli", "c3sqrtx", "c3x", "c4x", "append", "compose"]


def test_methods_refuse_none_and_other_objects_as_self():
    for call in [lambda: Q.h(None, 0), lambda: Q.depth(None), lambda: Q.size(None),
                 lambda: Q.clear(None), lambda: Q.measure_all(None),
                 lambda: Q.h(tl.QuantumRegister(1, "s"), 0)]:
        with pytest.raises(TypeError):
            call()


def circuit_without_native_object():
    """An instance whose __init__ never ran."""
    return Q.__new__(Q)


def circuit_whose_init_failed():
    qc = Q.__new__(Q)
    with pytest.raises(ValueError):
        qc.__init__(3, 4)
    return qc


@pytest.mark.parametrize("make", [circuit_without_native_object, circuit_whose_init_failed])
def test_instances_holding_no_circuit_match_no_overload(make):
    empty = make()
    whole = Q(2)
    for call in [lambda: empty.h(0), lambda: empty.depth(), lambda: empty.measure_all(),
                 lambda: empty.num_qubits, lambda: empty.header,
                 lambda: whole.compose(empty), lambda: whole.append(empty, [0, 1], [0, 1])]:
        with pytest.raises(TypeError):
            call()
    assert whole.size() == 0
    # A register instance holding no register is no register argument either.
    no_register = tl.QuantumRegister.__new__(tl.QuantumRegister)
    with pytest.raises(TypeError):
        whole.h(qr=no_register)
    with pytest.raises(ValueError, match="^Invalid argument passed to constructor.$"):
        Q(no_register)


def test_handles_outlive_their_circuit():
    qc = Q(2)
    gate = qc.x([0, 1])
    del qc
    gate.c_if(0, 1)           # the records stay valid without their circuit
    assert type(gate) is tl.XGate


def test_single_overload_docstring_example():
    assert Q.depth.__doc__ == expected_doc(
        "depth", [("(self: TavironLib.QuantumCircuit) -> int", "Obtains the depth of the circuit")])
