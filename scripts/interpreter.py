"""The interpreter that runs this file, as the scripts name it.

Run as a script, prints three lines: the interpreter's path
(sys.executable: a virtual environment's own interpreter stays itself), its
name and version for the scripts to announce ("CPython 3.12.1", with
"(debug build)" for one), and the name of its build folder. Runs under any
CPython 3, so that an interpreter too old for the modules is still named.
"""
import platform
import sys


def build_name():
    """The build folder of this interpreter below build/: its implementation,
    version and ABI flags (cpython-3.12.1; cpython-3.11.2d for a debug
    build), so that no two interpreters share a build."""
    return "{}-{}{}".format(sys.implementation.name, platform.python_version(), getattr(sys, "abiflags", ""))


if __name__ == "__main__":
    debug = " (debug build)" if "d" in getattr(sys, "abiflags", "") else ""
    print(sys.executable)
    print("{} {}{}".format(platform.python_implementation(), platform.python_version(), debug))
    print(build_name())
