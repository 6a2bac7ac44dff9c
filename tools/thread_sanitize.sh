#!/usr/bin/env bash
# Builds the execution and simulator tests with ThreadSanitizer and runs the
# ones that exercise the backend's worker thread, jobs, the job monitor and
# the shot threads (a forked child that starts threads is left out: the
# sanitizer does not support it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
export PATH="$root/.venv/bin:$PATH"
build="$root/build/thread-sanitize"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_TSAN=ON >/dev/null
cmake --build "$build" --target execution_tests simulator_tests -j "$(nproc 2>/dev/null || echo 2)"
export TSAN_OPTIONS="halt_on_error=1"
"$build/execution_tests" --gtest_filter='BackendTest.*:RunPathsTest.*:JobMonitorTest.*:JobTest.*'
"$build/simulator_tests" \
  --gtest_filter='ShotThreadPoolTest.*:RunShotsTest.*:-ShotThreadPoolTest.AForkedChildStartsAPoolOfItsOwn'
