#!/usr/bin/env bash
# Builds the Python module with UndefinedBehaviorSanitizer and runs, against
# it, the tests whose child interpreters end, fork and take Ctrl-C while
# threads are inside the module; any sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
build="$root/build/sanitize-module"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_PYTHON=ON \
  -DPython_EXECUTABLE="$root/.venv/bin/python" -Dpybind11_DIR="$(python -m pybind11 --cmakedir)" \
  "-DCMAKE_CXX_FLAGS=-O1 -g -fsanitize=undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=undefined >/dev/null
cmake --build "$build" --target TavironLib -j "$(nproc 2>/dev/null || echo 2)"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The child interpreters inherit the path, and import the sanitized module.
export PYTHONPATH="$build/src/bindings"
python -c 'import TavironLib, sys; sys.exit(not TavironLib.__file__.startswith(sys.argv[1]))' "$build"
python -m pytest -q -p no:cacheprovider "$root/tests/test_exit_under_threads.py" "$root/tests/test_fork.py" \
  "$root/tests/test_interrupts.py"
