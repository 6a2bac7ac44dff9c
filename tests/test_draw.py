"""QuantumCircuit.draw: the text drawing printed row by row, and its file."""

import pytest

import TavironLib as tl

BELL_WITH_CONDITION = [
    "       ┌───┐ ╎      ┌───┐            ",
    "q[0]: ■┤ H ├─╎───■──┤ M ├─────────── ",
    "       └───┘ ╎ ┌─┴─┐└─╥─┘┌───┐       ",
    "q[1]: ■──────╎─┤ X ├──║──┤ X ├────── ",
    "             ╎ └───┘  ║  └─┬─┘       ",
    "c: 2/ ■═══════════════╩════╧════════ ",
    "                      0    c[0] == 1 ",
]


def circuit():
    qc = tl.QuantumCircuit(tl.QuantumRegister(2, "q"), tl.ClassicalRegister(2, "c"))
    qc.h(0)
    qc.barrier()
    qc.cx(0, 1)
    qc.measure(0, 0)
    qc.x(1).c_if(0, 1)
    return qc


def printed_rows(capsys, **kwargs):
    assert circuit().draw(**kwargs) is None
    return capsys.readouterr().out.split("\n")[:-1]


def test_drawing_is_printed_row_by_row(capsys):
    assert printed_rows(capsys) == BELL_WITH_CONDITION


def test_arguments_without_effect_leave_the_drawing_alone(capsys):
    assert printed_rows(capsys, output="mpl", scale=2.0, reverse_bits=True, justify="right",
                        idle_wires=False, style={"x": 1}, wire_order=[1, 0]) == BELL_WITH_CONDITION


def test_barriers_can_be_left_out(capsys):
    rows = printed_rows(capsys, plot_barriers=False)
    assert not any("╎" in row for row in rows)
    assert rows[1] == "q[0]: ■┤ H ├──■──┤ M ├─────────── "


def test_narrow_fold_breaks_the_drawing_into_segments(capsys):
    rows = printed_rows(capsys, fold=30)
    assert len(rows) == 14
    assert all(row.endswith("»") for row in rows[:7])
    assert all(row.startswith("«") for row in rows[7:])


def test_drawing_file_is_utf16le_with_a_byte_order_mark(tmp_path, capsys):
    path = tmp_path / "drawing.txt"
    rows = printed_rows(capsys, filename=str(path))
    data = path.read_bytes()
    assert data[:2] == b"\xff\xfe"
    assert data[2:].decode("utf-16-le") == "".join(row + "\n" for row in rows)


def test_unopenable_file_fails_before_anything_is_printed(tmp_path, capsys):
    with pytest.raises(RuntimeError, match="^Unable to open file for writing circuit$"):
        circuit().draw(filename=str(tmp_path / "missing" / "drawing.txt"))
    assert capsys.readouterr().out == ""


@pytest.mark.parametrize("kwargs", [{"fold": 1.5}, {"style": None}, {"fold": 2 ** 31},
                                    {"wire_order": [0.5]}])
def test_arguments_that_do_not_convert_match_no_overload(kwargs):
    with pytest.raises(TypeError):
        circuit().draw(**kwargs)


def test_draw_docstring():
    assert tl.QuantumCircuit.draw.__doc__ == (
        "draw(self: TavironLib.QuantumCircuit, output: str = 'text', scale: float = 1.0, "
        "filename: str = '', style: dict = {}, interactive: bool = False, "
        "plot_barriers: bool = True, reverse_bits: bool = False, justify: str = 'left', "
        "vertical_compression: str = 'medium', idle_wires: bool = True, "
        "with_layout: bool = True, fold: int = 80, initial_state: bool = False, "
        "cregbundle: bool = True, wire_order: List[int] = []) -> None\n\n"
        "Draws the quantum circuit\n")
