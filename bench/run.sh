#!/usr/bin/env bash
# Builds the null native libraries and the hand-written floor module
# (bench/build/), a build of the project's modules linked against the null
# libraries (bench/build/project/), and runs the benchmark (bench/bench.py).
# Arguments are passed to bench.py (--repeats N, --target-ms MS).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/bench/build
"$root/scripts/setup.sh"
jobs=$(nproc)
cmake -S "$root/bench" -B "$build" -DPython3_EXECUTABLE=/usr/bin/python3 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null
cmake -S "$root" -B "$build/project" -DPython3_EXECUTABLE=/usr/bin/python3 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQX_NATIVE_LIB_DIR="$build/null" >/dev/null
cmake --build "$build/project" -j"$jobs" >/dev/null
exec /usr/bin/python3 "$root/bench/bench.py" --modules "$build/project/python" --floor "$build/python" \
  --null "$build/null" "$@"
