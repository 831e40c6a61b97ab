"""Transport-protocol channels and broadcast: channels taken (at once or
through a native callback) and freed, monitor filter, broadcast bytes sent
from a 64-byte buffer and received as a list or through a native callback."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from qxtest import raises_exactly as raises  # noqa: E402
from tp_control import CHANNELS, RECEIVE_BYTES, channel, logged, take, tp  # noqa: E402,F401

START = "Qx_Can_Tp_Broadcast_StartTransmission"
GET = "Qx_Can_Tp_Broadcast_GetData"


# ---- taking and freeing channels ------------------------------------------------

def test_get_channel_writes_the_lowest_free_channel_into_the_callers_cell(sim, port, qxt):
    cell = qxt.qxt_u8_array([0xEE])
    assert can.Qx_Can_Tp_GetChannel(port, cell) is None
    call = sim.last("Qx_Can_Tp_GetChannel")
    assert call.arg(1).value == port
    assert call.arg(2).value == int(cell) and call.arg(2).bytes == b"\xee"  # the cell itself, as given
    assert qxt.qxt_read_u8(cell, 1) == [1]
    can.Qx_Can_Tp_GetChannel(port, cell)
    assert qxt.qxt_read_u8(cell, 1) == [2]
    assert can.Qx_Can_Tp_FreeChannel(port, 1) is None
    can.Qx_Can_Tp_GetChannel(port, cell)
    assert qxt.qxt_read_u8(cell, 1) == [1]  # handed out again once freed


def test_channels_run_out_per_port(sim, port, take):
    assert [take() for _ in range(CHANNELS)] == list(range(1, CHANNELS + 1))
    with raises(Exception, f"Qx_Can_Tp_GetChannel: all {CHANNELS} channels are taken"):
        take()
    other = _open_second_can_port()
    assert take(other) == 1


def _open_second_can_port():
    import _qx_api as q
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
    q.Qx_InterfaceInfo_t_Parameters_InterfaceNumber_set(q.Qx_InterfaceInfo_t_Parameters_get(info), 1)  # CAN2
    try:
        return q.Qx_OpenInterface(info)
    finally:
        q.delete_Qx_InterfaceInfo_t(info)


def test_get_channel_with_none_passes_a_null_cell_and_takes_nothing(sim, port, take):
    with raises(Exception, "Qx_Can_Tp_GetChannel: no channel cell given"):
        can.Qx_Can_Tp_GetChannel(port, None)
    assert sim.last("Qx_Can_Tp_GetChannel").arg(2).is_null
    assert take() == 1


@pytest.mark.parametrize("make", [
    lambda qxt: qxt.qxt_u32_array([0]),  # an int_p-like u32_t cell
    lambda qxt: qxt.qxt_u16_array([0]),
    lambda qxt: 5,
    lambda qxt: [0],
])
def test_get_channel_refuses_anything_but_a_u8_cell(sim, port, qxt, make):
    with raises(TypeError, "in method 'Qx_Can_Tp_GetChannel', argument 2 of type 'u8_t *const'"):
        can.Qx_Can_Tp_GetChannel(port, make(qxt))
    assert sim.calls("Qx_Can_Tp_GetChannel") == 0


def test_get_channel_fails_for_a_port_that_is_not_open(sim, qxt):
    with raises(Exception, "Qx_Can_Tp_GetChannel: invalid port handle 0x00000077"):
        can.Qx_Can_Tp_GetChannel(0x77, qxt.qxt_u8_array([0]))


# Every binding that takes a channel, with arguments after it that succeed.
WITH_CHANNEL = [
    ("Qx_Can_Tp_FreeChannel", ()),
    ("Qx_Can_Tp_Config_Off", ()),
    ("Qx_Can_Tp_SetMonitorFilter", (1,)),
    (START, (0, [1], 1)),
    ("Qx_Can_Tp_Broadcast_StopTransmission", ()),
    (GET, (8,)),
    ("Qx_Can_Tp_Broadcast_GetData_Async_AddCallback", (None,)),
    ("Qx_Can_Tp_Broadcast_GetData_Async_RemoveCallback", ()),
    ("Qx_Can_Tp_Broadcast_GetData_Async", ()),
]


@pytest.mark.parametrize("function, rest", WITH_CHANNEL)
def test_an_unknown_or_freed_channel_fails_with_its_number(sim, port, take, function, rest):
    with raises(Exception, f"{function}: channel 3 is not taken"):
        getattr(can, function)(port, 3, *rest)
    taken = take()
    can.Qx_Can_Tp_FreeChannel(port, taken)
    with raises(Exception, f"{function}: channel {taken} is not taken"):
        getattr(can, function)(port, taken, *rest)
    for number in (0, CHANNELS + 1):
        with raises(Exception, f"{function}: no channel {number} (channels are 1 to {CHANNELS})"):
            getattr(can, function)(port, number, *rest)
    assert sim.last(function).arg(2).value == CHANNELS + 1


@pytest.mark.parametrize("function, rest", WITH_CHANNEL)
def test_channel_argument_errors(sim, port, function, rest):
    with raises(TypeError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, 1.0, *rest)
    with raises(OverflowError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, -1, *rest)
    with raises(OverflowError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)(2**32, 1, *rest)
    with raises(TypeError, f"{function} expected {len(rest) + 2} arguments, got {len(rest) + 1}"):
        getattr(can, function)(port, *rest)
    assert sim.calls(function) == 0


def test_channel_numbers_reach_the_library_truncated_to_8_bits(sim, port, channel):
    assert can.Qx_Can_Tp_SetMonitorFilter(port, 256 + channel, 0x1FF) is None
    call = sim.last("Qx_Can_Tp_SetMonitorFilter")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, channel, 0xFF]
    with raises(TypeError, "in method 'Qx_Can_Tp_SetMonitorFilter', argument 3 of type "
                           "'Qx_Can_Tp_SetMonitorFilter_Mode_t'"):
        can.Qx_Can_Tp_SetMonitorFilter(port, channel, "1")


def test_config_off_needs_a_configured_protocol(sim, port, channel):
    with raises(Exception, f"Qx_Can_Tp_Config_Off: no transport protocol configured on channel {channel}"):
        can.Qx_Can_Tp_Config_Off(port, channel)
    assert [a.value for a in sim.last("Qx_Can_Tp_Config_Off").args] == [port, channel]


def test_a_failing_status_raises_the_last_error_text(sim, port, channel):
    sim.fail("Qx_Can_Tp_FreeChannel", 0x99, b"channel busy \xc3\xa9")
    with raises(Exception, "channel busy \u00e9"):
        can.Qx_Can_Tp_FreeChannel(port, channel)


# ---- taking a channel through a native callback -----------------------------------

def test_get_channel_async_hands_the_channel_to_the_registered_callback(sim, port, qxt, logged, take):
    callback = qxt.qxt_tp_channel_callback()
    assert can.Qx_Can_Tp_GetChannel_Async_AddCallback(port, callback) is None
    assert sim.last("Qx_Can_Tp_GetChannel_Async_AddCallback").arg(2).value == int(callback)
    take()
    assert can.Qx_Can_Tp_GetChannel_Async(port) is None
    assert can.Qx_Can_Tp_GetChannel_Async(port) is None
    assert logged() == [[1, port, 2], [1, port, 3]]
    assert can.Qx_Can_Tp_GetChannel_Async_RemoveCallback(port) is None
    with raises(Exception, "Qx_Can_Tp_GetChannel_Async: no callback registered"):
        can.Qx_Can_Tp_GetChannel_Async(port)
    assert take() == 4  # the failed request took no channel
    assert len(logged()) == 2


@pytest.mark.parametrize("function", ["Qx_Can_Tp_GetChannel_Async", "Qx_Can_Tp_GetChannel_Async_RemoveCallback"])
def test_the_port_alone_is_the_argument_not_a_tuple(sim, port, function):
    with pytest.raises(TypeError):
        getattr(can, function)(port, 1)
    with pytest.raises(TypeError):
        getattr(can, function)()
    with raises(TypeError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)((port,))
    assert sim.calls(function) == 0


@pytest.mark.parametrize("function, args, position, type_", [
    ("Qx_Can_Tp_GetChannel_Async_AddCallback", lambda port, cb: (port, cb), 2,
     "Qx_Can_Tp_GetChannel_Async_Callback_t const"),
    ("Qx_Can_Tp_Broadcast_GetData_Async_AddCallback", lambda port, cb: (port, 1, cb), 3,
     "Qx_Can_Tp_Broadcast_GetData_Async_Callback_t const"),
])
def test_callbacks_are_none_or_native_functions_of_their_own_type(sim, port, qxt, channel, function, args, position,
                                                                   type_):
    for wrong in (lambda *a: None, print, qxt.qxt_tp_diag_state_callback(), qxt.qxt_can_fifo_state_callback(),
                  (qxt.qxt_tp_broadcast_callback() if "GetChannel" in function else qxt.qxt_tp_channel_callback())):
        with raises(TypeError, f"in method '{function}', argument {position} of type '{type_}'"):
            getattr(can, function)(*args(port, wrong))
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no callback given"):
        getattr(can, function)(*args(port, None))
    assert sim.last(function).arg(position).is_null


# ---- broadcast: sending --------------------------------------------------------------

@pytest.mark.parametrize("data, sent", [
    ([], bytes(64)),
    ([1, 2, 3], bytes([1, 2, 3]) + bytes(61)),
    ((1, 2, 3), bytes([1, 2, 3]) + bytes(61)),  # a tuple as the list
    ([256, 511, -1, True], bytes([0, 255, 255, 1]) + bytes(60)),
    (list(range(100, 164)), bytes(range(100, 164))),
])
def test_start_transmission_sends_the_bytes_in_a_zeroed_64_byte_buffer(sim, port, channel, data, sent):
    assert can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0x102, data, 7) is None
    call = sim.last(START)
    assert [call.arg(n).value for n in (1, 2, 3, 5)] == [port, channel, 2, 7]  # argument 5 as given
    assert call.arg(4).bytes == sent


def test_start_transmission_buffer_starts_zeroed_on_every_call(sim, port, channel):
    can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, [0xAA] * 64, 64)
    can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, [0x55], 1)
    assert sim.last(START).arg(4).bytes == b"\x55" + bytes(63)


@pytest.mark.parametrize("data, cls, message", [
    (7, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
    ([0] * 65, ValueError, "Expecting a sequence with at most 64 elements"),
    ([1, "x"], TypeError, "list must contain u8_t"),
    ([1.0], TypeError, "list must contain u8_t"),
])
def test_start_transmission_refuses_bad_data_before_anything_is_sent(sim, port, channel, data, cls, message):
    with raises(cls, f"fail in '{START}' : {message}"):
        can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, data, 2**32)  # argument 5 checked after
    assert sim.calls(START) == 0


@pytest.mark.parametrize("args, cls, message", [
    (lambda p, c: (p, c, -1, [], 0), OverflowError, f"in method '{START}', argument 3 of type "
                                                     "'Qx_Can_Tp_BroadCast_TransmissionMode_t'"),
    (lambda p, c: (p, c, "0", 5, 0), TypeError, f"in method '{START}', argument 3 of type "
                                                 "'Qx_Can_Tp_BroadCast_TransmissionMode_t'"),
    (lambda p, c: (p, c, 0, [1], -1), OverflowError, f"in method '{START}', argument 5 of type 'u32_t'"),
    (lambda p, c: (p, c, 0, [1], None), TypeError, f"in method '{START}', argument 5 of type 'u32_t'"),
    (lambda p, c: (p, c, 0, [1]), TypeError, f"{START} expected 5 arguments, got 4"),
])
def test_start_transmission_argument_errors(sim, port, channel, args, cls, message):
    with raises(cls, message):
        can.Qx_Can_Tp_Broadcast_StartTransmission(*args(port, channel))
    assert sim.calls(START) == 0


@pytest.mark.parametrize("argument5", [65, 2**32 - 1])
def test_start_transmission_passes_argument_5_unchanged_whatever_its_size(sim, port, channel, argument5):
    # What argument 5 means is the library's: the binding refuses none of its
    # values. The simulated library takes it as a length and refuses more
    # than its 64-byte buffer.
    with raises(Exception, f"{START}: {argument5} data bytes, at most 64"):
        can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, [1] * 64, argument5)
    call = sim.last(START)
    assert call.arg(5).value == argument5
    assert call.arg(4).bytes == bytes([1] * 64)


def test_transmission_runs_until_stopped(sim, port, channel):
    with raises(Exception, f"Qx_Can_Tp_Broadcast_StopTransmission: no broadcast transmission running on channel "
                           f"{channel}"):
        can.Qx_Can_Tp_Broadcast_StopTransmission(port, channel)
    can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, [1] * 64, 64)
    assert can.Qx_Can_Tp_Broadcast_StopTransmission(port, channel) is None
    assert [a.value for a in sim.last("Qx_Can_Tp_Broadcast_StopTransmission").args] == [port, channel]
    with raises(Exception, f"Qx_Can_Tp_Broadcast_StopTransmission: no broadcast transmission running on channel "
                           f"{channel}"):
        can.Qx_Can_Tp_Broadcast_StopTransmission(port, channel)


# ---- broadcast: receiving -----------------------------------------------------------

def test_get_data_returns_the_bytes_received_up_to_the_capacity(sim, port, channel, tp):
    assert tp.broadcast_arrive(port, channel, [1, 2, 255]) == 3
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 2) == [1, 2]
    call = sim.last(GET)
    assert [call.arg(1).value, call.arg(2).value] == [port, channel]
    assert call.arg(3).size == 2 and not call.arg(3).is_null
    assert call.arg(4).bytes == struct.pack("<I", 2)  # the count cell holds the capacity on entry
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 10) == [255]  # a list of one, not a nested list
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 10) == []


def test_get_data_with_capacity_0_returns_an_empty_list_and_keeps_the_bytes(sim, port, channel, tp):
    tp.broadcast_arrive(port, channel, [9])
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 0) == []
    assert sim.last(GET).arg(4).bytes == bytes(4)
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 1) == [9]


def test_get_data_reads_a_full_receive_buffer_and_nothing_past_it(sim, port, channel, tp):
    data = [i & 0xFF for i in range(RECEIVE_BYTES + 10)]
    assert tp.broadcast_arrive(port, channel, data) == RECEIVE_BYTES
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 5000) == data[:RECEIVE_BYTES]


def test_get_data_never_reports_more_bytes_than_the_capacity(sim, port, channel):
    # A library reporting a count beyond the capacity: the list stops at the
    # buffer's end.
    sim.output(GET, 4, struct.pack("<I", 1000))
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 3) == [0, 0, 0]


def test_channels_receive_apart(sim, port, tp, take):
    first, second = take(), take()
    tp.broadcast_arrive(port, first, [1])
    tp.broadcast_arrive(port, second, [2, 2])
    assert can.Qx_Can_Tp_Broadcast_GetData(port, second, 8) == [2, 2]
    assert can.Qx_Can_Tp_Broadcast_GetData(port, first, 8) == [1]


@pytest.mark.parametrize("capacity, cls, message", [
    ("8", TypeError, "Expecting a integer"),
    (None, TypeError, "Expecting a integer"),
    (8.0, TypeError, "Expecting a integer"),
    (-1, ValueError, "capacity out of range"),
    (2**31, OverflowError, "capacity out of range"),
])
def test_get_data_refuses_a_capacity_that_is_no_int_in_range(sim, port, channel, capacity, cls, message):
    with raises(cls, f"fail in '{GET}' : {message}"):
        can.Qx_Can_Tp_Broadcast_GetData(port, channel, capacity)
    assert sim.calls(GET) == 0


def test_a_failed_get_data_raises_and_returns_nothing(sim, port, channel, tp):
    tp.broadcast_arrive(port, channel, [1, 2, 3])
    sim.fail(GET, 0x42, b"receiver overrun")
    with raises(Exception, "receiver overrun"):
        can.Qx_Can_Tp_Broadcast_GetData(port, channel, 3)


def test_get_data_async_hands_the_waiting_bytes_to_the_channels_callback(sim, port, qxt, logged, tp, take):
    first, second = take(), take()
    callback = qxt.qxt_tp_broadcast_callback()
    assert can.Qx_Can_Tp_Broadcast_GetData_Async_AddCallback(port, second, callback) is None
    call = sim.last("Qx_Can_Tp_Broadcast_GetData_Async_AddCallback")
    assert [a.value for a in call.args] == [port, second, int(callback)]
    tp.broadcast_arrive(port, second, [7, 8, 9])
    assert can.Qx_Can_Tp_Broadcast_GetData_Async(port, second) is None
    assert can.Qx_Can_Tp_Broadcast_GetData_Async(port, second) is None
    assert logged() == [[2, port, second, 3, 7, 8, 9], [2, port, second, 0]]
    # registered for that channel alone
    with raises(Exception, f"Qx_Can_Tp_Broadcast_GetData_Async: no callback registered for channel {first}"):
        can.Qx_Can_Tp_Broadcast_GetData_Async(port, first)
    assert can.Qx_Can_Tp_Broadcast_GetData_Async_RemoveCallback(port, second) is None
    with raises(Exception, f"Qx_Can_Tp_Broadcast_GetData_Async: no callback registered for channel {second}"):
        can.Qx_Can_Tp_Broadcast_GetData_Async(port, second)
    assert len(logged()) == 2


def test_a_freed_channel_keeps_nothing_for_the_next_taker(sim, port, qxt, tp, channel, take):
    can.Qx_Can_Tp_Broadcast_GetData_Async_AddCallback(port, channel, qxt.qxt_tp_broadcast_callback())
    tp.broadcast_arrive(port, channel, [1, 2])
    can.Qx_Can_Tp_Broadcast_StartTransmission(port, channel, 0, [1], 1)
    can.Qx_Can_Tp_FreeChannel(port, channel)
    assert tp.broadcast_arrive(port, channel, [3]) == -1  # not taken: nothing arrives
    assert take() == channel
    assert can.Qx_Can_Tp_Broadcast_GetData(port, channel, 8) == []
    with pytest.raises(Exception, match="no callback registered"):
        can.Qx_Can_Tp_Broadcast_GetData_Async(port, channel)
    with pytest.raises(Exception, match="no broadcast transmission running"):
        can.Qx_Can_Tp_Broadcast_StopTransmission(port, channel)
