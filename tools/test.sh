#!/usr/bin/env bash
# Builds TavironLib on a fresh machine and runs every test: the C++ tests
# through CTest, then the Python tests (pytest) against the installed module.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
jobs=$(nproc 2>/dev/null || echo 2)

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

if [ -f "$root/src/bindings/CMakeLists.txt" ]; then
  python -m pip install -q "$root"
  python -m pytest -q "$root/tests"
fi
