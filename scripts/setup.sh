#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12 packages), if missing.
set -euo pipefail
# python3, python3-pytest, python3-pycparser: the build's tools run under
# Debian's python3, and other interpreters (pyenv's CPython 3.12 and 3.13)
# take their pytest and pycparser (tests/harness.py);
# python3-exceptiongroup, python3-tomli: what pytest imports below CPython
# 3.11 in place of the standard library's own, which Debian's python3 (3.11)
# never imports, for the harness of CPython 3.9 and 3.10;
# python3-dbg: the debug interpreter, its headers and libpython (CI's run
# with the reference-leak check);
# valgrind: the check that the modules leave nothing behind at exit.
packages=(build-essential cmake swig python3 python3-dev python3-dbg python3-pytest python3-pycparser python3-exceptiongroup python3-tomli valgrind)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
