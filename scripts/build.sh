#!/usr/bin/env bash
# Builds the modules and the simulated device for one interpreter into
# BUILD_DIR (default: build/<interpreter>, such as build/cpython-3.12.1, and
# build/<interpreter>-sanitize for QX_SANITIZE=ON).
#   QX_PYTHON=...   the interpreter to build for (scripts/python.sh)
#   QX_SANITIZE=ON  builds with AddressSanitizer and UndefinedBehaviorSanitizer
# The modules link against the simulated device, which the test suite steers
# through its control interface and the examples are written against: the
# real native libraries are CMake's option QX_NATIVE_LIB_DIR for a build by
# hand, and the variable of that name in the environment is refused here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${QX_NATIVE_LIB_DIR:-}" ]; then
  echo "QX_NATIVE_LIB_DIR is set ($QX_NATIVE_LIB_DIR), but the scripts build against the simulated device only:" \
    "the test suite steers it through its control interface, and the examples are written against it." \
    "QX_NATIVE_LIB_DIR is an option of CMake, for a build by hand against the native libraries:" \
    "cmake -S . -B build/native -DQX_NATIVE_LIB_DIR=$QX_NATIVE_LIB_DIR (README, \"Building by hand\")." \
    "Unset it to run the scripts." >&2
  exit 1
fi
source "$root/scripts/python.sh"
qx_python
build=$(qx_build_dir)
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE="$QX_PYTHON" -DQX_PYTHON_CHOICE="QX_PYTHON=<python>" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE="${QX_SANITIZE:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
