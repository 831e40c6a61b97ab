"""What scripts/test.sh runs (scripts/pytest_run.py): the files, folders or
tests its arguments name, and those alone; with options alone (-k, ...), the
whole suite, wherever it is started from. Each run here only collects.
Before a build, pytest says that nothing is built, where, and how to build."""
import os
import shlex
import subprocess
import sys

import pytest

import interpreter
import qxtest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
ROUND_TRIPS = "tests/test_examples.py::test_every_round_trip_names_an_example"


def collected(cwd, *args):
    """The tests that pytest_run.py collects given `args`, started in `cwd`."""
    # QX_RUNNING_TEST emptied: the child must not remove the sanitizer run's
    # note of the test running here.
    done = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "pytest_run.py"), "--collect-only", "-q",
                           "-p", "no:cacheprovider", *args], cwd=cwd, env=qxtest.child_env(QX_RUNNING_TEST=""),
                          capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stdout[-3000:] + done.stderr[-3000:]
    return [line for line in done.stdout.splitlines() if "::" in line]


@pytest.mark.parametrize("where, args, only, without", [
    ("checkout", ["tests/base/test_base_open.py"], "tests/base/test_base_open.py::", None),
    ("elsewhere", [os.path.join(ROOT, "tests", "base", "test_base_open.py")], "tests/base/test_base_open.py::", None),
    ("checkout", [ROUND_TRIPS], ROUND_TRIPS, None),
    # an option's value that names a test is no test to run
    ("checkout", ["tests/test_examples.py", "--deselect", ROUND_TRIPS], "tests/test_examples.py::", ROUND_TRIPS),
], ids=["a file", "a file, from elsewhere", "a test", "a file, a test deselected"])
def test_named_paths_run_alone(tmp_path, where, args, only, without):
    tests = collected(ROOT if where == "checkout" else tmp_path, *args)
    assert tests and all(test.startswith(only) for test in tests), tests
    assert len(set(tests)) == len(tests) and without not in tests


def test_options_alone_apply_to_the_whole_suite_from_anywhere(tmp_path):
    tests = collected(tmp_path, "-k", "round_trip_names_an_example or test_base_open")
    assert sorted(tests) == sorted(collected(ROOT, "tests/base/test_base_open.py") + [ROUND_TRIPS])


def test_before_a_build_pytest_says_what_to_build_and_how(tmp_path):
    folder = str(tmp_path / "my build")
    done = subprocess.run([sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider", "tests/test_examples.py"],
                          cwd=ROOT, env=qxtest.child_env(QX_BUILD_DIR=folder), capture_output=True, text=True,
                          timeout=300)
    command = (f"BUILD_DIR={shlex.quote(folder)} QX_PYTHON={shlex.quote(sys.executable)} "
               f"bash {shlex.quote(os.path.join(ROOT, 'scripts', 'build.sh'))}")
    assert (done.returncode, done.stdout, done.stderr) == (1, "", (
        f"Nothing is built for {interpreter.name()} ({sys.executable}): no modules in {folder}/python.\n"
        f"Build them with:\n  {command}\n"))
