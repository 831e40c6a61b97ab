"""No binding crashes on bad arguments (missing, extra, None, str, float,
out-of-range ints, huge lists, non-sequences, pointers of the wrong type),
nor on arguments whose "this" or buffer tries to delete the call's other
arguments and gives storage made afresh; the sanitizer build reports any
access to freed memory. An exception that a "this" raises itself reaches
the caller as it stands, at every position of every binding."""
import os
import re
import subprocess
import sys

import _qx_api
import qxtest


def run_driver(*args):
    env = qxtest.child_env(os.path.dirname(_qx_api.__file__))
    driver = os.path.join(os.path.dirname(__file__), "robustness_driver.py")
    return subprocess.run([sys.executable, driver, *args], env=env, capture_output=True, text=True, timeout=600)


def test_every_callable_survives_bad_arguments():
    out = run_driver()
    assert out.returncode == 0, out.stderr[-3000:]
    found = re.search(r"^robustness: (\d+) callables, (\d+) calls$", out.stdout, re.M)
    assert found, out.stdout[-3000:]
    callables, calls = map(int, found.groups())
    # every callable of every built module, the storage module's record
    # arrays and signal-block cell among them, was found an arity and tried
    every = sum(1 for name in qxtest.built_modules() for key, value in vars(qxtest.module(name)).items()
                if callable(value) and not key.startswith("__") and key != "trialprint")
    assert callables == every
    assert calls >= 13 * callables


def test_an_exception_that_this_raises_reaches_the_caller_at_every_position():
    out = run_driver("--this-raises")
    lost = [line for line in out.stdout.splitlines() if line.startswith("lost: ")]
    assert not lost, "\n".join(lost[:40])
    assert out.returncode == 0, out.stderr[-3000:]
    reached = dict(re.findall(r"^this-raises: (\S+) (\d+) positions reached$", out.stdout, re.M))
    # every module has positions that look "this" up (its records' accessors,
    # the storage module's arrays and cells)
    assert sorted(reached) == sorted(qxtest.built_modules()) and all(int(n) > 0 for n in reached.values())
