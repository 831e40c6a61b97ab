"""Configuring a build: an interpreter the modules cannot be built for is
refused there, with a message saying why, before anything is generated or
compiled; a folder configured again for another interpreter follows it."""
import glob
import os
import subprocess
import sys
import sysconfig

import pytest

import qxtest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))


def said(done):
    return done.returncode, " ".join((done.stdout + done.stderr).split())


def configure(build, python, *options):
    return said(subprocess.run(["cmake", "-S", ROOT, "-B", str(build), f"-DPython3_EXECUTABLE={python}", *options],
                               env=qxtest.tool_env(), capture_output=True, text=True, timeout=300))


def build_script(build, python, **variables):
    """scripts/build.sh for `python` into `build`, with `variables` in its
    environment."""
    env = qxtest.tool_env(QX_PYTHON=python, BUILD_DIR=str(build), **variables)
    return said(subprocess.run(["bash", os.path.join(ROOT, "scripts", "build.sh")], env=env,
                               capture_output=True, text=True, timeout=300))


def too_old():
    found = [python for version, python in qxtest.pyenv_interpreters().items() if version < (3, 9)]
    return found[-1] if found else None


@pytest.mark.skipif(not too_old(), reason="no CPython older than 3.9 on this machine")
@pytest.mark.parametrize("how, choice", [(configure, "-DPython3_EXECUTABLE=<python>"),
                                         (build_script, "QX_PYTHON=<python>")], ids=["cmake", "scripts"])
def test_an_interpreter_too_old_is_refused_naming_the_oldest_that_works(tmp_path, how, choice):
    status, message = how(tmp_path / "build", too_old())
    assert status != 0
    assert "the modules build for CPython 3.9 or newer" in message, message
    assert f"Choose another interpreter with {choice}." in message, message
    assert not glob.glob(str(tmp_path / "build" / "params" / "*" / "*"))  # nothing generated


def test_an_interpreter_named_so_that_it_cannot_be_used_is_refused(tmp_path):
    # A relative name that is not found as given: FindPython3 would take
    # another interpreter instead.
    status, message = configure(tmp_path / "build", "no-such-folder/python3")
    assert status != 0
    assert "Python3_EXECUTABLE=no-such-folder/python3 cannot be used as given" in message, message


@pytest.mark.parametrize("python, variables, says", [
    ("/no/such/python3.12", {}, "QX_PYTHON=/no/such/python3.12: there is no such interpreter. Name one by its full "
                                "path (QX_PYTHON=$(pyenv prefix 3.12)/bin/python3.12, QX_PYTHON=/usr/bin/python3)"),
    (sys.executable, {"QX_NATIVE_LIB_DIR": "/opt/qx libs"},
     "QX_NATIVE_LIB_DIR is set (/opt/qx libs), but the scripts build against the simulated device only"),
], ids=["no such interpreter", "native libraries"])
def test_the_scripts_refuse_what_they_cannot_build_saying_why(tmp_path, python, variables, says):
    status, message = build_script(tmp_path / "build", python, **variables)
    assert status == 1 and message.startswith(says), message
    assert "line " not in message and not (tmp_path / "build").exists()
    if variables:
        assert "-DQX_NATIVE_LIB_DIR=/opt/qx libs" in message, message


@pytest.mark.parametrize("native", [False, True], ids=["simulated device", "native libraries"])
def test_configuring_says_which_native_libraries_the_modules_link_against(tmp_path, native):
    folder = tmp_path / "native libs"
    options = ["-DQX_SKIP_LIBRARIES=common;trovix"] + ([f"-DQX_NATIVE_LIB_DIR={folder}"] if native else [])
    status, message = configure(tmp_path / "build", sys.executable, *options)
    assert status == 0, message
    against = (f"the native libraries in {folder} (QX_NATIVE_LIB_DIR)" if native
               else f"the simulated device, built from sim/ into {tmp_path / 'build' / 'lib'}")
    assert f"The modules link against {against}: libqx_api.so, libqx_api_can.so" in message, message


def another_interpreter():
    """An interpreter the modules build for, of another version than this
    one where the machine has one, else this one."""
    candidates = ["/usr/bin/python3"] if os.access("/usr/bin/python3", os.X_OK) else []
    candidates += qxtest.pyenv_interpreters().values()
    for python in candidates:
        version = tuple(int(part) for part in qxtest.python_version(python).split(".")[:2])
        if version != sys.version_info[:2] and version >= (3, 9):
            return python
    return sys.executable


def cache(build):
    entries = {}
    with open(build / "CMakeCache.txt") as lines:
        for line in lines:
            name, _, value = line.rstrip("\n").partition("=")
            entries[name.partition(":")[0]] = value
    return entries


@pytest.mark.parametrize("prefix", [None, "/opt/my qx"], ids=["interpreter's prefix", "prefix given"])
def test_a_folder_configured_for_another_interpreter_follows_it(tmp_path, prefix):
    # Configured for another interpreter first, then for a virtual
    # environment of this one: its development files, extension suffix,
    # site-packages folder and (unless one was given) its prefix.
    venv = tmp_path / "venv"
    python = qxtest.make_venv(venv)
    build = tmp_path / "build"
    first = [f"-DCMAKE_INSTALL_PREFIX={prefix}"] if prefix else []
    status, message = configure(build, another_interpreter(), *first)
    assert status == 0, message
    status, message = configure(build, python)
    assert status == 0, message
    assert cache(build)["CMAKE_INSTALL_PREFIX"] == (prefix or str(venv))
    platlib = subprocess.run([python, "-c", "import os, sys, sysconfig; "
                              "print(os.path.relpath(sysconfig.get_path('platlib'), sys.prefix))"],
                             env=qxtest.tool_env(), capture_output=True, text=True, check=True).stdout.strip()
    assert f"cmake --install puts the modules into <prefix>/{platlib} (prefix {prefix or venv})" in message, message
    assert f"extension suffix {sysconfig.get_config_var('EXT_SUFFIX')}" in message, message
    with open(build / "CMakeFiles" / "py_qx_api.dir" / "flags.make") as flags:
        assert f"-isystem {sysconfig.get_path('include')}" in flags.read()


def script_folder(python, **variables):
    """The build folder the scripts choose for `python` (scripts/python.sh)."""
    env = {k: v for k, v in qxtest.tool_env().items() if k not in ("BUILD_DIR", "QX_SANITIZE")}
    done = subprocess.run(["bash", "-c", 'source "$0" && qx_python && qx_build_dir',
                           os.path.join(ROOT, "scripts", "python.sh")],
                          env=dict(env, QX_PYTHON=python, **variables), capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout.strip()


def test_each_interpreter_builds_into_a_folder_of_its_own(tmp_path):
    # this interpreter, two virtual environments of it, and its sanitizer build
    own = script_folder(sys.executable)
    folders = [own] + [script_folder(qxtest.make_venv(tmp_path / name)) for name in ("one", "two")]
    folders.append(script_folder(sys.executable, QX_SANITIZE="ON"))
    assert len(set(folders)) == 4, folders
    assert {os.path.dirname(folder) for folder in folders} == {os.path.join(ROOT, "build")}
    assert folders[-1] == own + "-sanitize"
