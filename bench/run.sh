#!/usr/bin/env bash
# Builds, for one interpreter (QX_PYTHON, default CPython 3.12 where the
# machine has it; scripts/python.sh), the null native libraries and the
# hand-written floor module (bench/build/<interpreter>/), a build of the
# project's modules linked against the null libraries
# (bench/build/<interpreter>/project/), and runs the benchmark (bench/bench.py)
# under that interpreter. Arguments are passed to bench.py (--repeats N,
# --target-ms MS).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/python.sh"
"$root/scripts/setup.sh"
qx_python
echo "== benchmark: $QX_PYTHON_NAME ($QX_PYTHON)"
build=$root/bench/build/$QX_BUILD_NAME
jobs=$(nproc)
cmake -S "$root/bench" -B "$build" -DPython3_EXECUTABLE="$QX_PYTHON" -DQX_PYTHON_CHOICE="QX_PYTHON=<python>" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null
cmake -S "$root" -B "$build/project" -DPython3_EXECUTABLE="$QX_PYTHON" -DQX_PYTHON_CHOICE="QX_PYTHON=<python>" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQX_NATIVE_LIB_DIR="$build/null" >/dev/null
cmake --build "$build/project" -j"$jobs" >/dev/null
exec "$QX_PYTHON" "$root/bench/bench.py" --modules "$build/project/python" --floor "$build/python" \
  --null "$build/null" "$@"
