"""Configuring a build: an interpreter the modules cannot be built for is
refused there, with a message saying why, before anything is generated or
compiled."""
import glob
import os
import subprocess

import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
PYENV_VERSIONS = os.path.join(os.environ.get("PYENV_ROOT", os.path.expanduser("~/.pyenv")), "versions")


def configure(tmp_path, python):
    done = subprocess.run(["cmake", "-S", ROOT, "-B", str(tmp_path / "build"), f"-DPython3_EXECUTABLE={python}"],
                          capture_output=True, text=True, timeout=300)
    return done.returncode, " ".join((done.stdout + done.stderr).split())


def too_old():
    found = sorted(glob.glob(os.path.join(PYENV_VERSIONS, "3.[5-8].*", "bin", "python3.[5-8]")))
    return found[-1] if found else None


@pytest.mark.skipif(not too_old(), reason="no CPython older than 3.9 on this machine")
def test_an_interpreter_too_old_is_refused_naming_the_oldest_that_works(tmp_path):
    status, said = configure(tmp_path, too_old())
    assert status != 0
    assert "the modules build for CPython 3.9 or newer" in said, said
    assert not glob.glob(str(tmp_path / "build" / "params" / "*" / "*"))  # nothing generated


def test_an_interpreter_named_so_that_it_cannot_be_used_is_refused(tmp_path):
    # A relative name that is not found as given: FindPython3 would take
    # another interpreter instead.
    status, said = configure(tmp_path, "no-such-folder/python3")
    assert status != 0
    assert "Python3_EXECUTABLE=no-such-folder/python3 cannot be used as given" in said, said
