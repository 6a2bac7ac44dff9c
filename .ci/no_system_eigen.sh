#!/usr/bin/env bash
# A user's install with no system Eigen: a fresh virtual environment that
# already holds a newer pybind11 than the module builds with, and a plain
# `pip install .` (isolated build, requirements from the package index)
# while CMake is told to ignore the system Eigen, then the Bell example.
# Fails unless the build took Eigen from the cmeel-eigen package and the
# pybind11 of its own build requirements.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
venv="$root/build/ci-no-system-eigen"
log="$venv.log"
rm -rf "$venv"
python3 -m venv "$venv"
"$venv/bin/python" -m pip install -q --upgrade pip "pybind11>=2.11"

export CMAKE_ARGS="-DCMAKE_IGNORE_PATH=/usr/share/eigen3/cmake;/usr/include/eigen3"
export CMAKE_BUILD_PARALLEL_LEVEL="$(nproc 2>/dev/null || echo 2)"
"$venv/bin/python" -m pip install -v "$root" 2>&1 | tee "$log"
if ! grep -Eq -- '-- Eigen 3\.4\.[0-9]+: .*/cmeel\.prefix/' "$log"; then
  echo "the build did not take Eigen from cmeel-eigen" >&2
  exit 1
fi
cd "$venv" && "$venv/bin/python" "$root/examples/bell.py"
