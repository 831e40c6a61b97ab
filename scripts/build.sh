#!/usr/bin/env bash
# Builds the modules and the simulated device for one interpreter into
# BUILD_DIR (default: build/<interpreter>, such as build/cpython-3.12.1).
#   QX_PYTHON=...   the interpreter to build for (scripts/python.sh)
#   QX_SANITIZE=ON  builds with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/python.sh"
qx_python
build=${BUILD_DIR:-$root/build/$QX_BUILD_NAME}
# A folder configured for another interpreter of the same version (a
# virtual environment's, say) is configured afresh.
fresh=()
cached=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[ -z "$cached" ] || [ "$cached" = "$QX_PYTHON" ] || fresh=(--fresh)
cmake "${fresh[@]}" -S "$root" -B "$build" -DPython3_EXECUTABLE="$QX_PYTHON" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE="${QX_SANITIZE:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
