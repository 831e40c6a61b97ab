"""Makes a folder that gives another interpreter the test harness.

    /usr/bin/python3 tests/harness.py <folder> <version>

The test suite imports two things from outside the standard library: pytest
and pycparser (the generators' tests). Debian's packages have them for
Debian's python3 only; no other package registry is reachable here. Run
under an interpreter that has them, this script fills <folder> with links to
the top-level packages that pytest and pycparser import (pytest's own
dependencies among them), and nothing else of that interpreter's
site-packages. Put on PYTHONPATH, the folder gives them to another CPython,
such as 3.12 or 3.13: every one of them is pure Python, which the script
checks.

<version> is the version of the interpreter the folder is for (3.10, or
3.10.13 as CMake's Python3_VERSION gives it). Below 3.11 pytest also
imports backports of what the standard library has from 3.11 on, which an
interpreter of 3.11 or newer never imports: the script imports and links
them too for such a version. When one cannot be imported the script makes
no folder and fails, naming the Debian package that brings it.
"""
import glob
import importlib
import os
import sys

# Imported by pytest below the version given, in place of the standard
# library's own from that version on: {name: (version, Debian package)}.
BACKPORTS = {
    "exceptiongroup": ((3, 11), "python3-exceptiongroup"),  # the builtin ExceptionGroup
    "tomli": ((3, 11), "python3-tomli"),  # tomllib, for pyproject.toml
}

already = set(sys.modules)  # what the interpreter's start-up imported (.pth hooks)

import packaging.version  # noqa: E402,F401  (pytest imports it when it checks minversion)
import pycparser  # noqa: E402,F401
import pytest  # noqa: E402,F401
from _pytest.config import get_config  # noqa: E402

get_config()  # imports pytest's built-in plugins, and what they import


def target_version(text):
    """(major, minor) of a version such as "3.10" or "3.10.13"."""
    parts = text.split(".")
    try:
        return int(parts[0]), int(parts[1])
    except (IndexError, ValueError):
        sys.exit(f"harness: not a Python version: {text!r}")


def import_backports(version):
    """Imports the backports that pytest imports under `version`; fails
    naming the packages that bring those this interpreter lacks."""
    shown = ".".join(map(str, version))
    missing = []
    for name, (since, package) in sorted(BACKPORTS.items()):
        if version >= since:
            continue
        try:
            importlib.import_module(name)
        except ImportError:
            missing.append((name, package))
    if missing:
        sys.exit(f"harness: pytest under Python {shown} needs {', '.join(name for name, _ in missing)}, "
                 f"which {sys.executable} cannot import: install "
                 f"{' '.join(package for _, package in missing)}")


def packages():
    """{top-level name: path of the package folder or module file} of the
    modules imported above that come from a site-packages folder."""
    found = {}
    for name, module in list(sys.modules.items()):
        top = name.partition(".")[0]
        path = getattr(module, "__file__", None)
        if top in already or top in found or not path:
            continue
        parts = os.path.abspath(path).split(os.sep)
        roots = [i for i, part in enumerate(parts) if part in ("site-packages", "dist-packages")]
        if not roots:
            continue  # the standard library
        root = os.sep.join(parts[:roots[-1] + 1])
        package = os.path.join(root, top)
        found[top] = package if os.path.isdir(package) else os.path.join(root, top + ".py")
    return found


def main(folder, version):
    import_backports(target_version(version))
    found = packages()
    compiled = [name for name, path in found.items()
                if os.path.isdir(path) and glob.glob(os.path.join(path, "**", "*.so"), recursive=True)]
    if compiled:
        sys.exit(f"harness: not pure Python, so not for another interpreter: {', '.join(sorted(compiled))}")
    os.makedirs(folder, exist_ok=True)
    for entry in os.listdir(folder):
        os.unlink(os.path.join(folder, entry))
    for name, path in sorted(found.items()):
        os.symlink(path, os.path.join(folder, os.path.basename(path)))
    print(" ".join(sorted(found)))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
