#!/usr/bin/env bash
# Installs what is missing, builds, and runs every example script of
# examples/ against the simulated device, each after a line naming it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export QX_BUILD_DIR=${BUILD_DIR:-$root/build}
for example in "$root"/examples/*.py; do
  printf '\n== examples/%s\n' "$(basename "$example")"
  /usr/bin/python3 "$example"
done
