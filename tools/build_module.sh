#!/usr/bin/env bash
# Builds the module with pip into .venv, reusing one CMake tree
# (build/release) from run to run, so that an unchanged source is never
# compiled again. Arguments are extra pip options, for example
# -Ccmake.define.TAVIRON_TESTS=ON to build the C++ tests in the same tree.
# Expects tools/setup.sh to have run: pip builds with the build
# requirements installed in .venv instead of an isolated environment.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/release"
python="$root/.venv/bin/python"

# The tree is built by Ninja; one that another generator made is started anew.
if [ -f "$build/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
export CMAKE_GENERATOR=Ninja
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc 2>/dev/null || echo 2)}"
# -v lets the configure and build output (Ninja's [done/total] lines) through.
PATH="$root/.venv/bin:$PATH" "$python" -m pip install -v --no-build-isolation \
  -Cbuild-dir="$build" "$@" "$root"
