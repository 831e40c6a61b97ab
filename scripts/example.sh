#!/usr/bin/env bash
# Installs what is missing, builds, and runs every example script of
# examples/ against the simulated device, each after a line naming it; the
# last line names the folder of the modules for one's own scripts.
#   QX_PYTHON=...   the interpreter to build for and run under (default:
#                   CPython 3.12 where the machine has it; scripts/python.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/python.sh"
"$root/scripts/setup.sh"
qx_python
echo "== $QX_PYTHON_NAME ($QX_PYTHON)"
export QX_SANITIZE=OFF
export BUILD_DIR=$(qx_build_dir)
"$root/scripts/build.sh"
export QX_BUILD_DIR=$BUILD_DIR
for example in "$root"/examples/*.py; do
  printf '\n== examples/%s\n' "$(basename "$example")"
  "$QX_PYTHON" "$example"
done
printf '\n== the modules and their proxy modules for %s: %s\n' "$QX_PYTHON_NAME" "$QX_BUILD_DIR/python"
