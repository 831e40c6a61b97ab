"""The example scripts: every script in examples/ runs as a user runs it, in
an interpreter of its own (this one's executable) against the build under
test, from a folder of its own. It must end with status 0, print nothing on
stderr and no leak warning, and print the lines below that only the
simulated device's answers make. An example that imports a module the build
was asked to leave out is skipped."""
import ast
import glob
import os
import subprocess
import sys

import pytest

import qxtest

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
LEAK_WARNING = "swig/python detected a memory leak"

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
    "trovix_tour.py": [
        "read 2500 (2 bytes, response flags 0x1)",
        "it includes 2 signals, the first EngineSpeed at bit 8",
    ],
    "storage_tour.py": [
        "uploaded 8 bytes from 0x0001000E: 00 00 01 02 03 FE FF 00",
        "ramp state: running, error flags 0x0, ramp sum 0, current value 10",
    ],
}


def examples():
    return sorted(os.path.basename(path) for path in glob.glob(os.path.join(EXAMPLES, "*.py")))


def imported_modules(path):
    """The modules of the system (_qx_...) that the script imports."""
    with open(path) as source:
        tree = ast.parse(source.read(), path)
    names = set()
    for node in ast.walk(tree):
        if isinstance(node, ast.Import):
            names.update(alias.name for alias in node.names)
        elif isinstance(node, ast.ImportFrom) and node.module:
            names.add(node.module)
    return sorted(name for name in names if name.startswith("_qx_"))


def run(path, cwd):
    """Runs the script; returns its stdout and what was wrong with the run."""
    # The environment passes on QX_BUILD_DIR (and, in the sanitizer run, the
    # preloaded runtimes and their options).
    done = subprocess.run([sys.executable, path], cwd=cwd, capture_output=True, text=True, timeout=120)
    faults = []
    if done.returncode != 0:
        faults.append(f"ended with status {done.returncode}")
    if done.stderr:
        faults.append("printed on stderr:\n" + done.stderr)
    leaks = [line for line in done.stdout.splitlines() if LEAK_WARNING in line]
    if leaks:
        faults.append("let records go unfreed:\n" + "\n".join(leaks))
    return done.stdout, faults


@pytest.mark.parametrize("name", examples())
def test_example_runs_and_reaches_the_device(name, tmp_path):
    path = os.path.join(EXAMPLES, name)
    left_out = [module for module in imported_modules(path) if module in qxtest.left_out_modules()]
    if left_out:
        pytest.skip(f"{name} imports {', '.join(left_out)}, left out of this build (QX_SKIP_LIBRARIES)")
    assert name in ROUND_TRIPS, f"say in ROUND_TRIPS which lines of {name} show the device's answers"
    out, faults = run(path, tmp_path)
    assert not faults, f"examples/{name} " + "; ".join(faults) + "\nstdout:\n" + out
    printed = [line.strip() for line in out.splitlines()]
    missing = [line for line in ROUND_TRIPS[name] if line not in printed]
    assert not missing, f"examples/{name} did not print {missing}\nstdout:\n{out}"


def test_every_round_trip_names_an_example():
    assert sorted(set(ROUND_TRIPS) - set(examples())) == []


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
    out, faults = run(str(path), tmp_path)
    assert faults == [fault]
