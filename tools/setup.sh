#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test TavironLib:
# a C++ compiler, GoogleTest and the Python headers from the system packages,
# and a Python virtual environment (.venv) with CMake, Ninja, the module's
# build requirements (Eigen among them, from PyPI) and the test tools, so
# that pip builds the module there without an isolated build environment.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

need=()
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v make >/dev/null 2>&1 || need+=(make)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
python3 -c 'import venv, ensurepip' >/dev/null 2>&1 || need+=(python3-venv)
# The module compiles against the headers of the Python that runs it.
python3 -c 'import os, sys, sysconfig
sys.exit(not os.path.exists(os.path.join(sysconfig.get_paths()["include"], "Python.h")))' \
  >/dev/null 2>&1 || need+=(python3-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

if [ ! -x "$root/.venv/bin/python" ]; then
  python3 -m venv "$root/.venv"
fi
"$root/.venv/bin/python" -m pip install -q --upgrade pip
mapfile -t requirements < <("$root/.venv/bin/python" "$root/tools/requirements.py")
"$root/.venv/bin/python" -m pip install -q cmake ninja "${requirements[@]}"
