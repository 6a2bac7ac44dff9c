#!/usr/bin/env bash
# Builds the module for a second CPython (the interpreter given as the
# argument, else the newest 3.13 or 3.12 under pyenv) in a fresh virtual
# environment and runs the Python tests with it. Says so and succeeds when
# no interpreter is given and neither version is installed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
python="${1:-}"
[ -n "$python" ] || for minor in 3.13 3.12; do
  found=$(ls -d /root/.pyenv/versions/"$minor".*/bin/python3 2>/dev/null | sort -V | tail -1 || true)
  if [ -n "$found" ]; then python=$found; break; fi
done
if [ -z "$python" ]; then
  echo "No CPython 3.13 or 3.12 under /root/.pyenv/versions: skipping the second-interpreter build"
  exit 0
fi
echo "Second interpreter: $("$python" --version) ($python)"
venv="$root/build/ci-other-python"
rm -rf "$venv"
"$python" -m venv "$venv"
"$venv/bin/python" -m pip install -q --upgrade pip
mapfile -t requirements < <("$venv/bin/python" "$root/tools/requirements.py")
"$venv/bin/python" -m pip install -q "${requirements[@]}"
export CMAKE_BUILD_PARALLEL_LEVEL="$(nproc 2>/dev/null || echo 2)"
"$venv/bin/python" -m pip install -v "$root"
"$venv/bin/python" -m pytest -q "$root/tests"
