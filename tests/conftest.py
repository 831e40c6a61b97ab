import ctypes
import gc
import os
import sys
import tempfile

import pytest

# The build under test: QX_BUILD_DIR, else the one scripts/build.sh makes for
# this interpreter (build/cpython-3.12.1, say). Where nothing is built there,
# the run ends before anything is collected, saying so and how to build it.
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import interpreter  # noqa: E402

BUILD = os.environ.setdefault("QX_BUILD_DIR", interpreter.build_folder())
if not interpreter.built(BUILD):
    sys.exit(interpreter.not_built(BUILD))
sys.path.insert(0, os.path.join(BUILD, "python"))
sys.path.insert(0, os.path.dirname(__file__))

import _qx_api  # noqa: E402  (loads libqx_api.so for the control interface)
import _qx_testhelpers  # noqa: E402
import qxtest  # noqa: E402
from qxsim import Sim  # noqa: E402

_sim = Sim()


@pytest.fixture(autouse=True)
def sim():
    """The simulated device, reset before every test; what the test made
    through qxtest is freed after it."""
    _sim.reset()
    qxtest.start_test()
    yield _sim
    qxtest.end_test()
    _qx_testhelpers.qxt_release_all()


@pytest.fixture
def qxt():
    """The test-only helper module (pointer objects with chosen content)."""
    return _qx_testhelpers


@pytest.fixture
def port(sim):
    """A port handle of the simulated device's first CAN interface."""
    info = _qx_api.new_Qx_InterfaceInfo_t()
    _qx_api.Qx_InterfaceInfo_t_Type_set(info, _qx_api.QX_INTERFACE_TYPE__CAN)
    handle = _qx_api.Qx_OpenInterface(info)
    _qx_api.delete_Qx_InterfaceInfo_t(info)
    return handle


# ---- leak warnings ------------------------------------------------------------
# A pointer object that still owns its record when it is collected, and whose
# type has no registered class, prints "swig/python detected a memory leak of
# type '...'" through C stdio. The tests free what they make or get
# (qxtest.new_record, qxtest.owned, the module's delete_<R>), and a test whose
# point is the warning reads it itself (qxtest.c_stdout); so a passing run
# prints none, and a warning printed during a test fails that test, shown in
# its captured output.
#
# C stdout is fully buffered here, whatever PYTHONUNBUFFERED says, and flushed
# at the end of each phase of each test while pytest still captures the phase
# (trylast: inside the capture plugin's wrapper), so no warning reaches the
# terminal between tests. After the teardown the test's fixture values are
# dropped and what it left in reference cycles (the frames that a caught
# exception's traceback keeps, with the records in them) is collected, so
# that its warnings are the test's own; what survives is frozen, which keeps
# each collection down to the objects made since the last test.

LEAK_WARNING = qxtest.LEAK_WARNING
_libc = ctypes.CDLL(None)
_libc.setvbuf(ctypes.c_void_p.in_dll(_libc, "stdout"), None, 0, 1 << 16)  # _IOFBF


@pytest.hookimpl(hookwrapper=True, trylast=True)
def pytest_runtest_setup(item):
    yield
    _libc.fflush(None)


@pytest.hookimpl(hookwrapper=True, trylast=True)
def pytest_runtest_call(item):
    yield
    _libc.fflush(None)


@pytest.hookimpl(hookwrapper=True, trylast=True)
def pytest_runtest_teardown(item):
    yield
    if getattr(item, "funcargs", None):
        item.funcargs.clear()
    gc.collect()
    gc.freeze()
    _libc.fflush(None)


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    section = f"Captured stdout {call.when}"
    leaks = [line for name, text in report.sections if name == section
             for line in text.splitlines() if LEAK_WARNING in line]
    if leaks and report.passed:
        report.outcome = "failed"
        report.longrepr = (f"{len(leaks)} leak warning(s) printed during {call.when} (captured stdout below): records, "
                           "cells or copies that the test made or got and did not free")


def _owning(value, depth=0):
    """The pointer objects in `value` (a constant of a test module, a
    parametrize argument) that still own their record."""
    if type(value).__name__ == "SwigPyObject" and type(value).__module__ == "builtins":
        if value.own():
            yield value
    elif depth < 4 and isinstance(value, (list, tuple, set, frozenset)):
        for item in value:
            yield from _owning(item, depth + 1)
    elif depth < 4 and isinstance(value, dict):
        for item in value.values():
            yield from _owning(item, depth + 1)


def _c_stdout_drained():
    """What C stdio still holds, flushed into a file of its own rather than
    the terminal (outside the tests nothing captures it)."""
    with tempfile.TemporaryFile() as sink:
        saved = os.dup(1)
        os.dup2(sink.fileno(), 1)
        try:
            _libc.fflush(None)
        finally:
            os.dup2(saved, 1)
            os.close(saved)
        sink.seek(0)
        return sink.read().decode(errors="replace")


# ---- the sanitizer run -------------------------------------------------------------
# A sanitizer report ends the interpreter at once, and what the runtime wrote
# to stderr is lost with pytest's capture of it. Where QX_RUNNING_TEST names a
# file (scripts/test.sh --sanitize), it holds the test that is running, and
# is removed when the session ends: a file left behind names the test that
# ended the run, which the script runs again uncaptured to show the report.
_RUNNING_TEST = os.environ.get("QX_RUNNING_TEST")


@pytest.hookimpl(tryfirst=True)
def pytest_runtest_protocol(item):
    if _RUNNING_TEST:
        with open(_RUNNING_TEST, "w") as running:
            running.write(f"{item.path}::{item.nodeid.split('::', 1)[1]}\n")


_session_faults = []


def pytest_sessionfinish(session):
    """Frees what the test modules made through qxtest while they were
    collected. A record that a test module or a parametrize list still holds
    owning its storage (it would warn when the interpreter exits), or a leak
    warning printed after the last test, fails the run."""
    if _RUNNING_TEST and os.path.exists(_RUNNING_TEST):
        os.remove(_RUNNING_TEST)
    qxtest.end_session()
    gc.collect()
    faults = [line for line in _c_stdout_drained().splitlines() if LEAK_WARNING in line]
    modules = {}
    for item in session.items:
        callspec = getattr(item, "callspec", None)
        if callspec:
            faults += [f"{item.nodeid}: {obj!r}" for obj in _owning(list(callspec.params.values()))]
        module = getattr(item, "module", None)
        if module is not None:
            modules[module.__name__] = module
    for name, module in sorted(modules.items()):
        faults += [f"{name}.{key}: {obj!r}" for key, value in vars(module).items() for obj in _owning(value)]
    if faults:
        _session_faults.extend(dict.fromkeys(faults))
        session.exitstatus = pytest.ExitCode.TESTS_FAILED


def pytest_terminal_summary(terminalreporter):
    if _session_faults:
        terminalreporter.write_sep("=", "records still owned at the end of the run, or leak warnings printed "
                                        "outside the tests")
        for fault in _session_faults:
            terminalreporter.write_line(fault)
