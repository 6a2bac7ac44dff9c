"""The OpenQASM reader on real and hostile programs: nothing read is lost or
invented, nothing crashes, and refused loads leave no trace."""

import os
import re
import subprocess
import sys

import pytest

import TavironLib as tl


def loads(text):
    return tl.qasm2().loads(text)


def gate_names(qc):
    lines = qc.qasm().split("// Instructions\n")[1].splitlines()
    return [line.split(" ")[0].split("(")[0] for line in lines]


@pytest.mark.parametrize("text, names", [
    # A declaration ends at its own ";", and a comment after it at its line feed.
    ("qreg q[2]; h q[0];", ["h"]),
    ("qreg q[2]; // the register\nx q[0];\ny q[1];", ["x", "y"]),
    ('OPENQASM 2.0; include "qelib1.inc"; qreg q[1]; creg c[1]; z q[0];', ["z"]),
    ("qreg q[1]; opaque magic a; h q[0];", ["h"]),
    # The byte 0xFF is an ordinary byte, in comments too.
    ("qreg q[1]; // caf\xff\nh q[0];", ["h"]),
    # A barrier over an empty register appends nothing.
    ("qreg q[1]; qreg none[0]; barrier none; x q[0];", ["x"]),
    # Names with underscores.
    ("qreg q_a[2]; creg anc_0[2];\ngate my_gate(theta_1) a_b { rz(theta_1) a_b; }\n"
     "my_gate(0.5) q_a[1]; measure q_a[1] -> anc_0[0];", ["my_gate", "measure"]),
])
def test_every_statement_is_read(text, names):
    qc = loads(text)
    assert gate_names(qc) == names


@pytest.mark.parametrize("text, message", [
    # A body or a parameter list that runs to the end of the text.
    ("qreg q[1];\ngate g(w) a { rz(w a; }\n", "Error Right paranthesis expected in line 2 at"),
    # A body statement without its ";" stops at the body's end.
    ("qreg q[1];\ngate g a { x a }\nh q[0];", "Error Semicolon expected in line 2 at"),
    # A gate is known from the end of its definition on.
    ("qreg q[1];\ng q[0];\ngate g a { x a; }", "Error User defined gate not found in line 2 at"),
    # A parameter is a finite number.
    ("qreg q[1];\nrz(ln(0)) q[0];", "Error Error in arithmatic expression in line 2 at"),
    ("qreg q[1];\ngate g(w) a { rz(sqrt(w)) a; }\ng(-1) q[0];",
     "Error Error in arithmatic expression in line 3 at"),
    # Names begin with a letter.
    ("qreg _q[1];", "Error Identifier expected in line 1 at"),
])
def test_refused_texts_name_their_fault(text, message):
    with pytest.raises(RuntimeError) as error:
        loads(text)
    assert str(error.value).startswith(message)


def test_deep_nesting_is_refused_and_moderate_nesting_works():
    deep = "qreg q[1];\nrz(" + "sin(" * 50000 + "1" + ")" * 50000 + ") q[0];"
    with pytest.raises(RuntimeError, match="Error in arithmatic expression"):
        loads(deep)
    moderate = "qreg q[1];\nrz(" + "sin(" * 300 + "1" + ")" * 300 + ") q[0];"
    assert gate_names(loads(moderate)) == ["rz"]


def test_declared_c0_never_collides_with_the_added_register():
    # In a fresh process the added classical register would be named c0.
    program = "qreg q0[25]; creg c0[1];\nh q0[0];\nmeasure q0[0] -> c0[0];\n"
    script = ("import TavironLib as tl\n"
              f"qc = tl.qasm2().loads({program!r})\n"
              "print(qc.num_clbits)\n")
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                          timeout=120)
    assert done.returncode == 0, done.stderr
    assert done.stdout.strip() == "25"


def test_refused_loads_leave_the_register_counters_alone():
    def next_default_names():
        # A circuit of one qubit names its two registers from the counters.
        text = tl.QuantumCircuit(1).qasm()
        return re.search(r"qreg (\w+)\[", text).group(1), re.search(r"creg (\w+)\[", text).group(1)

    first = next_default_names()
    for text in ["qreg q[3]; creg c[1];\nh r[0];", "qreg a[60]; qreg b[41];",
                 "qreg q[2]; creg c[1];\ngate g a { x a; }\ng(1) q[0];"]:
        with pytest.raises((RuntimeError, ValueError)):
            loads(text)
    second = next_default_names()
    # Each kind's name counter moved by the one register made above only.
    assert [int(n[1:]) for n in second] == [int(n[1:]) + 1 for n in first]


@pytest.mark.parametrize("kind", ["fifo", "directory", "device", "huge"])
def test_load_reads_only_regular_files_of_bounded_size(tmp_path, kind):
    if kind == "fifo":
        path = tmp_path / "program.qasm"
        os.mkfifo(path)
    elif kind == "directory":
        path = tmp_path
    elif kind == "device":
        path = "/dev/zero"
    else:
        path = tmp_path / "huge.qasm"
        with open(path, "wb") as huge:
            huge.truncate(1 << 40)  # sparse: no disk is used
    with pytest.raises(RuntimeError, match="^Can't open the given file.$"):
        tl.qasm2().load(str(path))


def run_child(script, timeout=300):
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                          timeout=timeout)
    assert done.returncode == 0, done.stderr
    return done.stdout


# 861 bytes: a gate of a hundred h called over a register of a hundred
# qubits, a hundred times; a copy of the body per call would take 400 MB.
REPEATED_CALLS = ('OPENQASM 2.0;\ninclude "qelib1.inc";\nqreg q[100];\ngate g a {' + "h a;" * 100
                  + "}\n" + "g q;" * 100)


def test_repeated_calls_of_a_gate_share_their_bodies():
    assert len(REPEATED_CALLS) == 861
    script = ("import resource, TavironLib as tl\n"
              "before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss\n"
              f"qc = tl.qasm2().loads({REPEATED_CALLS!r})\n"
              "after = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss\n"
              "print(qc.size(), qc.depth(), (after - before) // 1024)\n")
    size, depth, growth_mb = map(int, run_child(script).split())
    assert (size, depth) == (10000, 100)
    assert growth_mb < 64


def test_calls_that_cannot_share_are_refused_before_memory_runs_out():
    # Every call has values of its own: each needs a body of its own. With
    # the address space limited to 768 MiB more than the child uses, the
    # reader refuses with its own MemoryError rather than failing an
    # allocation half-way.
    script = ("import resource, TavironLib as tl\n"
              "program = ('qreg q[100];\\ngate g(w) a {' + 'rz(w) a;' * 100 + '}\\n'\n"
              "           + ''.join(f'g({k}) q[{k % 100}];' for k in range(20000)))\n"
              "pages = int(open('/proc/self/statm').read().split()[0])\n"
              "limit = pages * resource.getpagesize() + (768 << 20)\n"
              "resource.setrlimit(resource.RLIMIT_AS, (limit, resource.RLIM_INFINITY))\n"
              "try:\n"
              "    tl.qasm2().loads(program)\n"
              "    print('loaded')\n"
              "except MemoryError as error:\n"
              "    print('refused', error)\n")
    assert run_child(script).strip() == "refused bad allocation"
