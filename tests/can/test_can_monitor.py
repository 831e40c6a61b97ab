"""Bus monitor: filter, buffer mode (batch reads and native callback), list
mode, host event, user events and the monitor time."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

# The simulated monitor clock starts at 2**32 + 5 and advances 100 per frame.
EPOCH = 2**32 + 5
USER_EVENT = 0x80



def item_fields(item, large=False):
    record = "Qx_Can_Monitor_BufferItem_Large_t" if large else "Qx_Can_Monitor_BufferItem_t"
    return [getattr(can, f"{record}_{field}_get")(item)
            for field in ("Timestamp", "Id", "Flags", "Dlc", "DataLength", "Data")]


def free_items(items, large=False):
    for item in items:
        getattr(can, "delete_Qx_Can_Monitor_BufferItem_Large_t" if large else "delete_Qx_Can_Monitor_BufferItem_t")(item)


# ---- buffer mode ------------------------------------------------------------------

def test_buffer_mode_returns_the_frames_sent_as_owned_records_with_64_bit_timestamps(sim, port):
    assert can.Qx_Can_Monitor_BufferMode_Start(port, 1, 100) is None
    can.Qx_Can_TxFifo_QueueMsg(port, 0x123, [1, 2, 3], 3)
    can.Qx_Can_TxFifo_QueueMsg(port, 0x456, list(range(20)), 10)  # FD frame: 16 bytes, 8 in a classic item
    items = qxtest.owned(can.Qx_Can_Monitor_BufferMode_GetItems(port, 0x80000000, 5))
    call = sim.last("Qx_Can_Monitor_BufferMode_GetItems")
    assert [call.arg(1).value, call.arg(2).value] == [port, 0x80000000]
    assert call.arg(3).bytes == struct.pack("<I", 5)  # the count cell holds the capacity
    assert len(call.arg(4).bytes) == 5 * 24  # a zeroed block of 5 records
    assert [item_fields(i) for i in items] == [
        [EPOCH, 0x123, 0, 3, 3, [1, 2, 3, 0, 0, 0, 0, 0]],
        [EPOCH + 100, 0x456, 0, 10, 8, list(range(8))],
    ]
    # each record is its own copy: a later read and dropping the list change nothing
    first = items[0]
    del items
    assert can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 5) == []
    assert item_fields(first)[:2] == [EPOCH, 0x123]
    free_items([first])


def test_buffer_mode_reads_at_most_the_capacity(port):
    can.Qx_Can_Monitor_BufferMode_Start2(port, 0x80000000, 100)
    for id_ in range(5):
        can.Qx_Can_TxFifo_QueueMsg(port, id_, [], 0)
    first = can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 3)
    rest = can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 3)
    assert [item_fields(i)[1] for i in first + rest] == [0, 1, 2, 3, 4]
    assert can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 0) == []
    free_items(first + rest)


def test_buffer_mode_returns_scripted_items_whole(sim, port):
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 100)
    item = "Qx_Can_Monitor_BufferItem_t"
    scripted = (pack(item, Timestamp=2**64 - 1, Id=0xFFFFFFFF, Flags=0xFFFF, Dlc=8, DataLength=8, Data=range(1, 9))
                + pack(item, Timestamp=2**32, Id=7, Flags=0x8001, Dlc=1, DataLength=1, Data=b"\xaa"))
    sim.output("Qx_Can_Monitor_BufferMode_GetItems", 3, struct.pack("<I", 2))
    sim.output("Qx_Can_Monitor_BufferMode_GetItems", 4, scripted)
    items = can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 2)
    assert [item_fields(i) for i in items] == [
        [2**64 - 1, 0xFFFFFFFF, 0xFFFF, 8, 8, list(range(1, 9))],
        [2**32, 7, 0x8001, 1, 1, [0xAA] + [0] * 7],
    ]
    free_items(items)


def test_large_items_carry_64_data_bytes_and_the_flags_output(qxt, sim, port):
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 100)
    item = qxtest.new_record(can, "Qx_Can_TxFifo_MsgItem2_t")
    can.Qx_Can_TxFifo_MsgItem2_t_Id_set(item, 0x1ABCDEF0)
    can.Qx_Can_TxFifo_MsgItem2_t_Dlc_set(item, 15)
    can.Qx_Can_TxFifo_MsgItem2_t_Flags_set(item, 0x03)
    can.Qx_Can_TxFifo_MsgItem2_t_Data_set(item, list(range(100, 164)))
    can.Qx_Can_TxFifo_QueueMsgs2(port, 0, 0, [item, item])
    can.delete_Qx_Can_TxFifo_MsgItem2_t(item)
    flags = qxt.qxt_u32_array([0xDEAD])
    items = can.Qx_Can_Monitor_BufferMode_GetItems_Large(port, flags, 1)
    assert sim.last("Qx_Can_Monitor_BufferMode_GetItems_Large").arg(3).bytes == struct.pack("<I", 1)
    assert [item_fields(i, large=True) for i in items] == [[EPOCH, 0x1ABCDEF0, 3, 15, 64, list(range(100, 164))]]
    assert qxt.qxt_read_u32(flags, 1) == [1]  # one more item waits
    free_items(items, large=True)
    items = can.Qx_Can_Monitor_BufferMode_GetItems_Large(port, None, 4)
    assert sim.last("Qx_Can_Monitor_BufferMode_GetItems_Large").arg(2).is_null
    assert [item_fields(i, large=True)[0] for i in items] == [EPOCH + 100]
    free_items(items, large=True)


@pytest.mark.parametrize("function, flags_arg", [
    ("Qx_Can_Monitor_BufferMode_GetItems", 0),
    ("Qx_Can_Monitor_BufferMode_GetItems_Large", None),
])
@pytest.mark.parametrize("capacity, cls, message", [
    ("4", TypeError, "Expecting a integer"),
    (4.0, TypeError, "Expecting a integer"),
    (-1, ValueError, "capacity out of range"),
    (2**31, OverflowError, "capacity out of range"),
])
def test_capacity_errors_are_raised_before_anything_is_sent(sim, port, function, flags_arg, capacity, cls, message):
    with raises(cls, f"fail in '{function}' : {message}"):
        getattr(can, function)(port, flags_arg, capacity)
    assert sim.calls(function) == 0


def test_buffer_item_reads_fail_with_the_native_text_and_return_nothing(sim, port):
    with raises(Exception, "Qx_Can_Monitor_BufferMode_GetItems: buffer mode not running"):
        can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 4)
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 100)
    sim.fail("Qx_Can_Monitor_BufferMode_GetItems_Large", 0x77, b"monitor overrun")
    with raises(Exception, "monitor overrun"):
        can.Qx_Can_Monitor_BufferMode_GetItems_Large(port, None, 4)


@pytest.mark.parametrize("function, args, message", [
    ("Qx_Can_Monitor_BufferMode_GetItems_Large", lambda qxt: (qxt.qxt_u8_array([0]), 1),
     "in method 'Qx_Can_Monitor_BufferMode_GetItems_Large', argument 2 of type "
     "'Qx_Can_Monitor_BufferMode_GetItems_Large_RspFlags_t *const'"),
    ("Qx_Can_Monitor_BufferMode_GetItems", lambda qxt: ("0", 1),
     "in method 'Qx_Can_Monitor_BufferMode_GetItems', argument 2 of type 'u32_t'"),
    ("Qx_Can_Monitor_BufferMode_Start", lambda qxt: (0, -1),
     "in method 'Qx_Can_Monitor_BufferMode_Start', argument 3 of type 'u32_t'"),
    ("Qx_Can_Monitor_BufferMode_Start2", lambda qxt: (2**32, 1),
     "in method 'Qx_Can_Monitor_BufferMode_Start2', argument 2 of type 'Qx_Can_Monitor_BufferMode_Start2_CmdFlags_t'"),
    ("Qx_Can_Monitor_DefineFilter", lambda qxt: (None, 0, 0),
     "in method 'Qx_Can_Monitor_DefineFilter', argument 2 of type 'Qx_Can_Monitor_DefineFilter_Mode_t'"),
])
def test_argument_errors_name_the_native_position_and_type(sim, qxt, port, function, args, message):
    with pytest.raises((TypeError, OverflowError)) as info:
        getattr(can, function)(port, *args(qxt))
    assert str(info.value) == message
    assert sim.calls(function) == 0


def test_the_filter_passes_its_values_and_selects_the_frames_recorded(sim, port):
    assert can.Qx_Can_Monitor_DefineFilter(port, 0x101, 0x100, 0xF00) is None
    call = sim.last("Qx_Can_Monitor_DefineFilter")
    assert [call.arg(n).value for n in (1, 2, 3, 4)] == [port, 0x01, 0x100, 0xF00]
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 100)
    for id_ in (0x123, 0x223, 0x1FF):
        can.Qx_Can_TxFifo_QueueMsg(port, id_, [], 0)
    items = can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 8)
    assert [item_fields(i)[1] for i in items] == [0x123, 0x1FF]
    free_items(items)


def test_asynchronous_buffer_mode_hands_frames_to_the_native_callback(sim, qxt, port):
    callback = qxt.qxt_can_buffer_item_callback()
    assert can.Qx_Can_Monitor_BufferMode_Async_Start(port, 2, callback) is None
    call = sim.last("Qx_Can_Monitor_BufferMode_Async_Start")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, 2, int(callback)]
    calls = qxt.qxt_can_callback_calls()
    can.Qx_Can_TxFifo_QueueMsg(port, 0x321, [0x42], 1)
    assert qxt.qxt_can_callback_calls() == calls + 1
    assert qxt.qxt_can_last_callback() == [2, port, 1, EPOCH, 0x321, 1, 0x42]
    assert can.Qx_Can_Monitor_BufferMode_Async_Stop(port) is None
    with raises(Exception, "Qx_Can_Monitor_BufferMode_Async_Stop: asynchronous buffer mode not running"):
        can.Qx_Can_Monitor_BufferMode_Async_Stop(port)


@pytest.mark.parametrize("function, args, type_", [
    ("Qx_Can_Monitor_BufferMode_Async_Start", lambda cb: (0, cb), "Qx_Can_Monitor_BufferMode_Async_Callback_t const"),
    ("Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback", lambda cb: (cb,),
     "Qx_Can_Monitor_ListMode_GetItem_Async_Callback_t const"),
])
def test_monitor_callbacks_take_none_or_a_native_pointer_of_their_own_type(sim, qxt, port, function, args, type_):
    position = len(args(None)) + 1
    for wrong in (print, lambda *a: None, qxt.qxt_can_fifo_state_callback()):
        with raises(TypeError, f"in method '{function}', argument {position} of type '{type_}'"):
            getattr(can, function)(port, *args(wrong))
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no callback given"):
        getattr(can, function)(port, *args(None))
    assert sim.last(function).arg(position).is_null


# ---- host event -----------------------------------------------------------------

def test_enable_event_passes_none_as_a_null_handle(sim, port):
    with raises(Exception, "Qx_Can_Monitor_BufferMode_EnableEvent: no event handle given"):
        can.Qx_Can_Monitor_BufferMode_EnableEvent(port, None)
    call = sim.last("Qx_Can_Monitor_BufferMode_EnableEvent")
    assert call.arg(1).value == port and call.arg(2).is_null
    assert can.Qx_Can_Monitor_BufferMode_DisableEvent(port) is None
    assert sim.last("Qx_Can_Monitor_BufferMode_DisableEvent").arg(1).value == port


def test_enable_event_refuses_handle_objects_of_other_types(sim, qxt, port):
    others = [qxtest.new_record(base, "int_p"), qxt.qxt_u64_array([1]), qxtest.new_record(can, "Qx_Can_Data_t")]
    for other in others:
        with raises(TypeError, "in method 'Qx_Can_Monitor_BufferMode_EnableEvent', argument 2 of type "
                               "'Qx_Common_EventHandle_t const *const'"):
            can.Qx_Can_Monitor_BufferMode_EnableEvent(port, other)
    assert sim.calls("Qx_Can_Monitor_BufferMode_EnableEvent") == 0
    base.delete_int_p(others[0])
    can.delete_Qx_Can_Data_t(others[2])


# ---- list mode ------------------------------------------------------------------

@pytest.fixture
def outputs(qxt):
    """Caller-supplied output objects: u64_t (from _qx_api's Qx_Data_t), u32_t, flags, u8_t."""
    record = qxtest.new_record(base, "Qx_Data_t")
    timestamp = qxtest.owned(base.Qx_Data_t_U64_get(record))  # an owned 8-byte u64_t copy
    base.delete_Qx_Data_t(record)
    id_, flags = qxtest.new_record(base, "int_p"), qxtest.new_record(base, "int_p")
    dlc = qxt.qxt_u8_array([0xEE])
    yield timestamp, id_, flags, dlc
    base.delete_int_p(id_)
    base.delete_int_p(flags)


def test_list_mode_fills_the_callers_objects_and_returns_the_data_bytes(sim, qxt, port, outputs):
    timestamp, id_, flags, dlc = outputs
    assert can.Qx_Can_Monitor_ListMode_Start(port) is None
    can.Qx_Can_TxFifo_QueueMsg(port, 0x7DF, [2, 1, 0, 0, 0, 0, 0, 0, 0x99], 8)
    data = can.Qx_Can_Monitor_ListMode_GetItem(port, 10, timestamp, id_, flags, dlc, (9,) * 8)
    call = sim.last("Qx_Can_Monitor_ListMode_GetItem")
    assert [call.arg(1).value, call.arg(2).value] == [port, 10]
    assert [call.arg(n).value for n in (3, 4, 5, 6)] == [int(timestamp), int(id_), int(flags), int(dlc)]
    assert call.arg(7).bytes == bytes([9] * 8)  # the sequence, in an 8-byte buffer
    assert data == [2, 1, 0, 0, 0, 0, 0, 0]
    assert qxt.qxt_read_u64(timestamp, 1) == [EPOCH]
    assert base.int_p_value(id_) == 0x7DF
    assert base.int_p_value(flags) == 0
    assert qxt.qxt_read_u8(dlc, 1) == [8]
    with raises(Exception, "Qx_Can_Monitor_ListMode_GetItem: no item within 10 ms"):
        can.Qx_Can_Monitor_ListMode_GetItem(port, 10, timestamp, id_, flags, dlc, [0] * 8)
    assert can.Qx_Can_Monitor_ListMode_Stop(port) is None


def test_list_mode_outputs_may_be_none(sim, port):
    can.Qx_Can_Monitor_ListMode_Start(port)
    can.Qx_Can_Monitor_WriteUserEvent(port, 0x42, 3, [7, 8, 9])
    assert can.Qx_Can_Monitor_ListMode_GetItem(port, 0, None, None, None, None, [0] * 8) == [7, 8, 9, 0, 0, 0, 0, 0]
    call = sim.last("Qx_Can_Monitor_ListMode_GetItem")
    assert all(call.arg(n).is_null for n in (3, 4, 5, 6))


@pytest.mark.parametrize("position, value, cls, message", [
    (3, "qxt_u32", TypeError, "in method 'Qx_Can_Monitor_ListMode_GetItem', argument 3 of type 'u64_t *const'"),
    (4, "qxt_u64", TypeError, "in method 'Qx_Can_Monitor_ListMode_GetItem', argument 4 of type 'u32_t *const'"),
    (5, 5, TypeError, "in method 'Qx_Can_Monitor_ListMode_GetItem', argument 5 of type "
                      "'Qx_Can_Monitor_ListMode_GetItem_RspFlags_t *const'"),
    (6, "qxt_u32", TypeError, "in method 'Qx_Can_Monitor_ListMode_GetItem', argument 6 of type 'u8_t *const'"),
    (7, 5, TypeError, "fail in 'Qx_Can_Monitor_ListMode_GetItem' : Expecting a sequence"),
    (7, [0] * 9, ValueError, "fail in 'Qx_Can_Monitor_ListMode_GetItem' : Expecting a sequence with 8 elements"),
    (7, [0] * 7 + ["x"], ValueError, "fail in 'Qx_Can_Monitor_ListMode_GetItem' : Expecting a sequence of u8_t"),
])
def test_list_mode_argument_errors_send_nothing(sim, qxt, port, position, value, cls, message):
    makers = {"qxt_u32": lambda: qxt.qxt_u32_array([0]), "qxt_u64": lambda: qxt.qxt_u64_array([0])}
    args = [port, 0, None, None, None, None, [0] * 8]
    args[position - 1] = makers[value]() if isinstance(value, str) else value
    with raises(cls, message):
        can.Qx_Can_Monitor_ListMode_GetItem(*args)
    assert sim.calls("Qx_Can_Monitor_ListMode_GetItem") == 0


def test_list_mode_asynchronous_read_reaches_the_native_callback(sim, qxt, port):
    callback = qxt.qxt_can_list_item_callback()
    assert can.Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback(port, callback) is None
    assert sim.last("Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback").arg(2).value == int(callback)
    can.Qx_Can_Monitor_ListMode_Start(port)
    can.Qx_Can_TxFifo_QueueMsg(port, 0x55, [0x66], 1)
    assert can.Qx_Can_Monitor_ListMode_GetItem_Async(port, 0x80000001) is None
    assert sim.last("Qx_Can_Monitor_ListMode_GetItem_Async").arg(2).value == 0x80000001
    assert qxt.qxt_can_last_callback() == [3, port, 0, EPOCH, 0x55, 0, 1, 0x66]
    assert can.Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback(port) is None
    with raises(Exception, "Qx_Can_Monitor_ListMode_GetItem_Async: no callback registered"):
        can.Qx_Can_Monitor_ListMode_GetItem_Async(port, 0)


# ---- user events and monitor time ------------------------------------------------

def test_user_events_send_their_bytes_in_a_64_byte_buffer_and_reach_the_monitor(sim, port):
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 100)
    assert can.Qx_Can_Monitor_WriteUserEvent(port, 0x1A5, 64, list(range(64))) is None
    call = sim.last("Qx_Can_Monitor_WriteUserEvent")
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, 0xA5, 64]
    assert call.arg(4).bytes == bytes(range(64))
    can.Qx_Can_Monitor_WriteUserEvent(port, 1, 2, (5, 6))
    assert sim.last("Qx_Can_Monitor_WriteUserEvent").arg(4).bytes == b"\x05\x06" + bytes(62)
    items = can.Qx_Can_Monitor_BufferMode_GetItems_Large(port, None, 4)
    assert [item_fields(i, large=True)[:5] for i in items] == [[EPOCH, 0xA5, USER_EVENT, 64, 64],
                                                               [EPOCH + 100, 1, USER_EVENT, 2, 2]]
    free_items(items, large=True)


def test_monitor_time_fills_the_callers_64_bit_cells(sim, qxt, port):
    flags, monitor, host = qxtest.new_record(base, "int_p"), qxt.qxt_u64_array([0]), qxt.qxt_u64_array([0])
    base.int_p_assign(flags, 0xFFFFFFFF)
    assert can.Qx_Can_Monitor_MonitorTime_Get(port, flags, monitor, host) is None
    call = sim.last("Qx_Can_Monitor_MonitorTime_Get")
    assert [call.arg(n).value for n in (2, 3, 4)] == [int(flags), int(monitor), int(host)]
    assert base.int_p_value(flags) == 0
    assert qxt.qxt_read_u64(monitor, 1) == [EPOCH]
    assert qxt.qxt_read_u64(host, 1) == [EPOCH * 10]
    base.delete_int_p(flags)


@pytest.mark.parametrize("function, args", [
    ("Qx_Can_Monitor_DefineFilter", (0, 0, 0)),
    ("Qx_Can_Monitor_BufferMode_Start", (0, 1)),
    ("Qx_Can_Monitor_BufferMode_Start2", (0, 1)),
    ("Qx_Can_Monitor_BufferMode_Stop", ()),
    ("Qx_Can_Monitor_BufferMode_GetItems", (0, 1)),
    ("Qx_Can_Monitor_BufferMode_GetItems_Large", (None, 1)),
    ("Qx_Can_Monitor_BufferMode_Async_Start", (0, None)),
    ("Qx_Can_Monitor_BufferMode_Async_Stop", ()),
    ("Qx_Can_Monitor_BufferMode_EnableEvent", (None,)),
    ("Qx_Can_Monitor_BufferMode_DisableEvent", ()),
    ("Qx_Can_Monitor_ListMode_Start", ()),
    ("Qx_Can_Monitor_ListMode_Stop", ()),
    ("Qx_Can_Monitor_ListMode_GetItem", (0, None, None, None, None, [0] * 8)),
    ("Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback", (None,)),
    ("Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback", ()),
    ("Qx_Can_Monitor_ListMode_GetItem_Async", (0,)),
    ("Qx_Can_Monitor_WriteUserEvent", (0, 0, [])),
    ("Qx_Can_Monitor_MonitorTime_Get", (None, None, None)),
])
def test_every_monitor_function_raises_the_native_text_for_a_closed_port(sim, function, args):
    with raises(Exception, f"{function}: invalid port handle 0x00000007"):
        getattr(can, function)(7, *args)
    assert sim.last(function).arg(1).value == 7
