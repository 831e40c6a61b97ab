"""The example scripts: every script in examples/ runs as a user runs it, in
an interpreter of its own (this one's executable) against the build under
test, from a folder of its own. It must end with status 0, print nothing on
stderr and no leak warning, and print the lines below that only the
simulated device's answers make. An example that imports a module the build
was asked to leave out is skipped. With no variable set, an example finds
the build of the interpreter running it by the scripts' folder rule, or says
how to make it."""
import glob
import os
import shlex
import shutil
import sys

import pytest

import interpreter
import qxtest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
EXAMPLES = os.path.join(ROOT, "examples")

# Lines each example prints from what the device answered (leading and
# trailing blanks aside): data, counts and texts that the script does not
# hold itself.
ROUND_TRIPS = {
    "base_tour.py": [
        "device serial number 204711",
        "the device answered        62 F1 90",
    ],
    "common_tour.py": [
        "firmware QX-FW 4.2.17 (simulated)",
        "position 2: LIN TJA1020 (flags 0x00)",
    ],
    "can_tour.py": [
        "250000 bit/s (controller clock 80 MHz): 20 time quanta (TSeg1 16, TSeg2 3, SJW 3), sample point 85 %",
        "at 4294967401 us: id 0x124, DLC 2, data A0 A1",
    ],
    "proxy_tour.py": [
        "250000 bit/s (controller clock 80 MHz): 20 time quanta (TSeg1 16, TSeg2 3, SJW 3), sample point 85 %",
        "at 4294967401 us: id 0x7DF, DLC 3, data 02 01 0D",
    ],
    "trovix_tour.py": [
        "read 2500 (2 bytes, response flags 0x1)",
        "it includes 2 signals, the first EngineSpeed at bit 8",
    ],
    "storage_tour.py": [
        "uploaded 8 bytes from 0x0001000E: 00 00 01 02 03 FE FF 00",
        "ramp state: running, error flags 0x0, ramp sum 0, current value 10",
        "signal 0x103 at 0x0001000C: 1C 1D 1E 1F",
        "at offset 45, 10 bytes: 90 91 92 93 94 95 96 97 98 99",
    ],
}


def examples():
    return sorted(os.path.basename(path) for path in glob.glob(os.path.join(EXAMPLES, "*.py")))


def imported_modules(path):
    with open(path) as source:
        return qxtest.system_modules(source.read(), path)


@pytest.mark.parametrize("name", examples())
def test_example_runs_and_reaches_the_device(name, tmp_path):
    path = os.path.join(EXAMPLES, name)
    left_out = [module for module in imported_modules(path) if module in qxtest.left_out_modules()]
    if left_out:
        pytest.skip(f"{name} imports {', '.join(left_out)}, left out of this build (QX_SKIP_LIBRARIES)")
    assert name in ROUND_TRIPS, f"say in ROUND_TRIPS which lines of {name} show the device's answers"
    out, faults = qxtest.run_script(path, tmp_path)
    assert not faults, f"examples/{name} " + "; ".join(faults) + "\nstdout:\n" + out
    printed = [line.strip() for line in out.splitlines()]
    missing = [line for line in ROUND_TRIPS[name] if line not in printed]
    assert not missing, f"examples/{name} did not print {missing}\nstdout:\n{out}"


def test_every_round_trip_names_an_example():
    assert sorted(set(ROUND_TRIPS) - set(examples())) == []


@pytest.mark.parametrize("built", [True, False], ids=["built", "not built"])
def test_with_no_variable_set_an_example_finds_the_build_of_its_interpreter(tmp_path, built):
    # A checkout of the example and the scripts' folder rule alone, whose
    # build folder for this interpreter is the build under test, or missing.
    checkout = tmp_path / "my checkout"
    for part in ("examples/base_tour.py", "scripts/interpreter.py"):
        (checkout / part).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(os.path.join(ROOT, part), checkout / part)
    folder = checkout / "build" / interpreter.build_name()
    if built:
        folder.parent.mkdir()
        folder.symlink_to(os.environ["QX_BUILD_DIR"], target_is_directory=True)
    env = {k: v for k, v in os.environ.items() if k not in ("QX_BUILD_DIR", "PYTHONPATH")}
    out, faults = qxtest.run_script(str(checkout / "examples" / "base_tour.py"), tmp_path, env)
    if built:
        assert not faults, "; ".join(faults)
        assert ROUND_TRIPS["base_tour.py"][0] in out
    else:
        build = f"QX_PYTHON={shlex.quote(sys.executable)} bash {shlex.quote(str(checkout / 'scripts' / 'build.sh'))}"
        assert faults == ["ended with status 1",
                          f"printed on stderr:\nNothing is built for {interpreter.name()} ({sys.executable}): "
                          f"no modules in {folder}/python.\nBuild them with:\n  {build}\n"]


# The run's checks, each given a script that trips it.
FAULTY = [
    ("import sys\nprint('half way')\nsys.exit(3)\n", "ended with status 3"),
    ("import sys\nprint('a warning', file=sys.stderr)\n", "printed on stderr:\na warning\n"),
    ("import os, sys\n"
     "sys.path.insert(0, os.path.join(os.environ['QX_BUILD_DIR'], 'python'))\n"
     "import _qx_api\n"
     "cell = _qx_api.new_int_p()\n",  # still owning its cell when the interpreter ends
     "let records go unfreed:\nswig/python detected a memory leak of type 'int_p *', no destructor found."),
]


@pytest.mark.parametrize("script, fault", FAULTY)
def test_a_faulty_script_is_caught(tmp_path, script, fault):
    path = tmp_path / "faulty.py"
    path.write_text(script)
    out, faults = qxtest.run_script(str(path), tmp_path)
    assert faults == [fault]
