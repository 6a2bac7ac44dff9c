#!/usr/bin/env bash
# Fuzzes qasm2::loads under AddressSanitizer and UndefinedBehaviorSanitizer
# for a bounded time (TAVIRON_FUZZ_SECONDS, default 120), starting from the
# seed programs in fuzz/corpus. Any crash, sanitizer report, hang or failed
# round trip fails the run and leaves its input in build/fuzz-findings.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc 2>/dev/null || echo 2)}
build="$root/build/sanitize"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_SANITIZE=ON -DTAVIRON_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs" --target qasm_loads_fuzz
findings="$root/build/fuzz-findings"
mkdir -p "$findings"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
"$build/fuzz/qasm_loads_fuzz" --seconds "${TAVIRON_FUZZ_SECONDS:-120}" --seed "${TAVIRON_FUZZ_SEED:-$RANDOM}" \
  --out "$findings" "$root/fuzz/corpus"
