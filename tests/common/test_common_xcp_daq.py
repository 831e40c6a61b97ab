"""XCP DAQ lists: signals with host-sized handles, time-outs, start with seed
and key, and the sampled values with and without time stamps."""
import struct

import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
import layouts  # noqa: E402
from layouts import pack, unpack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import MEMORY_BASE, connect, record, u16, u16_value  # noqa: E402

SIGNAL, RX, RX_TS = "Qx_Common_Xcp_Daq_Signal_t", "Qx_Common_Xcp_Daq_RxSignal_t", "Qx_Common_Xcp_Daq_RxSignalTs_t"
SIZE_MAX = 2 ** (8 * struct.calcsize("N")) - 1
DAQ = c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ


def cell(value):
    obj = qxtest.new_record(q, "int_p")
    q.int_p_assign(obj, value)
    return obj


def test_signal_record_layout_follows_the_hosts_size_t(sim, qxt, port):
    assert layouts.size(SIGNAL) == 16 + struct.calcsize("N")
    s = qxtest.new_record(c, "Qx_Common_Xcp_Daq_Signal_t")
    assert [getattr(c, f"{SIGNAL}_{f}_get")(s) for f in ("Flags", "BitOffset", "DataType", "AddressExtension",
                                                         "Address", "Handle")] == [0] * 6
    channel = c.Qx_Common_Xcp_Daq_Signal_t_EventChannel_get(s)
    assert u16_value(qxt, channel) == 0 and channel.own()
    c.Qx_Common_Xcp_Daq_Signal_t_Handle_set(s, SIZE_MAX)
    c.Qx_Common_Xcp_Daq_Signal_t_EventChannel_set(s, u16(qxt, 0x1234))
    c.Qx_Common_Xcp_Daq_Signal_t_Address_set(s, MEMORY_BASE)
    assert c.Qx_Common_Xcp_Daq_Signal_t_Handle_get(s) == SIZE_MAX
    connect(port)
    assert c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 7, 1, s) is None
    call = sim.last("Qx_Common_Xcp_Daq_SetSignals")
    assert [call.arg(3).value, call.arg(4).value] == [7, 1]
    assert call.arg(5).bytes == pack(SIGNAL, EventChannel=0x1234, Address=MEMORY_BASE, Handle=SIZE_MAX)


@pytest.mark.parametrize("value, exc", [(-1, OverflowError), (SIZE_MAX + 1, OverflowError), (1.5, TypeError),
                                        ("1", TypeError), (None, TypeError)])
def test_handle_refusals_keep_the_field(value, exc):
    s = qxtest.new_record(c, "Qx_Common_Xcp_Daq_RxSignal_t")
    c.Qx_Common_Xcp_Daq_RxSignal_t_Handle_set(s, 5)
    with raises_exactly(exc, "in method 'Qx_Common_Xcp_Daq_RxSignal_t_Handle_set', argument 2 of type 'size_t'"):
        c.Qx_Common_Xcp_Daq_RxSignal_t_Handle_set(s, value)
    assert c.Qx_Common_Xcp_Daq_RxSignal_t_Handle_get(s) == 5


def test_array_fields_and_widths(qxt):
    cmd, rsp = qxtest.new_record(c, "Qx_Common_Xcp_Daq_Start2_Cmd_t"), qxtest.new_record(c, "Qx_Common_Xcp_Daq_Start2_Rsp_t")
    c.Qx_Common_Xcp_Daq_Start2_Cmd_t_KeyLength_set(cmd, c.QX_COMMON__XCP__DAQ__MAX_KEY_LENGTH)  # 8 bits: 0
    assert c.Qx_Common_Xcp_Daq_Start2_Cmd_t_KeyLength_get(cmd) == 0
    c.Qx_Common_Xcp_Daq_Start2_Rsp_t_SeedLength_set(rsp, 4)
    assert c.Qx_Common_Xcp_Daq_Start2_Cmd_t_Key_get(cmd) == [0] * 256
    assert c.Qx_Common_Xcp_Daq_Start2_Rsp_t_Seed_get(rsp) == [0] * 256
    ts = qxtest.new_record(c, "Qx_Common_Xcp_Daq_RxSignalTs_t")
    c.Qx_Common_Xcp_Daq_RxSignalTs_t_Timestamp_set(ts, qxt.qxt_u8_array(range(1, 9)))
    c.Qx_Common_Xcp_Daq_RxSignalTs_t_Value_set(ts, qxt.qxt_u8_array([9, 8, 7, 6]))
    assert unpack(RX_TS, bytes(qxt.qxt_read_u8(ts, layouts.size(RX_TS)))) == dict(
        Handle=0, Address=0, DataType=0, reserved1=0, reserved2=0, reserved3=0, Timestamp=list(range(1, 9)),
        Value=[9, 8, 7, 6])
    timeouts = qxtest.new_record(c, "Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t")
    for i, value in enumerate([0, 1, 2**31, 2**32 - 1, 7, 8, 9], 1):
        getattr(c, f"Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t_T{i}_set")(timeouts, value)
        assert getattr(c, f"Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t_T{i}_get")(timeouts) == value


@pytest.mark.parametrize("setter, message", [
    ("Qx_Common_Xcp_Daq_Start2_Cmd_t_Key_set", "invalid null reference in variable 'Key' of type 'u8_t [256]'"),
    ("Qx_Common_Xcp_Daq_Start2_Rsp_t_Seed_set", "invalid null reference in variable 'Seed' of type 'u8_t [256]'"),
    ("Qx_Common_Xcp_Daq_RxSignal_t_Value_set", "invalid null reference in variable 'Value' of type 'u8_t [4]'"),
    ("Qx_Common_Xcp_Daq_RxSignalTs_t_Value_set", "invalid null reference in variable 'Value' of type 'u8_t [4]'"),
    ("Qx_Common_Xcp_Daq_RxSignalTs_t_Timestamp_set",
     "invalid null reference in variable 'Timestamp' of type 'u8_t [8]'"),
    ("Qx_Common_Xcp_Daq_Signal_t_EventChannel_set",
     "invalid null reference in method 'Qx_Common_Xcp_Daq_Signal_t_EventChannel_set', argument 2 of type 'u16_t'"),
])
def test_null_values_are_refused(setter, message):
    name = setter[:setter.index("_t_") + 2]
    with raises_exactly(ValueError, message):
        getattr(c, setter)(qxtest.new_record(c, name), None)


def signals(qxt, *specs):
    """A native array of signals: (handle, address, data type) each."""
    data = b"".join(pack(SIGNAL, Handle=h, Address=a, DataType=t) for h, a, t in specs)
    return qxt.qxt_view_of(SIGNAL + " *", data)


def read(qxt, port, capacity, ts=False, instance=0):
    name = RX_TS if ts else RX
    view = qxt.qxt_view(name + " *", max(capacity, 1) * layouts.size(name))
    flags, count = cell(0xEE), cell(capacity)
    function = c.Qx_Common_Xcp_Daq_ReadRxSignalsTs if ts else c.Qx_Common_Xcp_Daq_ReadRxSignals
    assert function(port, instance, 0, flags, count, view) is None
    n, size = q.int_p_value(count), layouts.size(name)
    data = bytes(qxt.qxt_read_u8(view, n * size))
    return q.int_p_value(flags), [unpack(name, data[i * size:(i + 1) * size]) for i in range(n)]


def daq_state(port):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Daq_GetState_Rsp_t")
    c.Qx_Common_Xcp_Daq_GetState(port, 0, rsp)
    return c.Qx_Common_Xcp_Daq_GetState_Rsp_t_State_get(rsp)


def start2(qxt, port, seed):
    cmd = record("Daq_Start2_Cmd_t", KeyLength=len(seed))
    c.Qx_Common_Xcp_Daq_Start2_Cmd_t_Key_set(cmd, qxt.qxt_u8_array([b ^ 0xFF for b in seed] + [0] * (256 - len(seed))))
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Daq_Start2_Rsp_t")
    c.Qx_Common_Xcp_Daq_Start2(port, 0, cmd, rsp)
    return c.Qx_Common_Xcp_Daq_Start2_Rsp_t_Seed_get(rsp)[:c.Qx_Common_Xcp_Daq_Start2_Rsp_t_SeedLength_get(rsp)]


def test_daq_samples_the_slaves_memory_with_rising_time_stamps(sim, qxt, port):
    connect(port)
    c.Qx_Common_Xcp_Cmd_Download(port, 0, record("Cmd_Download_Cmd_t", Address=MEMORY_BASE, CodeSize=8),
                                 qxt.qxt_u8_array([0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88]))
    assert c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2, signals(
        qxt, (SIZE_MAX, MEMORY_BASE + 1, c.QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__UWORD),
        (7, MEMORY_BASE + 4, c.QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__ULONG))) is None
    assert sim.last("Qx_Common_Xcp_Daq_SetSignals").arg(5).size == 2 * layouts.size(SIGNAL)
    assert c.Qx_Common_Xcp_Daq_SetTimeouts(port, 0, record("Daq_SetTimeouts_Cmd_t", T1=1000, T7=2**32 - 1)) is None
    assert sim.last("Qx_Common_Xcp_Daq_SetTimeouts").arg(3).bytes == pack("Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t",
                                                                          T1=1000, T7=2**32 - 1)
    assert daq_state(port) == c.QX_COMMON__XCP__DAQ__STATE__STOPPED
    assert read(qxt, port, 2) == (0, [])  # nothing while stopped
    with raises_exactly(Exception, "Qx_Common_Xcp_Daq_Start: resource DAQ is locked (unlock it with seed and key first)"):
        c.Qx_Common_Xcp_Daq_Start(port, 0, 0)
    length, seed = cell(4), qxt.qxt_u8_array([0] * 4)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, DAQ, length, seed)
    assert start2(qxt, port, qxt.qxt_read_u8(seed, 4)) == [0x5A, 0xC1, 0, 1]  # the next seed
    assert daq_state(port) == c.QX_COMMON__XCP__DAQ__STATE__RUNNING
    flags, values = read(qxt, port, 2)
    assert flags == 0 and values == [
        dict(Handle=SIZE_MAX, Address=MEMORY_BASE + 1, DataType=2, reserved1=0, reserved2=0, reserved3=0,
             Value=[0x22, 0x33, 0, 0]),
        dict(Handle=7, Address=MEMORY_BASE + 4, DataType=4, reserved1=0, reserved2=0, reserved3=0,
             Value=[0x55, 0x66, 0x77, 0x88])]
    stamps = []
    for _ in range(3):
        flags, values = read(qxt, port, 2, ts=True)
        assert [v["Value"] for v in values] == [[0x22, 0x33, 0, 0], [0x55, 0x66, 0x77, 0x88]]
        assert values[0]["Timestamp"] == values[1]["Timestamp"]  # one sample
        stamps.append(int.from_bytes(bytes(values[0]["Timestamp"]), "little"))
    assert stamps[0] > 2**32 and stamps[0] < stamps[1] < stamps[2]
    # fewer records than signals: the first ones, and a flag
    flags, values = read(qxt, port, 1)
    assert flags == 1 and [v["Handle"] for v in values] == [SIZE_MAX]
    c.Qx_Common_Xcp_Daq_Stop(port, 0, 0)
    assert daq_state(port) == c.QX_COMMON__XCP__DAQ__STATE__STOPPED
    # unlocked now: a plain start runs again; a reset drops the signals
    c.Qx_Common_Xcp_Daq_Start(port, 0, 0)
    c.Qx_Common_Xcp_Daq_Reset(port, 0, 0)
    assert daq_state(port) == c.QX_COMMON__XCP__DAQ__STATE__STOPPED
    with raises_exactly(Exception, "Qx_Common_Xcp_Daq_Start: no DAQ signals set"):
        c.Qx_Common_Xcp_Daq_Start(port, 0, 0)


def test_start2_with_a_wrong_key_does_not_start(sim, qxt, port):
    connect(port)
    c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 1, signals(qxt, (1, MEMORY_BASE, 0)))
    with raises_exactly(Exception, "Qx_Common_Xcp_Daq_Start2: key does not match the seed of resource DAQ"):
        start2(qxt, port, [1, 2, 3, 4])
    assert daq_state(port) == c.QX_COMMON__XCP__DAQ__STATE__STOPPED


def test_one_owned_signal_is_refused_beside_a_count_above_one(sim, port):
    connect(port)
    with raises_exactly(ValueError, "single record given for several in method 'Qx_Common_Xcp_Daq_SetSignals', "
                                    "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2, qxtest.new_record(c, "Qx_Common_Xcp_Daq_Signal_t"))
    assert sim.calls("Qx_Common_Xcp_Daq_SetSignals") == 0
    assert c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 0, None) is None
    call = sim.last("Qx_Common_Xcp_Daq_SetSignals")
    assert call.arg(4).value == 0 and call.arg(5).is_null


@pytest.mark.parametrize("ts", [False, True])
def test_one_owned_signal_is_refused_beside_a_cell_counting_more(sim, port, ts):
    # The count cell holds the capacity: the library would write that many
    # signals through the object, which holds one.
    connect(port)
    name, function = (RX_TS, "Qx_Common_Xcp_Daq_ReadRxSignalsTs") if ts else (RX, "Qx_Common_Xcp_Daq_ReadRxSignals")
    owned = qxtest.new_record(c, name)
    with raises_exactly(ValueError, f"single record given for several in method '{function}', "
                                    f"argument 6 of type '{name} *const'"):
        getattr(c, function)(port, 0, 0, None, cell(2), owned)
    assert sim.calls(function) == 0
    assert getattr(c, function)(port, 0, 0, None, cell(1), owned) is None
    with raises_exactly(Exception, f"{function}: no signal count cell given"):
        getattr(c, function)(port, 0, 0, None, None, owned)  # no cell counts 0: the library decides
    assert sim.calls(function) == 2


@pytest.mark.parametrize("specs, count, text", [
    ([(1, MEMORY_BASE, 7)], 1, "signal 0: unknown data type 7"),
    ([(1, MEMORY_BASE + 0xFFE, 4)], 1, f"4 bytes at 0x{MEMORY_BASE + 0xFFE:08X} lie outside the slave's memory "
                                       f"(0x{MEMORY_BASE:08X} to 0x{MEMORY_BASE + 0xFFF:08X})"),
    ([(1, MEMORY_BASE, 0)] * 17, 17, "17 signals given, at most 16"),
])
def test_signals_refused_by_the_library(sim, qxt, port, specs, count, text):
    connect(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Daq_SetSignals: " + text):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, count, signals(qxt, *specs))


def test_signals_are_kept_while_running(sim, qxt, port):
    connect(port)
    c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 1, signals(qxt, (1, MEMORY_BASE, 0)))
    length, seed = cell(4), qxt.qxt_u8_array([0] * 4)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, DAQ, length, seed)
    c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 4, qxt.qxt_u8_array([b ^ 0xFF for b in qxt.qxt_read_u8(seed, 4)]))
    c.Qx_Common_Xcp_Daq_Start(port, 0, 0)
    with raises_exactly(Exception, "Qx_Common_Xcp_Daq_SetSignals: DAQ is running (stop it first)"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 0, None)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetStatus_Rsp_t")
    c.Qx_Common_Xcp_Cmd_GetStatus(port, 0, rsp)
    assert c.Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_Flags_get(rsp) == 0x1040  # PGM locked, DAQ running


def test_argument_refusals(sim, port):
    with raises_exactly(TypeError, "Qx_Common_Xcp_Daq_ReadRxSignals expected 6 arguments, got 5"):
        c.Qx_Common_Xcp_Daq_ReadRxSignals(port, 0, 0, None, None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 5 of type "
                                   "'Qx_Common_Xcp_Daq_Signal_t const *const'"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 1, qxtest.new_record(c, "Qx_Common_Xcp_Daq_RxSignal_t"))
    with raises_exactly(OverflowError, "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 4 of type 'u32_t'"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2**32, None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Daq_ReadRxSignalsTs', argument 6 of type "
                                   "'Qx_Common_Xcp_Daq_RxSignalTs_t *const'"):
        c.Qx_Common_Xcp_Daq_ReadRxSignalsTs(port, 0, 0, None, None, qxtest.new_record(c, "Qx_Common_Xcp_Daq_RxSignal_t"))
    assert sim.calls("Qx_Common_Xcp_Daq_SetSignals") == sim.calls("Qx_Common_Xcp_Daq_ReadRxSignalsTs") == 0
