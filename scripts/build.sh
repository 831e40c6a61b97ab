#!/usr/bin/env bash
# Builds the modules and the simulated device for one interpreter into
# BUILD_DIR (default: build/<interpreter>, such as build/cpython-3.12.1, and
# build/<interpreter>-sanitize for QX_SANITIZE=ON).
#   QX_PYTHON=...   the interpreter to build for (scripts/python.sh)
#   QX_SANITIZE=ON  builds with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/python.sh"
qx_python
build=$(qx_build_dir)
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE="$QX_PYTHON" -DQX_PYTHON_CHOICE="QX_PYTHON=<python>" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE="${QX_SANITIZE:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
