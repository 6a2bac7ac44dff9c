"""The scripts in examples/ run to the end and print what they promise."""

import ast
import os
import pathlib
import subprocess
import sys

EXAMPLES = pathlib.Path(__file__).resolve().parent.parent / "examples"


def run_example(name, tmp_path):
    env = dict(os.environ, APPDATA=str(tmp_path))
    done = subprocess.run([sys.executable, str(EXAMPLES / name)], capture_output=True,
                          text=True, timeout=300, env=env, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    return done.stdout.splitlines()


def test_bell(tmp_path):
    lines = run_example("bell.py", tmp_path)
    counts = ast.literal_eval(lines[-1])
    assert set(counts) <= {"00", "11"} and sum(counts.values()) == 100


def test_ghz(tmp_path):
    lines = run_example("ghz.py", tmp_path)
    seen = dict(line.split() for line in lines)
    assert set(seen) <= {"0" * 20, "1" * 20}
    assert sum(int(c) for c in seen.values()) == 1000


def test_mid_circuit_measurement(tmp_path):
    lines = run_example("mid_circuit_measurement.py", tmp_path)
    assert lines[0].startswith("qubit 2 read 1 in ") and lines[0].endswith(" of 2000 shots")
    assert lines[1] == "expected about 638"



def test_openqasm(tmp_path):
    lines = run_example("openqasm.py", tmp_path)
    # The user gate's box spans the two qubits it was called on.
    assert lines[1].startswith("q[0]: ") and "entangle" in lines[2]
    counts = ast.literal_eval(lines[9])
    assert set(counts) <= {"000", "111"} and sum(counts.values()) == 200
    assert lines[10:12] == ["OPENQASM 2.0;", 'include "qelib1.inc";']
