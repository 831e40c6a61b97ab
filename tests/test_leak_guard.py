"""The suite's own guard against leak warnings (conftest.py): a record that a
test drops owning its storage fails that test, with the warning in its
report, wherever the record died (in the test, in a reference cycle, as a
fixture value); one that a test module keeps owning fails the run. Runs a
small test file through pytest in an interpreter of its own, with the
suite's conftest."""
import os
import re
import subprocess
import sys

import qxtest

PROBE = '''
import pytest

import _qx_api as q

KEPT = q.new_Qx_Data_t()  # owning its record when the run ends


@pytest.fixture
def record():
    return q.new_Qx_Data_t()


def test_frees_what_it_makes():
    q.delete_Qx_Data_t(q.new_Qx_Data_t())


def test_drops_a_record():
    q.new_Qx_IpAddress_t()


def test_keeps_a_record_in_a_cycle():
    cell = q.new_int_p()
    try:
        raise ValueError(cell)
    except ValueError as e:
        caught = e  # its traceback holds this frame, and the frame holds it
    assert caught


def test_takes_a_record_from_a_fixture(record):
    assert record
'''


def test_a_leak_warning_fails_the_test_that_caused_it(tmp_path):
    (tmp_path / "test_probe.py").write_text(PROBE)
    env = qxtest.child_env(os.path.dirname(os.path.abspath(__file__)))
    run = subprocess.run([sys.executable, "-m", "pytest", "-q", "-rA", "-p", "no:cacheprovider", "-p", "conftest",
                          "--rootdir", str(tmp_path), str(tmp_path / "test_probe.py")],
                         env=env, cwd=tmp_path, capture_output=True, text=True, timeout=120)
    out = run.stdout
    # the progress line: nothing printed between the tests
    assert out.splitlines()[0].split() == [".F.E.E", "[100%]"], out
    outcomes = re.findall(r"^(PASSED|FAILED|ERROR) test_probe\.py::(\w+)", out, re.M)
    assert sorted(outcomes) == [("ERROR", "test_keeps_a_record_in_a_cycle"),
                                ("ERROR", "test_takes_a_record_from_a_fixture"),
                                ("FAILED", "test_drops_a_record"),
                                ("PASSED", "test_frees_what_it_makes"),
                                ("PASSED", "test_keeps_a_record_in_a_cycle"),
                                ("PASSED", "test_takes_a_record_from_a_fixture")], out
    # each warning in the report of the test that dropped the record
    report = dict(re.findall(r"^_+ (?:ERROR at teardown of )?(\w+) _+$(.*?)(?=^_+ |^=+ )", out, re.M | re.S))
    warning = "swig/python detected a memory leak of type '{}', no destructor found."
    assert warning.format("Qx_IpAddress_t *") in report["test_drops_a_record"]
    assert warning.format("int_p *") in report["test_keeps_a_record_in_a_cycle"]
    assert warning.format("Qx_Data_t *") in report["test_takes_a_record_from_a_fixture"]
    # the record the module keeps fails the run
    assert re.search(r"^test_probe\.KEPT: <Swig Object of type 'Qx_Data_t \*' at 0x\w+>$", out, re.M), out
    assert run.returncode == 1
