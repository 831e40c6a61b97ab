"""The simulated device's journal: bounded however many calls a script makes,
with exact call counts and the most recent calls kept whole; and its scripted
outputs, bounded by the room of the caller's storage."""
import os

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import raises_exactly

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


# ---- scripted outputs: bounded by the room of the caller's storage ----------------------------
# Each case makes zeroed caller storage, from the storage module where the
# argument is bytes, and returns (call, storage, room). The behaviours leave
# the storage zeroed (an empty FIFO, slave memory not written yet, no PDU
# configured), and those of the FIFO and the PDU list set the count cell to
# 0: the room is the one the cell gave at the call's entry.

def storage():
    return qxtest.module("_qx_storage")


def fifo_read(request):
    st, port = storage(), request.getfixturevalue("port")
    data, length = st.new_u8_array(32), st.copy_u32_p(32)
    return lambda: q.Qx_Fpga_ReadFifo(port, data, length), data, 32


def xcp_upload(request):
    st, port, c = storage(), request.getfixturevalue("port"), qxtest.module("_qx_api_common")
    c.Qx_Common_Xcp_Init_Can(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_Can_Cmd_t", CanIdMaster=0x7F0,
                                                         CanIdSlave=0x7F1))
    c.Qx_Common_Xcp_Cmd_Connect(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))
    upload = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Upload_Cmd_t", Address=0x10000, NumberOfBytes=16)
    data = st.new_u8_array(16)
    return lambda: c.Qx_Common_Xcp_Cmd_Upload(port, 0, upload, data), data, 16


def trovix_port(signals=None):
    """A port of the Trovix interface (controller 2), its stack initialised,
    the `signals` configured."""
    tv = qxtest.module("_qx_api_trovix")
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t", Type=q.QX_INTERFACE_TYPE__TROVIX)
    q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(q.Qx_InterfaceInfo_t_Parameters_get(info), 2)
    port = q.Qx_OpenInterface(info)
    tv.Qx_Trovix_InitInterface(port, 0)
    if signals:
        tv.Qx_Trovix_Signal_Config(port, signals)
    return tv, port


def pdu_list(request):
    tv, port = trovix_port()
    count, info = storage().copy_u32_p(1), qxtest.new_record(tv, "Qx_Trovix_PduInfo_t")
    return lambda: tv.Qx_Trovix_Pdu_PduList_Get(port, count, info), info, layouts.size("Qx_Trovix_PduInfo_t")


OUTPUTS = [
    pytest.param(fifo_read, "Qx_Fpga_ReadFifo", 2, "data", 4096, id="fpga fifo"),
    pytest.param(xcp_upload, "Qx_Common_Xcp_Cmd_Upload", 4, "data", 4096, id="xcp upload"),
    pytest.param(pdu_list, "Qx_Trovix_Pdu_PduList_Get", 3, "pduList", 8 * layouts.size("Qx_Trovix_PduInfo_t"),
                 id="pdu records"),
]


def script(length):
    """`length` bytes, none of them 0."""
    return bytes(i % 255 + 1 for i in range(length))


@pytest.mark.parametrize("case, function, arg, name, long", OUTPUTS)
@pytest.mark.parametrize("beyond", ["long", "one byte"])
def test_an_output_longer_than_the_room_writes_nothing_and_fails_the_call(sim, request, case, function, arg, name,
                                                                          long, beyond):
    call, buffer, room = case(request)
    length = long if beyond == "long" else room + 1
    sim.output(function, arg, script(length))
    with raises_exactly(Exception, f"{function}: scripted output of {length} bytes for argument {arg} ({name}) "
                                   f"exceeds its {room} bytes"):
        call()
    assert storage().cdata(buffer, room) == bytes(room)
    assert sim.last(function).arg(arg).size == room


@pytest.mark.parametrize("case, function, arg, name, long", OUTPUTS)
@pytest.mark.parametrize("short", [0, 1, 7], ids=["the room", "one byte less", "seven bytes less"])
def test_an_output_that_fits_is_written_as_scripted(sim, request, case, function, arg, name, long, short):
    call, buffer, room = case(request)
    written = script(room - short)
    sim.output(function, arg, written)
    assert call() is None
    assert storage().cdata(buffer, room) == written + bytes(short)


@pytest.mark.parametrize("scripted_status", [False, True], ids=["behaviour fails", "status scripted"])
def test_the_refusal_wins_over_the_status_the_call_had(sim, request, scripted_status):
    call, buffer, room = fifo_read(request)
    q.Qx_CloseInterface(request.getfixturevalue("port"))   # the behaviour fails: invalid port handle
    if scripted_status:
        sim.fail("Qx_Fpga_ReadFifo")
    sim.output("Qx_Fpga_ReadFifo", 2, script(room + 1))
    with raises_exactly(Exception, f"Qx_Fpga_ReadFifo: scripted output of {room + 1} bytes for argument 2 (data) "
                                   f"exceeds its {room} bytes"):
        call()
    assert storage().cdata(buffer, room) == bytes(room)


def test_a_function_returning_a_text_writes_nothing_and_sets_the_last_error(sim):
    can = qxtest.module("_qx_api_can")
    record = "Qx_Can_Ccp_GetResponse_Rsp_t"
    sim.text_result("Qx_Can_Ccp_GetCcpErrorDescription", b"scripted")
    sim.output("Qx_Can_Ccp_GetCcpErrorDescription", 1, script(layouts.size(record) + 1))
    text, response = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert text == "scripted"
    assert storage().cdata(response, layouts.size(record)) == bytes(layouts.size(record))
    assert q.Qx_GetLastErrorDescription() == (f"Qx_Can_Ccp_GetCcpErrorDescription: scripted output of "
                                              f"{layouts.size(record) + 1} bytes for argument 1 (ccpResponse) "
                                              f"exceeds its {layouts.size(record)} bytes")


def test_included_signals_have_the_room_their_count_cell_carries_in(sim, qxt):
    # The binding's cell carries the room of the caller's storage (two
    # records here) in; the behaviour writes the two signals of the PDU.
    tv, signals = trovix_port("signal=Speed,bits=16,pdu=Engine,ecu=ECU1,controller=2;"
                              "signal=Gear,bits=8,pdu=Engine,ecu=ECU1,controller=2")
    size = layouts.size("Qx_Trovix_Pdu_IncludedSignal_t")
    two = qxt.qxt_view_reaching("Qx_Trovix_Pdu_IncludedSignal_t *", 2 * size)
    call = lambda: tv.Qx_Trovix_Pdu_IncludedSignals_Get(signals, "Engine", "ECU1", 2, two)  # noqa: E731
    sim.output("Qx_Trovix_Pdu_IncludedSignals_Get", 6, script(2 * size))
    assert call() == 2
    assert bytes(qxt.qxt_read_u8(two, 2 * size)) == script(2 * size)
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get").arg(6).size == 2 * size
    sim.output("Qx_Trovix_Pdu_IncludedSignals_Get", 6, script(2 * size + 1))
    with raises_exactly(Exception, f"Qx_Trovix_Pdu_IncludedSignals_Get: scripted output of {2 * size + 1} bytes "
                                   f"for argument 6 (includedSignals) exceeds its {2 * size} bytes"):
        call()
    # what the behaviour wrote stays, none of the script
    assert [layouts.unpack("Qx_Trovix_Pdu_IncludedSignal_t", bytes(qxt.qxt_read_u8(two, 2 * size))[i:i + size])
            ["Name"].rstrip(b"\0") for i in (0, size)] == [b"Speed", b"Gear"]
