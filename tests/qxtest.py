"""Assertions shared by the test files."""
import contextlib
import importlib
import os
import re

import pytest


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
