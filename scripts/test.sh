#!/usr/bin/env bash
# Builds everything and runs the whole test suite against the simulated device.
#   scripts/test.sh              normal build (build/)
#   scripts/test.sh --sanitize   ASan + UBSan build (build-sanitize/); fails on
#                                any sanitizer report
#   scripts/test.sh --debug-python
#                                build (build-debug/) for Debian's debug
#                                interpreter python3-dbg (Py_DEBUG: reference
#                                counts and API misuse asserted) and run the
#                                suite, the reference-leak check included, under it
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
if [ "${1:-}" = "--sanitize" ]; then
  shift
  export BUILD_DIR=$root/build-sanitize QX_SANITIZE=ON
  QX_SANITIZE=ON "$root/scripts/build.sh"
  # The interpreter itself is not instrumented: preload the runtimes, and
  # leave leak detection off (the interpreter keeps memory until exit).
  log=$(mktemp -d)
  export LD_PRELOAD="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:allocator_may_return_null=1:log_path=$log/asan"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$log/ubsan"
  export QX_BUILD_DIR=$BUILD_DIR
  # A report ends the run at once, inside pytest's capture: the test that
  # was running (tests/conftest.py) is run again uncaptured, to show it.
  export QX_RUNNING_TEST=$log.running
  status=0
  /usr/bin/python3 -m pytest -q -p no:cacheprovider "$root/tests" "$@" || status=$?
  if [ -f "$QX_RUNNING_TEST" ]; then
    test=$(cat "$QX_RUNNING_TEST")
    rm -f "$QX_RUNNING_TEST"
    echo "the run ended inside $test; once more, uncaptured:"
    QX_RUNNING_TEST= /usr/bin/python3 -m pytest -q -s -p no:cacheprovider "$test" || true
    status=1
  fi
  unset LD_PRELOAD
  if compgen -G "$log/*" >/dev/null; then
    echo "sanitizer reports:"
    cat "$log"/*
    status=1
  fi
  exit $status
fi
if [ "${1:-}" = "--debug-python" ]; then
  shift
  export BUILD_DIR=$root/build-debug QX_PYTHON=/usr/bin/python3-dbg
  "$root/scripts/build.sh"
  export QX_BUILD_DIR=$BUILD_DIR
  exec "$QX_PYTHON" -m pytest -q -p no:cacheprovider "$root/tests" "$@"
fi
"$root/scripts/build.sh"
export QX_BUILD_DIR=${BUILD_DIR:-$root/build}
exec /usr/bin/python3 -m pytest -q -p no:cacheprovider "$root/tests" "$@"
