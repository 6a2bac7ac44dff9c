#!/usr/bin/env bash
# Sets up a fresh machine, builds and installs TavironLib, and runs the Bell
# example end to end. Until the Python module exists it builds the core and
# runs its C++ tests instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
if [ -f "$root/src/bindings/CMakeLists.txt" ] && [ -f "$root/examples/bell.py" ]; then
  python -m pip install -q "$root"
  python "$root/examples/bell.py"
else
  build="$root/build/release"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
  ctest --test-dir "$build" --output-on-failure
fi
