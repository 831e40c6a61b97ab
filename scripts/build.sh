#!/usr/bin/env bash
# Builds the modules and the simulated device into BUILD_DIR (default: build).
#   QX_SANITIZE=ON  builds with AddressSanitizer and UndefinedBehaviorSanitizer
#   QX_PYTHON=...   the interpreter to build for (default: /usr/bin/python3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE="${QX_PYTHON:-/usr/bin/python3}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE="${QX_SANITIZE:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
