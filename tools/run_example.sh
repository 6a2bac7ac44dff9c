#!/usr/bin/env bash
# Sets up a fresh machine, builds and installs TavironLib into .venv, and
# runs the Bell example end to end.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build_module.sh"
"$root/.venv/bin/python" "$root/examples/bell.py"
