"""The interpreter that runs this file, as the scripts name it.

Run as a script, prints three lines: the interpreter's path
(sys.executable: a virtual environment's own interpreter stays itself), its
name and version for the scripts to announce ("CPython 3.12.1", with
"(debug build)" for one, "in the virtual environment <folder>" for one),
and the name of its build folder. Runs under any CPython 3, so that an
interpreter too old for the modules is still named.
"""
import hashlib
import platform
import sys


def virtual_environment():
    """The folder of the virtual environment this interpreter belongs to, or
    None for an interpreter of its own installation."""
    return sys.prefix if sys.prefix != getattr(sys, "base_prefix", sys.prefix) else None


def build_name():
    """The build folder of this interpreter below build/: its implementation,
    version and ABI flags (cpython-3.12.1; cpython-3.11.2d for a debug
    build), and for a virtual environment a tag of its folder
    (cpython-3.12.1-venv-1f0e2d3c), so that no two interpreters share a
    build."""
    name = "{}-{}{}".format(sys.implementation.name, platform.python_version(), getattr(sys, "abiflags", ""))
    venv = virtual_environment()
    if venv:
        name += "-venv-" + hashlib.sha256(venv.encode("utf-8", "surrogateescape")).hexdigest()[:8]
    return name


if __name__ == "__main__":
    debug = " (debug build)" if "d" in getattr(sys, "abiflags", "") else ""
    venv = virtual_environment()
    where = " in the virtual environment {}".format(venv) if venv else ""
    print(sys.executable)
    print("{} {}{}{}".format(platform.python_implementation(), platform.python_version(), debug, where))
    print(build_name())
