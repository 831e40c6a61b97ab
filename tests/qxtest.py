"""Assertions and helpers shared by the test files."""
import ast
import contextlib
import ctypes
import functools
import gc
import glob
import importlib
import importlib.util
import os
import re
import signal
import subprocess
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


def proxy_folder():
    """The folder the build writes SWIG's proxy modules to (the proxy of
    _qx_api is qx_api.py): beside the modules, in <build>/python."""
    return os.path.join(os.environ["QX_BUILD_DIR"], "python")


def skip_if_left_out(key):
    """A mark that skips a test needing library `key` when the build leaves
    it out: for tests that cannot skip themselves through module(), such as
    those that run in a forked child (isolated)."""
    name = registry()[key]
    return pytest.mark.skipif(name in left_out_modules(),
                              reason=f"{name} is left out of this build (QX_SKIP_LIBRARIES)")


def missing_modules():
    """The modules of the registry that the build was asked to make but did
    not list: a build configured before the registry had them."""
    built, left_out = built_modules(), left_out_modules()
    return [name for name in registry().values() if name not in built and name not in left_out]


def child_env(*paths, **variables):
    """The environment of a child interpreter that a test starts: this one's,
    with `paths` put first on PYTHONPATH. What PYTHONPATH already holds stays
    behind them: under an interpreter without a test harness of its own it
    holds the harness (scripts/test.sh), which a child running pytest or
    importing this file needs."""
    inherited = os.environ.get("PYTHONPATH")
    return dict(os.environ, PYTHONPATH=os.pathsep.join(list(paths) + ([inherited] if inherited else [])),
                **variables)


# What scripts/test.sh --sanitize preloads for the modules built with the
# sanitizers, and their options.
SANITIZER_VARIABLES = ("LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS")


def tool_env(base=None, **variables):
    """The environment of a build tool that a test runs (cmake, the compiler,
    the build's generators, an interpreter that imports no module of the
    build): `base` (default: this one's) with `variables`, without the
    sanitizers' runtimes, which only the modules built with them need and
    which slow every process they are preloaded into."""
    env = {name: value for name, value in (os.environ if base is None else base).items()
           if name not in SANITIZER_VARIABLES}
    env.update(variables)
    return env


@functools.lru_cache(maxsize=None)
def member_rules(key):
    """Which rule each member type of library `key` follows:
    tests/<key>/<key>_member_rules.py's MEMBER_RULES, {layout type ("T[]" for
    an array of T): rule name}."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), key, f"{key}_member_rules.py")
    found = importlib.util.spec_from_file_location(f"{key}_member_rules", path)
    rules = importlib.util.module_from_spec(found)
    found.loader.exec_module(rules)
    return rules.MEMBER_RULES


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


# ---- records the tests make ----------------------------------------------------
# A record a test makes and drops without freeing it would print the runtime's
# leak warning when it is collected. What the helpers below make or take is
# freed through the module's delete_<R> when the test ends (conftest), or, for
# what a test module makes while it is collected, when the session ends.

_test_records = None    # the running test's, a list while a test runs
_session_records = []   # made outside any test
_destructors = {}       # type name -> the callable that frees such an object
_libc = ctypes.CDLL(None)


def _free_later(delete, obj):
    made = _session_records if _test_records is None else _test_records
    made.append((delete, obj))


def _destructor(obj):
    """The delete_<T> binding of a loaded module that declares the type T of
    the pointer object `obj`. None for anything that is no pointer object,
    and for the copies of value types (u16_t, float64_t, ...), which free
    themselves."""
    match = re.match(r"<Swig Object of type '(\w+) \*'", repr(obj))
    if not match:
        return None
    name = match.group(1)
    if name not in _destructors:
        deletes = [getattr(sys.modules[m], "delete_" + name) for m in built_modules()
                   if hasattr(sys.modules.get(m), "delete_" + name)]
        _destructors[name] = deletes[0] if deletes else None
    return _destructors[name]


def owned(value):
    """Frees what a binding returned when the test ends: `value` if it is a
    pointer object (an owned record, cell or copy; a view frees nothing), or
    each pointer object in a list or tuple of results. Returns `value`."""
    if isinstance(value, (list, tuple)):
        for item in value:
            owned(item)
    else:
        delete = _destructor(value)
        if delete:
            _free_later(delete, value)
    return value


def new_record(module, name, **fields):
    """A new record `name` of `module` with the given fields set through the
    module's setters, freed when the test ends."""
    obj = getattr(module, "new_" + name)()
    _free_later(getattr(module, "delete_" + name), obj)
    for field, value in fields.items():
        getattr(module, f"{name}_{field}_set")(obj, value)
    return obj


def start_test():
    """What the helpers make from now on belongs to the running test."""
    global _test_records
    _test_records = []


def end_test():
    """Frees what the test made, last made first."""
    global _test_records
    made, _test_records = _test_records or [], None
    for delete, obj in reversed(made):
        delete(obj)


def end_session():
    """Frees what the test modules made while they were collected."""
    for delete, obj in reversed(_session_records):
        delete(obj)
    _session_records.clear()


def c_stdout(capfd):
    """What the test printed to stdout since capfd was last read, C stdio's
    buffer (the leak warnings) flushed first."""
    _libc.fflush(None)
    return capfd.readouterr().out


def isolated(test):
    """Runs the test in a forked child; its traceback, a signal that ended it
    or a hang (10 s) fails the test. For tests that register classes (which
    changes the type table for the rest of the process) or whose fault could
    crash the interpreter. The child frees what the test made through the
    helpers above before it ends; what it prints reaches the test's output."""
    @functools.wraps(test)
    def run(*args, **kwargs):
        sys.stdout.flush()
        sys.stderr.flush()
        _libc.fflush(None)  # the child must not print the parent's buffered output again
        read_end, write_end = os.pipe()
        pid = os.fork()
        if pid == 0:
            os.close(read_end)
            status = 0
            try:
                test(*args, **kwargs)
                end_test()
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


# A Python class gives a buffer (__buffer__) from CPython 3.12 on.
needs_buffer_protocol = pytest.mark.skipif(sys.version_info < (3, 12),
                                           reason="a Python class gives a buffer from CPython 3.12 on (__buffer__)")


class Source:
    """A bytes-like object whose __buffer__ runs `during` first: Python code
    that runs while a binding converts its arguments (memmove's source)."""

    def __init__(self, data, during):
        self.data, self.during = data, during

    def __buffer__(self, flags):
        self.during()
        return memoryview(self.data)


def c_heap_in_use():
    """Bytes the C heap has handed out (glibc's mallinfo2), or None where it
    does not tell (the sanitizers' allocator)."""
    if not hasattr(_libc, "mallinfo2"):
        return None

    class Mallinfo2(ctypes.Structure):
        _fields_ = [(name, ctypes.c_size_t) for name in
                    ("arena", "ordblks", "smblks", "hblks", "hblkhd", "usmblks", "fsmblks", "uordblks",
                     "fordblks", "keepcost")]

    _libc.mallinfo2.restype = Mallinfo2
    return _libc.mallinfo2().uordblks or None


def drained(capfd):
    """Collects what earlier tests left and drops the output so far."""
    gc.collect()
    c_stdout(capfd)


def trovix_port(trovix, signals=None):
    """The Trovix interface (controller 2 of the simulated device), its
    stack initialised through `trovix` (_qx_api_trovix) and, where given,
    the signals of the text configured: its port handle."""
    import _qx_api
    info = new_record(_qx_api, "Qx_InterfaceInfo_t", Type=_qx_api.QX_INTERFACE_TYPE__TROVIX)
    _qx_api.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(_qx_api.Qx_InterfaceInfo_t_Parameters_get(info), 2)
    port = _qx_api.Qx_OpenInterface(info)
    trovix.Qx_Trovix_InitInterface(port, 0)
    if signals:
        trovix.Qx_Trovix_Signal_Config(port, signals)
    return port


def frees_itself_silently(capfd, make):
    """Asserts that objects `make()` returns, collected, free their storage
    and print nothing: 20000 of them made and dropped leave the C heap as it
    was (where the heap tells; 20000 objects kept would hold hundreds of
    kilobytes)."""
    drained(capfd)
    for _ in range(200):
        make()  # warm-up: the allocator's free lists settle
    before = c_heap_in_use()
    for _ in range(20000):
        make()
    after = c_heap_in_use()
    gc.collect()
    assert c_stdout(capfd) == ""
    if before is not None:
        assert after - before < 4096


# ---- scripts as a user runs them ------------------------------------------------

LEAK_WARNING = "swig/python detected a memory leak"


def system_modules(source, filename="<script>"):
    """The modules of the system that Python code imports: the extension
    modules (_qx_api, ...) by their names, SWIG's proxy modules (qx_api, ...)
    by the names of the modules under them."""
    names = set()
    for node in ast.walk(ast.parse(source, filename)):
        if isinstance(node, ast.Import):
            names.update(alias.name for alias in node.names)
        elif isinstance(node, ast.ImportFrom) and node.module:
            names.add(node.module)
    return sorted({"_" + name.lstrip("_") for name in names if name.lstrip("_").startswith("qx_")})


def run_script(path, cwd, env=None):
    """Runs the Python script `path` in an interpreter of its own (this one's
    executable) from `cwd`, in `env` (default: this environment, which passes
    on QX_BUILD_DIR and, in the sanitizer run, the preloaded runtimes and their
    options). Returns its stdout and what was wrong with the run: a status
    other than 0, anything on stderr, a leak warning."""
    done = subprocess.run([sys.executable, path], cwd=cwd, env=env, capture_output=True, text=True, timeout=120)
    faults = []
    if done.returncode != 0:
        faults.append(f"ended with status {done.returncode}")
    if done.stderr:
        faults.append("printed on stderr:\n" + done.stderr)
    leaks = [line for line in done.stdout.splitlines() if LEAK_WARNING in line]
    if leaks:
        faults.append("let records go unfreed:\n" + "\n".join(leaks))
    return done.stdout, faults


# ---- interpreters ---------------------------------------------------------------

def pyenv_interpreters():
    """{(major, minor): interpreter} of the CPythons 3 that pyenv has, the
    newest release of each, in version order."""
    versions = os.path.join(os.environ.get("PYENV_ROOT", os.path.expanduser("~/.pyenv")), "versions")
    found = {}
    for folder in glob.glob(os.path.join(versions, "3.*.*")):
        release = os.path.basename(folder).split(".")
        if len(release) != 3 or not all(part.isdigit() for part in release):
            continue
        major, minor, patch = map(int, release)
        python = os.path.join(folder, "bin", f"python{major}.{minor}")
        if os.access(python, os.X_OK) and patch >= found.get((major, minor), (-1, None))[0]:
            found[(major, minor)] = patch, python
    return {version: python for version, (_, python) in sorted(found.items())}


def python_version(python):
    """The version of an interpreter, as platform gives it ("3.10.13")."""
    return subprocess.run([python, "-c", "import platform; print(platform.python_version())"],
                          capture_output=True, text=True, check=True, timeout=60).stdout.strip()


def make_venv(folder):
    """A virtual environment of this interpreter, without pip, in `folder`
    (a pathlib.Path): its interpreter."""
    subprocess.run([sys.executable, "-m", "venv", "--without-pip", str(folder)],
                   capture_output=True, check=True, timeout=120)
    return str(folder / "bin" / "python")
