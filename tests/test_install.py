"""Installing: `cmake --install` puts the modules, SWIG's proxy modules over
them and the simulated device where the interpreter the build is for
imports them. A virtual environment of the interpreter under test, a build
for it (of the base and CAN libraries, which the script needs) in a folder
first configured for the interpreter under test itself, and an install into
it, with the default prefix and with --prefix, all below a folder whose name
holds a space: the environment's interpreter, with no PYTHONPATH, opens a
CAN interface through a proxy class and reads an array of the storage
module."""
import os
import subprocess
import sys
import sysconfig

import pytest

import _qx_api as q
import qxtest
from qxsim import mapped_files

can = qxtest.module("_qx_api_can")

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
UNDER_SANITIZER = "libasan" in os.environ.get("LD_PRELOAD", "")

SCRIPT = """\
import qx_api
import qx_api_can
import qx_storage

info = qx_api.Qx_InterfaceInfo_t()
info.Type = qx_api.QX_INTERFACE_TYPE__CAN
port = qx_api.Qx_OpenInterface(info)
actual = qx_api_can.Qx_Can_Node_Baudrate_Set(port, 500000, qx_api_can.Qx_Can_Node_Baudrate_Set_ExtendedParam_t())
print(f"port 0x{port:08X}: {actual.Baudrate} bit/s, {actual.NumberOfTimeQuanta} time quanta")
qx_api.Qx_CloseInterface(port)
print(qx_storage.cdata(qx_storage.new_u8_array(2), 2))
with open("/proc/self/maps") as maps:
    print("".join(line for line in maps if "qx_" in line), end="")
"""


def run(*command, **kwargs):
    done = subprocess.run(command, capture_output=True, text=True, timeout=600, **kwargs)
    assert done.returncode == 0, f"{' '.join(command)}:\n{done.stdout[-3000:]}\n{done.stderr[-3000:]}"
    return done.stdout


@pytest.fixture(scope="module")
def venv_build(tmp_path_factory):
    """A virtual environment of this interpreter and a build for it, in a
    folder configured for this interpreter first: the install prefix, the
    site-packages folder and the extension suffix follow the interpreter the
    folder is configured for last."""
    top = tmp_path_factory.mktemp("install") / "my work"
    venv, build = top / "venv", top / "build"
    python = qxtest.make_venv(venv)
    others = [key for key in qxtest.registry() if key not in ("base", "can")]
    for interpreter in (sys.executable, python):
        run("cmake", "-S", ROOT, "-B", str(build), f"-DPython3_EXECUTABLE={interpreter}",
            f"-DQX_SKIP_LIBRARIES={';'.join(others)}")
    run("cmake", "--build", str(build), f"-j{os.cpu_count()}")
    return python, build


def site_packages(python):
    return run(python, "-c", "import sysconfig; print(sysconfig.get_path('platlib'))").strip()


def expected_device_answer():
    """What the simulated device answers the script, asked here through the
    build under test."""
    port = q.Qx_OpenInterface(qxtest.new_record(q, "Qx_InterfaceInfo_t", Type=q.QX_INTERFACE_TYPE__CAN))
    actual = qxtest.owned(can.Qx_Can_Node_Baudrate_Set(port, 500000,
                                                       qxtest.new_record(can, "Qx_Can_Node_Baudrate_Set_ExtendedParam_t")))
    q.Qx_CloseInterface(port)
    return (f"port 0x{port:08X}: {can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_get(actual)} bit/s, "
            f"{can.Qx_Can_Node_Baudrate_ActualValues_t_NumberOfTimeQuanta_get(actual)} time quanta")


@pytest.mark.skipif(UNDER_SANITIZER, reason="builds anew, without the sanitizers")
@pytest.mark.parametrize("prefix", [None, "my prefix"])
def test_installed_modules_import_with_no_path_given(sim, venv_build, tmp_path, prefix):
    python, build = venv_build
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "QX_BUILD_DIR")}
    if prefix is None:
        run("cmake", "--install", str(build))
        folder = site_packages(python)
    else:
        # Another prefix: the same folder below it, which the script is given.
        run("cmake", "--install", str(build), "--prefix", str(tmp_path / prefix))
        interpreter_prefix = run(python, "-c", "import sys; print(sys.prefix)").strip()
        folder = str(tmp_path / prefix / os.path.relpath(site_packages(python), interpreter_prefix))
        env["PYTHONPATH"] = folder
    modules = (build / "python" / "qx_modules.txt").read_text().split()
    assert modules == ["_qx_api", "_qx_api_can", "_qx_storage"]
    # The modules carry the interpreter's extension suffix, as every module
    # of its site-packages does; the storage module binds no library.
    binaries = ([m + sysconfig.get_config_var("EXT_SUFFIX") for m in modules]
                + ["lib" + m[1:] + ".so" for m in modules if m != "_qx_storage"])
    assert sorted(os.listdir(folder)) == sorted(binaries + [m[1:] + ".py" for m in modules])
    answer, storage, maps = run(python, "-c", SCRIPT, env=env, cwd=tmp_path).split("\n", 2)
    assert (answer, storage) == (expected_device_answer(), repr(bytes(2)))
    # the modules and the simulated device, all loaded from the installed folder
    loaded = set(mapped_files(maps.splitlines()))
    assert sorted(os.path.basename(path) for path in loaded) == sorted(binaries)
    assert {os.path.dirname(path) for path in loaded} == {os.path.realpath(folder)}


@pytest.mark.parametrize("line, path", [
    ("7f3a1c000000-7f3a1c022000 r-xp 00000000 fd:01 1234     /usr/lib/x86_64-linux-gnu/libc.so.6\n",
     "/usr/lib/x86_64-linux-gnu/libc.so.6"),
    # a checkout below a folder whose name holds spaces
    ("7f3a1c022000-7f3a1c023000 r--p 00002000 fd:01 99   /home/me/my work/qx  python/build/lib/libqx_api.so\n",
     "/home/me/my work/qx  python/build/lib/libqx_api.so"),
    ("7ffd2c000000-7ffd2c021000 rw-p 00000000 00:00 0                          [stack]\n", None),
    ("55d0c0000000-55d0c0001000 rw-p 00000000 00:00 0 \n", None),
])
def test_mapped_files_are_read_whole(line, path):
    assert list(mapped_files([line])) == ([path] if path else [])
