"""Assertions and helpers shared by the test files."""
import contextlib
import ctypes
import importlib
import os
import re
import sys

import pytest


@contextlib.contextmanager
def raises_exactly(exc, message):
    """Like pytest.raises, for exactly `exc` (no subclass) with exactly `message`."""
    with pytest.raises(exc) as info:
        yield info
    assert type(info.value) is exc
    assert str(info.value) == message


def built_modules():
    """The modules the build made (python/qx_modules.txt, one a line)."""
    with open(os.path.join(os.environ["QX_BUILD_DIR"], "python", "qx_modules.txt")) as listing:
        return [line.strip() for line in listing if line.strip()]


def module(name):
    """Imports a module of the system for a test file. A module that the build
    did not make skips the file; a built module that fails to import is an
    error, never a skip."""
    if name not in built_modules():
        pytest.skip(f"{name} is not built", allow_module_level=True)
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
    the pointer object `obj`; for the copies of types that no module has a
    destructor for (u64_t, float64_t, ...), the helper module's qxt_free.
    None for anything that is no pointer object."""
    match = re.match(r"<Swig Object of type '(\w+) \*'", repr(obj))
    if not match:
        return None
    name = match.group(1)
    if name not in _destructors:
        deletes = [getattr(sys.modules[m], "delete_" + name) for m in built_modules()
                   if hasattr(sys.modules.get(m), "delete_" + name)]
        _destructors[name] = deletes[0] if deletes else importlib.import_module("_qx_testhelpers").qxt_free
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
