"""The test harness: tests/harness.py links the tools' interpreter's pytest
and pycparser (Debian's, pure Python) into a folder that an interpreter
without its own puts on PYTHONPATH, and tests/CMakeLists.txt makes it as
<build>/harness. Below CPython 3.11 pytest also imports the backports
exceptiongroup and tomli, which the tools' interpreter (3.11) never imports:
the harness links them for such a version, and without them there is no
harness, said plainly."""
import os
import subprocess

import pytest

import qxtest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
HARNESS = os.path.join(ROOT, "tests", "harness.py")
BACKPORTS = {"exceptiongroup", "tomli"}


def tools_python():
    """The interpreter the build under test runs its tools under, which the
    harness comes from."""
    with open(os.path.join(os.environ["QX_BUILD_DIR"], "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith("QX_TOOL_PYTHON:"):
                return line.partition("=")[2].strip()
    raise AssertionError("no QX_TOOL_PYTHON in the build's CMakeCache.txt")


def below_3_11():
    """pyenv's CPython 3.9 and 3.10 on this machine, newest of each."""
    return [python for version, python in qxtest.pyenv_interpreters().items() if (3, 9) <= version < (3, 11)]


@pytest.fixture
def environment(tmp_path):
    """environment(*hidden): the environment of a child process, without the
    harness this run may have on PYTHONPATH (a package imported through it
    would not be seen as one of site-packages), in which the packages named
    `hidden` cannot be imported, as on a machine that lacks them."""
    def make(*hidden):
        env = {name: value for name, value in qxtest.tool_env().items() if name != "PYTHONPATH"}
        if hidden:
            folder = tmp_path / "hidden"
            folder.mkdir(exist_ok=True)
            for name in hidden:
                (folder / f"{name}.py").write_text(
                    f"raise ModuleNotFoundError(\"No module named '{name}'\", name={name!r})\n")
            env["PYTHONPATH"] = str(folder)
        return env
    return make


def make_harness(folder, version, env):
    return subprocess.run([tools_python(), HARNESS, str(folder), version],
                          capture_output=True, text=True, env=env, timeout=120)


@pytest.mark.parametrize("version, backports", [
    ("3.9.18", True),
    ("3.10", True),
    ("3.11.2", False),
    ("3.12.1", False),
])
def test_the_backports_are_linked_below_3_11_only(tmp_path, environment, version, backports):
    folder = tmp_path / "harness"
    done = make_harness(folder, version, environment())
    assert done.returncode == 0, done.stderr
    linked = set(os.listdir(folder))
    assert linked == set(done.stdout.split())
    assert {"pytest", "_pytest", "pluggy", "pycparser"} <= linked
    assert (BACKPORTS <= linked) if backports else not (BACKPORTS & linked), linked
    assert all(os.path.exists(folder / name) for name in linked)  # no dangling link


@pytest.mark.parametrize("python", below_3_11() or [pytest.param(None, marks=pytest.mark.skip(
    reason="no CPython 3.9 or 3.10 from pyenv on this machine"))])
def test_pytest_runs_under_an_interpreter_below_3_11_with_its_harness(tmp_path, environment, python):
    # pyproject.toml is read through tomli below 3.11, and only the file it
    # names is collected; pytest imports exceptiongroup as it starts.
    folder = tmp_path / "harness"
    done = make_harness(folder, qxtest.python_version(python), environment())
    assert done.returncode == 0, done.stderr
    suite = tmp_path / "suite"
    suite.mkdir()
    (suite / "pyproject.toml").write_text('[tool.pytest.ini_options]\npython_files = ["probe_*.py"]\n')
    (suite / "probe_harness.py").write_text("import pycparser\n\n\ndef test_probe():\n"
                                            "    assert pycparser.c_parser.CParser\n")
    env = dict(environment(), PYTHONPATH=str(folder))
    ran = subprocess.run([python, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                          "-c", str(suite / "pyproject.toml"), str(suite)],
                         capture_output=True, text=True, env=env, cwd=suite, timeout=120)
    assert ran.returncode == 0 and "1 passed" in ran.stdout, ran.stdout + ran.stderr


@pytest.mark.parametrize("hidden, package, other", [
    ("exceptiongroup", "python3-exceptiongroup", "python3-tomli"),
    ("tomli", "python3-tomli", "python3-exceptiongroup"),
])
def test_a_missing_backport_gives_no_harness_below_3_11_and_names_its_package(
        tmp_path, environment, hidden, package, other):
    folder = tmp_path / "harness"
    done = make_harness(folder, "3.10.13", environment(hidden))
    assert done.returncode != 0
    assert f"install {package}" in done.stderr and other not in done.stderr, done.stderr
    assert not folder.exists()
    # The same interpreter makes the harness of a version that needs no backport.
    done = make_harness(folder, "3.12.1", environment(hidden))
    assert done.returncode == 0, done.stderr
    assert hidden not in os.listdir(folder)


@pytest.mark.skipif(not below_3_11(), reason="no CPython 3.9 or 3.10 from pyenv on this machine")
@pytest.mark.parametrize("hidden", [(), ("exceptiongroup",)])
def test_configuring_for_an_interpreter_below_3_11(tmp_path, environment, hidden):
    python = below_3_11()[-1]
    build = tmp_path / "build"
    done = subprocess.run(["cmake", "-S", ROOT, "-B", str(build), f"-DPython3_EXECUTABLE={python}",
                           f"-DQX_TOOL_PYTHON={tools_python()}"],
                          capture_output=True, text=True, env=environment(*hidden), timeout=300)
    said = " ".join((done.stdout + done.stderr).split())
    assert done.returncode == 0, said
    if hidden:
        assert f"No test harness for {python}" in said and "install python3-exceptiongroup" in said, said
        assert "Test harness from" not in said
        assert not (build / "harness").exists()
    else:
        assert "Test harness from" in said and "No test harness" not in said, said
        assert BACKPORTS <= set(os.listdir(build / "harness"))
