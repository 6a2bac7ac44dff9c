#!/usr/bin/env bash
# Builds the C++ tests with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them; any sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
jobs=$(nproc 2>/dev/null || echo 2)
build="$root/build/sanitize"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
