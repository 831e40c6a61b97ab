"""The interpreter that runs this file, as the scripts name it, and the
build folder they make for it.

Run as a script, prints three lines: the interpreter's path
(sys.executable: a virtual environment's own interpreter stays itself), its
name and version for the scripts to announce ("CPython 3.12.1", with
"(debug build)" for one, "in the virtual environment <folder>" for one),
and the name of its build folder. Runs under any CPython 3, so that an
interpreter too old for the modules is still named.

Imported, it gives the test suite and the examples the same folder rule
(build_folder), the command that builds a folder that is not built yet
(not_built), and the examples their modules (use_build).
"""
import hashlib
import importlib.machinery
import importlib.util
import os
import platform
import shlex
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


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


def name():
    """The interpreter's name and version as the scripts announce it."""
    debug = " (debug build)" if "d" in getattr(sys, "abiflags", "") else ""
    venv = virtual_environment()
    where = " in the virtual environment {}".format(venv) if venv else ""
    return "{} {}{}{}".format(platform.python_implementation(), platform.python_version(), debug, where)


def build_folder():
    """The build folder of this interpreter: the one QX_BUILD_DIR names,
    else the one the scripts build into, build/<build_name()> of this
    checkout."""
    return os.environ.get("QX_BUILD_DIR") or os.path.join(ROOT, "build", build_name())


def built(folder):
    """Whether `folder` holds modules built for this interpreter (its
    extension suffix) in folder/python."""
    return importlib.machinery.PathFinder.find_spec("_qx_api", [os.path.join(folder, "python")]) is not None


def not_built(folder):
    """What to tell a user who runs something before `folder` is built: that
    nothing is built for this interpreter, where that was looked for, and the
    command that builds it."""
    command = ["QX_PYTHON=" + shlex.quote(sys.executable), "bash",
               shlex.quote(os.path.join(ROOT, "scripts", "build.sh"))]
    if os.path.abspath(folder) != os.path.join(ROOT, "build", build_name()):
        command.insert(0, "BUILD_DIR=" + shlex.quote(folder))
    return ("Nothing is built for {} ({}): no modules in {}.\nBuild them with:\n  {}".format(
        name(), sys.executable, os.path.join(folder, "python"), " ".join(command)))


def use_build():
    """For a script of this checkout (the examples): imports the modules from
    this interpreter's build folder where it is built, else from where the
    interpreter finds them (installed with cmake --install); where there are
    none either, ends the script saying what to build and how."""
    folder = build_folder()
    if built(folder):
        sys.path.insert(0, os.path.join(folder, "python"))
    elif importlib.util.find_spec("_qx_api") is None:
        sys.exit(not_built(folder))


if __name__ == "__main__":
    print(sys.executable)
    print(name())
    print(build_name())
