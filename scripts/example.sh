#!/usr/bin/env bash
# Installs what is missing, builds, and runs the example script against the
# simulated device.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
QX_BUILD_DIR=${BUILD_DIR:-$root/build} exec /usr/bin/python3 "$root/examples/base_tour.py"
