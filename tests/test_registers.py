"""QuantumRegister, AncillaRegister and ClassicalRegister: counters, items,
names and the release of a register's Python object."""

import pytest

import TavironLib as tl

REGISTER_CLASSES = [(tl.QuantumRegister, "q"), (tl.AncillaRegister, "a"),
                    (tl.ClassicalRegister, "c")]


@pytest.mark.parametrize("cls, prefix", REGISTER_CLASSES)
def test_registers_take_consecutive_items_from_their_own_counter(cls, prefix):
    first = cls(3)
    second = cls(2, "second")
    base = first[0]
    assert list(first) == [base, base + 1, base + 2]
    assert list(second) == [base + 3, base + 4]
    assert (first.size(), len(first), first.name(), first.prefix()) == (3, 3, "", prefix)
    assert (second.size(), second.name()) == (2, "second")


def test_each_kind_counts_on_its_own():
    quantum = tl.QuantumRegister(5)
    ancilla = tl.AncillaRegister(1)
    classical = tl.ClassicalRegister(1)
    before_a, before_c = ancilla[0], classical[0]
    tl.QuantumRegister(4)
    assert tl.AncillaRegister(1)[0] == before_a + 1
    assert tl.ClassicalRegister(1)[0] == before_c + 1
    assert quantum.size() == 5


@pytest.mark.parametrize("cls, prefix", REGISTER_CLASSES)
def test_release_gives_the_size_back_to_the_counter(cls, prefix):
    reg = cls(3)
    first = reg[0]
    del reg
    assert cls(1)[0] == first


@pytest.mark.parametrize("cls, prefix", REGISTER_CLASSES)
def test_items_outside_the_register_raise_index_error(cls, prefix):
    reg = cls(2)
    for index in (2, -1, 2**31 - 1):
        with pytest.raises(IndexError):
            reg[index]
    assert len(list(cls(0))) == 0


@pytest.mark.parametrize("args", [(3.0,), (2**31,), ("3",), (3, 4), (), (1, "a", 2)])
def test_constructor_refuses_other_arguments(args):
    with pytest.raises(TypeError):
        tl.QuantumRegister(*args)


def test_arguments_are_positional_only():
    with pytest.raises(TypeError):
        tl.ClassicalRegister(size=2)
    with pytest.raises(TypeError):
        tl.AncillaRegister(2).__getitem__(index=0)
    with pytest.raises(TypeError):
        tl.QuantumRegister(2)[1.0]


def test_negative_size_is_kept():
    reg = tl.QuantumRegister(-1)
    assert reg.size() == -1
    with pytest.raises(ValueError):
        len(reg)
    assert next(iter(reg), None) is None


def test_names_are_texts():
    assert tl.QuantumRegister(1, b"bytes").name() == "bytes"
    assert tl.ClassicalRegister(1, bytearray(b"ba")).name() == "ba"
    with pytest.raises(UnicodeDecodeError):
        tl.AncillaRegister(1, b"\xff").name()


def test_building_a_circuit_renumbers_and_names_its_registers():
    qr = tl.QuantumRegister(2)
    ar = tl.AncillaRegister(1)
    cr = tl.ClassicalRegister(2)
    tl.QuantumCircuit(qr, ar, cr)
    assert list(qr) == [0, 1]
    assert ar[0] == 2
    assert list(cr) == [0, 1]
    assert qr.name().startswith("q") and ar.name().startswith("a")
    assert cr.name().startswith("c")


def test_register_kinds_are_not_interchangeable():
    qc = tl.QuantumCircuit(3)
    with pytest.raises(TypeError):
        qc.h(0).c_if(tl.QuantumRegister(1), 0)
