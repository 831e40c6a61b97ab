#!/usr/bin/env bash
# Builds everything and runs the test suite against the simulated device,
# under one interpreter (QX_PYTHON, default CPython 3.12 where the machine
# has it; scripts/python.sh), after a line naming it.
#   scripts/test.sh              normal build (build/<interpreter>/)
#   scripts/test.sh --sanitize   ASan + UBSan build (build/<interpreter>-sanitize/);
#                                fails on any sanitizer report
#   scripts/test.sh --debug-python
#                                build for Debian's debug interpreter
#                                python3-dbg (Py_DEBUG: reference counts and
#                                API misuse asserted) and run the suite, the
#                                reference-leak check included, under it
# Further arguments go to pytest (scripts/pytest_run.py): files, folders or
# tests named there run alone (scripts/test.sh tests/base/test_base_open.py),
# options alone (-k open, -x) apply to the whole suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/python.sh"
"$root/scripts/setup.sh"
mode=normal what="normal build"
case "${1:-}" in
  --sanitize) mode=sanitize what="sanitizer build"; shift ;;
  --debug-python) mode=debug what="with the reference-leak check"; shift; QX_PYTHON=/usr/bin/python3-dbg ;;
esac
qx_python
echo "== tests: $QX_PYTHON_NAME ($QX_PYTHON), $what"
export QX_SANITIZE=OFF
[ "$mode" = sanitize ] && QX_SANITIZE=ON
export BUILD_DIR=$(qx_build_dir)
"$root/scripts/build.sh"
export QX_BUILD_DIR=$BUILD_DIR
# pytest and pycparser for an interpreter that has none of its own
# (tests/CMakeLists.txt makes the folder).
if [ -d "$BUILD_DIR/harness" ]; then
  export PYTHONPATH=$BUILD_DIR/harness${PYTHONPATH:+:$PYTHONPATH}
fi
pytest=("$QX_PYTHON" "$root/scripts/pytest_run.py" -q -p no:cacheprovider)
if [ "$mode" = sanitize ]; then
  # The interpreter itself is not instrumented: preload the runtimes, and
  # leave leak detection off (the interpreter keeps memory until exit).
  log=$(mktemp -d)
  export LD_PRELOAD="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:allocator_may_return_null=1:log_path=$log/asan"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$log/ubsan"
  # A report ends the run at once, inside pytest's capture: the test that
  # was running (tests/conftest.py) is run again uncaptured, to show it.
  export QX_RUNNING_TEST=$log.running
  status=0
  "${pytest[@]}" "$@" || status=$?
  if [ -f "$QX_RUNNING_TEST" ]; then
    test=$(cat "$QX_RUNNING_TEST")
    rm -f "$QX_RUNNING_TEST"
    echo "the run ended inside $test; once more, uncaptured:"
    QX_RUNNING_TEST= "${pytest[@]}" -s "$test" || true
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
exec "${pytest[@]}" "$@"
