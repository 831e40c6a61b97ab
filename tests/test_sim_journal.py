"""The simulated device's journal: bounded however many calls a script makes,
with exact call counts and the most recent calls kept whole."""
import os

import pytest

import _qx_api as q

CALLS = 300_000


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_many_calls_keep_the_journal_bounded_and_the_counts_exact(sim, port):
    capacity = sim.journal_capacity()
    set_timeout = q.Qx_SetResponseTimeout
    # Warm up: every slot of the journal holds an entry before measuring.
    for timeout in range(1, 2 * capacity + 1):
        set_timeout(port, timeout)
    before = resident_bytes()
    for timeout in range(1, CALLS + 1):
        set_timeout(port, timeout)
    growth = resident_bytes() - before

    # A journal that kept every call would have grown by far more (each entry
    # takes its record, its arguments and their copies).
    assert growth < 8 * 2**20, f"resident size grew by {growth} bytes over {CALLS} calls"
    assert sim.calls("Qx_SetResponseTimeout") == 2 * capacity + CALLS
    assert sim.calls("Qx_OpenInterface") == 1
    journal = sim.journal()
    assert len(journal) == capacity
    assert sim.dropped() == 1 + 2 * capacity + CALLS - capacity
    # The most recent calls, oldest first, each whole.
    assert {entry.function for entry in journal} == {"Qx_SetResponseTimeout"}
    assert [entry.arg(2).value for entry in journal] == list(range(CALLS - capacity + 1, CALLS + 1))
    assert {(entry.arg(1).kind, entry.arg(1).value) for entry in journal} == {("u", port)}
    # Every call reached the device's behaviour, not only the ones kept.
    assert q.Qx_GetResponseTimeout(port) == CALLS
    assert sim.last("Qx_GetResponseTimeout").arg(1).value == port


def test_reset_empties_the_journal_its_drop_count_and_the_call_counts(sim, port):
    for timeout in range(1, sim.journal_capacity() + 11):
        q.Qx_SetResponseTimeout(port, timeout)
    assert sim.dropped() == 11
    sim.reset()
    assert (sim.journal(), sim.dropped(), sim.calls("Qx_SetResponseTimeout"), sim.calls("Qx_OpenInterface")) == \
        ([], 0, 0, 0)
    with pytest.raises(Exception, match=f"^Qx_SetResponseTimeout: invalid port handle 0x{port:08X}$"):
        q.Qx_SetResponseTimeout(port, 5)
    first, *rest = sim.journal()
    assert (first.function, first.arg(2).value) == ("Qx_SetResponseTimeout", 5)
    assert [e.function for e in rest] == ["Qx_GetLastErrorDescription"]


@pytest.mark.parametrize("beyond", [-1, 0, 1, 5000])
def test_an_argument_keeps_its_first_bytes_and_its_full_size(sim, port, beyond):
    kept = sim.journal_arg_capacity()
    data = [i % 251 for i in range(kept + beyond)]
    assert q.Qx_Command(port, 0x22, data) is None
    call = sim.last("Qx_Command")
    assert (call.arg(3).size, call.arg(4).value) == (len(data), len(data))
    assert call.arg(3).bytes == bytes(data[:kept])
