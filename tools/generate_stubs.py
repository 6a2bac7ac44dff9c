"""Writes the type stubs of the TavironLib module installed in the Python that
runs this script (pybind11-stubgen reads the module's classes, signatures
and docstrings), to src/bindings/stubs/TavironLib.pyi unless --output names
another file.

Run it after changing a binding:  .venv/bin/python tools/generate_stubs.py
"""

import argparse
import keyword
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
COMMITTED_STUBS = ROOT / "src" / "bindings" / "stubs" / "TavironLib.pyi"

# A parameter inside a def line: "(name:" or ", name:".
PARAMETER = re.compile(r"(?<=[(,] )(\w+)(?=:)")


def legal_parameter_names(stub_text):
    """Gives a parameter whose name is a Python keyword (the module's angle
    `lambda`) a trailing underscore, so that the stub is valid Python; the
    docstrings keep the module's own names."""
    def rename(match):
        name = match.group(1)
        return name + "_" if keyword.iskeyword(name) else name

    lines = stub_text.splitlines(keepends=True)
    return "".join(PARAMETER.sub(rename, line) if line.lstrip().startswith("def ") else line
                   for line in lines)


def generate_stubs():
    """The stub text of the installed module, as this project commits it."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([sys.executable, "-m", "pybind11_stubgen", "--exit-code", "-o", folder,
                        "TavironLib"], check=True, cwd=folder)
        return legal_parameter_names((pathlib.Path(folder) / "TavironLib.pyi").read_text())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", type=pathlib.Path, default=COMMITTED_STUBS)
    args = parser.parse_args()
    args.output.write_text(generate_stubs())


if __name__ == "__main__":
    main()
