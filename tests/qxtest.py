"""Assertions and helpers shared by the test files."""
import contextlib
import ctypes
import functools
import gc
import importlib
import os
import re
import signal
import sys
import time
import traceback

import pytest

_libc = ctypes.CDLL(None)


@contextlib.contextmanager
def raises_exactly(exc, message):
    """Like pytest.raises, for exactly `exc` (no subclass) with exactly `message`."""
    with pytest.raises(exc) as info:
        yield info
    assert type(info.value) is exc
    assert str(info.value) == message


# The registry of the native libraries (the project's libraries.cmake).
REGISTRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "libraries.cmake")


def registry():
    """The libraries of the registry in declaration order: {key: module}."""
    with open(REGISTRY) as text:
        lines = (line.split("#", 1)[0] for line in text)
        declared = re.findall(r"\bqx_library\(\s*(\w+)\s+(\w+)[^)]*\)", "".join(lines))
    return {key: "_" + library for key, library in declared}


def _listed(name):
    with open(os.path.join(os.environ["QX_BUILD_DIR"], "python", name)) as listing:
        return [line.strip() for line in listing if line.strip()]


def built_modules():
    """The modules the build made (python/qx_modules.txt, one a line)."""
    return _listed("qx_modules.txt")


def left_out_modules():
    """The modules the build was asked to leave out (QX_SKIP_LIBRARIES;
    python/qx_left_out.txt, one a line)."""
    return _listed("qx_left_out.txt")


def missing_modules():
    """The modules of the registry that the build was asked to make but did
    not list: a build configured before the registry had them."""
    built, left_out = built_modules(), left_out_modules()
    return [name for name in registry().values() if name not in built and name not in left_out]


def module(name):
    """Imports a module of the system for a test file. A module the build was
    asked to leave out skips the file; any other module the build did not
    make fails it, and a built module that fails to import is an error."""
    if name not in built_modules():
        if name in left_out_modules():
            pytest.skip(f"{name} is left out of this build (QX_SKIP_LIBRARIES)", allow_module_level=True)
        pytest.fail(f"{name} is not built, though nothing left it out: configure and build "
                    f"{os.environ['QX_BUILD_DIR']} again", pytrace=False)
    return importlib.import_module(name)


def new_record(module, name, **fields):
    """A new record `name` of `module` with the given fields set through the
    module's setters."""
    obj = getattr(module, "new_" + name)()
    for field, value in fields.items():
        getattr(module, f"{name}_{field}_set")(obj, value)
    return obj


def isolated(test):
    """Runs the test in a forked child; its traceback, a signal that ended it
    or a hang (10 s) fails the test. For tests that register classes (which
    changes the type table for the rest of the process) or whose fault could
    crash the interpreter."""
    @functools.wraps(test)
    def run(*args, **kwargs):
        sys.stdout.flush()
        sys.stderr.flush()
        read_end, write_end = os.pipe()
        pid = os.fork()
        if pid == 0:
            os.close(read_end)
            status = 0
            try:
                test(*args, **kwargs)
                gc.collect()
            except BaseException:
                os.write(write_end, traceback.format_exc().encode())
                status = 1
            sys.stdout.flush()
            _libc.fflush(None)
            os._exit(status)
        os.close(write_end)
        deadline = time.monotonic() + 10
        while True:
            done, status = os.waitpid(pid, os.WNOHANG)
            if done:
                break
            if time.monotonic() > deadline:
                os.kill(pid, signal.SIGKILL)
                os.waitpid(pid, 0)
                pytest.fail("the test hung")
            time.sleep(0.005)
        with os.fdopen(read_end, "rb") as pipe:
            report = pipe.read().decode(errors="replace")
        if os.WIFSIGNALED(status):
            pytest.fail(f"the test crashed: {signal.Signals(os.WTERMSIG(status)).name}\n{report}", pytrace=False)
        if os.WEXITSTATUS(status) != 0:
            pytest.fail(report, pytrace=False)
    return run


def drained(capfd):
    """Collects what earlier tests left and drops the output so far."""
    gc.collect()
    _libc.fflush(None)
    capfd.readouterr()
