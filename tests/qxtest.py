"""Assertions shared by the test files."""
import contextlib
import importlib
import os

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


def new_record(module, name, **fields):
    """A new record `name` of `module` with the given fields set through the
    module's setters."""
    obj = getattr(module, "new_" + name)()
    for field, value in fields.items():
        getattr(module, f"{name}_{field}_set")(obj, value)
    return obj
