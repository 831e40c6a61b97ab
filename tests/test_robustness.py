"""No binding crashes on bad arguments (missing, extra, None, str, float,
out-of-range ints, huge lists, non-sequences, pointers of the wrong type),
nor on arguments whose "this" or buffer tries to delete the call's other
arguments and gives storage made afresh; the sanitizer build reports any
access to freed memory."""
import os
import re
import subprocess
import sys

import _qx_api
import qxtest


def test_every_callable_survives_bad_arguments():
    env = qxtest.child_env(os.path.dirname(_qx_api.__file__))
    driver = os.path.join(os.path.dirname(__file__), "robustness_driver.py")
    out = subprocess.run([sys.executable, driver], env=env, capture_output=True, text=True, timeout=600)
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
