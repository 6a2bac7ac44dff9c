"""The committed type stubs describe the module as built, and a type checker
finds them in the installed wheel."""

import os
import pathlib
import subprocess
import sys

import TavironLib

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUBS = ROOT / "src" / "bindings" / "stubs" / "TavironLib.pyi"
GENERATOR = ROOT / "tools" / "generate_stubs.py"


def test_committed_stubs_match_the_built_module(tmp_path):
    generated = tmp_path / "TavironLib.pyi"
    subprocess.run([sys.executable, str(GENERATOR), "--output", str(generated)], check=True)
    assert generated.read_text() == STUBS.read_text(), (
        "the stubs are out of date: run  .venv/bin/python tools/generate_stubs.py")


def test_stubs_install_beside_the_module():
    site = pathlib.Path(TavironLib.__file__).parent / "TavironLib-stubs"
    assert (site / "__init__.pyi").read_text() == STUBS.read_text()
    assert (site / "py.typed").exists()


def run_mypy(tmp_path, *paths):
    return subprocess.run(
        [sys.executable, "-m", "mypy", "--cache-dir", str(tmp_path / "mypy-cache"), *map(str, paths)],
        capture_output=True, text=True, cwd=tmp_path, env=dict(os.environ, MYPY_FORCE_COLOR="0"))


def test_mypy_passes_the_examples(tmp_path):
    checked = run_mypy(tmp_path, ROOT / "examples")
    assert checked.returncode == 0, checked.stdout + checked.stderr


def test_mypy_sees_the_module_types(tmp_path):
    program = tmp_path / "wrong_types.py"
    program.write_text(
        "from TavironLib import BackendV2, QuantumCircuit\n"
        "qc = QuantumCircuit(2, 2)\n"
        "qc.h('first')\n"
        "counts: int = BackendV2().run(qc, shots=10).result().get_counts()\n")
    checked = run_mypy(tmp_path, program)
    assert checked.returncode == 1
    assert 'No overload variant of "h"' in checked.stdout
    assert "wrong_types.py:4: error: Incompatible types in assignment" in checked.stdout
