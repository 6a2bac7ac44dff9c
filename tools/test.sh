#!/usr/bin/env bash
# Builds TavironLib on a fresh machine and runs every test: the C++ tests
# through CTest, then the Python tests (pytest) against the installed module.
# One CMake tree (build/release) builds both the C++ tests and the module,
# so each source is compiled once.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
jobs=$(nproc 2>/dev/null || echo 2)

bash "$root/tools/build_module.sh" -Ccmake.define.TAVIRON_TESTS=ON
ctest --test-dir "$root/build/release" --output-on-failure -j "$jobs"
python -m pytest -q "$root/tests"
