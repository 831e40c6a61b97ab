"""Transmit FIFO: queueing single messages and lists of message items, state,
reset and the asynchronous state callback."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from layouts import pack, unpack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

FIFO_SIZE = 1024
ITEM, ITEM2 = "Qx_Can_TxFifo_MsgItem_t", "Qx_Can_TxFifo_MsgItem2_t"



@pytest.fixture
def items():
    """Makes message items (first or second kind) with chosen ids, dlcs and data."""
    made = []

    def make(kind, *specs):
        record = "Qx_Can_TxFifo_MsgItem_t" if kind == 1 else "Qx_Can_TxFifo_MsgItem2_t"
        size = 8 if kind == 1 else 64
        out = []
        for id_, dlc, data in specs:
            item = qxtest.new_record(can, record)
            getattr(can, record + "_Id_set")(item, id_)
            getattr(can, record + "_Dlc_set")(item, dlc)
            getattr(can, record + "_Data_set")(item, list(data) + [0] * (size - len(data)))
            made.append((record, item))
            out.append(item)
        return out

    yield make
    for record, item in made:
        getattr(can, "delete_" + record)(item)


# ---- Qx_Can_TxFifo_QueueMsg: byte list in a 64-byte buffer ---------------------

@pytest.mark.parametrize("data, sent", [
    ([], bytes(64)),
    ([1, 2, 3], bytes([1, 2, 3]) + bytes(61)),
    ((0x1FF, -1, True), bytes([0xFF, 0xFF, 1]) + bytes(61)),
    (list(range(64)), bytes(range(64))),
])
def test_queue_msg_sends_the_bytes_in_a_zeroed_64_byte_buffer(sim, port, data, sent):
    assert can.Qx_Can_TxFifo_QueueMsg(port, 0x80000123, data, 0x108) is None
    call = sim.last("Qx_Can_TxFifo_QueueMsg")
    assert [call.arg(1).value, call.arg(2).value, call.arg(4).value] == [port, 0x80000123, 0x08]
    assert call.arg(3).bytes == sent
    assert can.Qx_Can_TxFifo_GetState(port) == [1, FIFO_SIZE - 1]


def test_queue_msg_buffer_starts_zeroed_on_every_call(sim, port):
    can.Qx_Can_TxFifo_QueueMsg(port, 1, [0xAA] * 64, 15)
    can.Qx_Can_TxFifo_QueueMsg(port, 2, [0x55], 1)
    assert sim.last("Qx_Can_TxFifo_QueueMsg").arg(3).bytes == b"\x55" + bytes(63)


@pytest.mark.parametrize("function, args", [
    ("Qx_Can_TxFifo_QueueMsg", lambda port, data: (port, 1, data, 8)),
    ("Qx_Can_Monitor_WriteUserEvent", lambda port, data: (port, 3, 4, data)),
])
@pytest.mark.parametrize("data, cls, message", [
    (7, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
    ([0] * 65, ValueError, "Expecting a sequence with at most 64 elements"),
    ([1, 2, "x"], TypeError, "list must contain u8_t"),
    ([1.5], TypeError, "list must contain u8_t"),
    ([2**31], OverflowError, "list must contain u8_t"),
])
def test_byte_lists_are_refused_before_anything_is_sent(sim, port, function, args, data, cls, message):
    with raises(cls, f"fail in '{function}' : {message}"):
        getattr(can, function)(*args(port, data))
    assert sim.calls(function) == 0


@pytest.mark.parametrize("args, cls, message", [
    (lambda port: (port, -1, [], 0), OverflowError, "in method 'Qx_Can_TxFifo_QueueMsg', argument 2 of type 'u32_t'"),
    (lambda port: (port, 1, [], 2**32), OverflowError, "in method 'Qx_Can_TxFifo_QueueMsg', argument 4 of type 'u8_t'"),
    # the port is converted before the list is looked at, the list before argument 4
    (lambda port: (1.0, 1, 5, 0), TypeError, "in method 'Qx_Can_TxFifo_QueueMsg', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda port: (port, 1, 5, "x"), TypeError, "fail in 'Qx_Can_TxFifo_QueueMsg' : Expecting a sequence"),
    (lambda port: (port, 1, []), TypeError, "Qx_Can_TxFifo_QueueMsg expected 4 arguments, got 3"),
])
def test_queue_msg_argument_errors(sim, port, args, cls, message):
    with raises(cls, message):
        can.Qx_Can_TxFifo_QueueMsg(*args(port))
    assert sim.calls("Qx_Can_TxFifo_QueueMsg") == 0


# ---- Qx_Can_TxFifo_QueueMsgs / QueueMsgs2: lists of records ---------------------

def test_queue_msgs_sends_count_and_a_copy_of_every_item(sim, port, items):
    listed = items(1, (0x100, 8, [1, 2, 3, 4, 5, 6, 7, 8]), (0xFFFFFFFF, 2, [9, 10]))
    assert can.Qx_Can_TxFifo_QueueMsgs(port, 250, tuple(listed)) is None
    call = sim.last("Qx_Can_TxFifo_QueueMsgs")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, 250, 2]
    assert call.arg(4).bytes == (pack(ITEM, Id=0x100, Dlc=8, Data=[1, 2, 3, 4, 5, 6, 7, 8])
                                 + pack(ITEM, Id=0xFFFFFFFF, Dlc=2, Data=[9, 10]))
    assert call.arg(4).value != int(listed[0])  # a copy, not the caller's record
    assert can.Qx_Can_TxFifo_GetState(port) == [2, FIFO_SIZE - 2]


def test_queue_msgs2_sends_flags_value_count_and_72_byte_items(sim, port, items):
    listed = items(2, (0x18DAF110, 15, range(64)))
    can.Qx_Can_TxFifo_MsgItem2_t_Flags_set(listed[0], 0x05)
    can.Qx_Can_TxFifo_MsgItem2_t_MsgFlags_set(listed[0], 0x03)
    assert can.Qx_Can_TxFifo_QueueMsgs2(port, 0x80000000, 7, listed) is None
    call = sim.last("Qx_Can_TxFifo_QueueMsgs2")
    assert [call.arg(n).value for n in (1, 2, 3, 4)] == [port, 0x80000000, 7, 1]
    assert call.arg(5).bytes == pack(ITEM2, Id=0x18DAF110, Dlc=15, Flags=5, MsgFlags=3, Data=range(64))


def test_queue_msgs_passes_a_hundred_items_whole_and_an_empty_list_as_count_0(sim, port, items):
    listed = items(1, *[(i, 1, [i]) for i in range(100)])
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, listed)
    call = sim.last("Qx_Can_TxFifo_QueueMsgs")
    assert call.arg(3).value == 100
    assert len(call.arg(4).bytes) == 100 * 16
    assert call.arg(4).bytes[16 * 99:] == pack(ITEM, Id=99, Dlc=1, Data=[99])
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, [])
    assert sim.last("Qx_Can_TxFifo_QueueMsgs").arg(3).value == 0
    assert can.Qx_Can_TxFifo_GetState(port) == [100, FIFO_SIZE - 100]


def test_changing_an_item_after_queueing_does_not_change_what_was_sent(sim, port, items):
    item, = items(1, (0x11, 1, [0x22]))
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, [item])
    can.Qx_Can_TxFifo_MsgItem_t_Id_set(item, 0x99)
    assert unpack(ITEM, sim.last("Qx_Can_TxFifo_QueueMsgs").arg(4).bytes)["Id"] == 0x11


@pytest.mark.parametrize("function, kind, record, args", [
    ("Qx_Can_TxFifo_QueueMsgs", 1, "Qx_Can_TxFifo_MsgItem_t", lambda port, seq: (port, 0, seq)),
    ("Qx_Can_TxFifo_QueueMsgs2", 2, "Qx_Can_TxFifo_MsgItem2_t", lambda port, seq: (port, 0, 0, seq)),
])
def test_lists_of_records_refuse_other_objects_and_send_nothing(sim, port, items, function, kind, record, args):
    good = items(kind, (1, 1, [1]))
    other = items(3 - kind, (1, 1, [1]))
    for seq in ([None], good + other, good + [good[0], 5], [int(good[0])]):
        with raises(TypeError, f"fail in '{function}' list must contain '{record}'"):
            getattr(can, function)(*args(port, seq))
    for seq in (good[0], 3, None):
        with raises(TypeError, f"fail in '{function}' : Expecting a sequence"):
            getattr(can, function)(*args(port, seq))
    assert sim.calls(function) == 0


def test_queue_msgs2_flags_argument_error_names_its_type(sim, port):
    with raises(OverflowError, "in method 'Qx_Can_TxFifo_QueueMsgs2', argument 2 of type "
                               "'Qx_Can_TxFifo_QueueMsgs2_CmdFlags_t'"):
        can.Qx_Can_TxFifo_QueueMsgs2(port, -1, 0, [])
    assert sim.calls("Qx_Can_TxFifo_QueueMsgs2") == 0


def test_a_full_fifo_raises_the_native_error_text(port, items):
    listed = items(1, (1, 0, []))
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, listed * FIFO_SIZE)
    with raises(Exception, f"Qx_Can_TxFifo_QueueMsg: transmit FIFO full ({FIFO_SIZE} of {FIFO_SIZE} messages "
                           "queued, 1 more given)"):
        can.Qx_Can_TxFifo_QueueMsg(port, 1, [], 0)


# ---- state, reset, asynchronous state ------------------------------------------

def test_get_state_returns_both_outputs_and_reset_empties_the_fifo(sim, port):
    can.Qx_Can_TxFifo_QueueMsg(port, 1, [], 0)
    can.Qx_Can_TxFifo_QueueMsg(port, 2, [], 0)
    state = can.Qx_Can_TxFifo_GetState(port)
    assert state == [2, FIFO_SIZE - 2] and all(type(v) is int for v in state)
    call = sim.last("Qx_Can_TxFifo_GetState")
    assert call.arg(1).value == port and not call.arg(2).is_null and not call.arg(3).is_null
    assert can.Qx_Can_TxFifo_Reset(port) is None
    assert can.Qx_Can_TxFifo_GetState(port) == [0, FIFO_SIZE]


def test_get_state_returns_the_cells_whole(sim, port):
    sim.output("Qx_Can_TxFifo_GetState", 2, struct.pack("<I", 0xFFFFFFFF))
    sim.output("Qx_Can_TxFifo_GetState", 3, struct.pack("<I", 0x80000000))
    assert can.Qx_Can_TxFifo_GetState(port) == [0xFFFFFFFF, 0x80000000]


@pytest.mark.parametrize("function, args", [
    ("Qx_Can_TxFifo_GetState", ()),
    ("Qx_Can_TxFifo_GetState_Async_AddCallback", (None,)),
    ("Qx_Can_TxFifo_GetState_Async_RemoveCallback", ()),
    ("Qx_Can_TxFifo_GetState_Async", ()),
    ("Qx_Can_TxFifo_Reset", ()),
    ("Qx_Can_TxFifo_QueueMsg", (1, [], 0)),
    ("Qx_Can_TxFifo_QueueMsgs", (0, [])),
    ("Qx_Can_TxFifo_QueueMsgs2", (0, 0, [])),
])
def test_every_fifo_function_raises_the_native_last_error_text(sim, port, function, args):
    sim.fail(function, 0x1234, "fifo says \xff no".encode("latin-1"))
    with raises(Exception, "fifo says \udcff no"):
        getattr(can, function)(port, *args)
    assert sim.calls(function) == 1


def test_an_unknown_port_is_reported_by_the_native_library():
    with raises(Exception, "Qx_Can_TxFifo_Reset: invalid port handle 0xFFFFFFFF"):
        can.Qx_Can_TxFifo_Reset(0xFFFFFFFF)


def test_async_state_callback_is_a_native_function_pointer(sim, port, qxt):
    callback = qxt.qxt_can_fifo_state_callback()
    assert can.Qx_Can_TxFifo_GetState_Async_AddCallback(port, callback) is None
    assert sim.last("Qx_Can_TxFifo_GetState_Async_AddCallback").arg(2).value == int(callback)
    can.Qx_Can_TxFifo_QueueMsg(port, 1, [], 0)
    calls = qxt.qxt_can_callback_calls()
    assert can.Qx_Can_TxFifo_GetState_Async(port) is None
    assert qxt.qxt_can_callback_calls() == calls + 1
    assert qxt.qxt_can_last_callback() == [1, port, 1, FIFO_SIZE - 1]
    can.Qx_Can_TxFifo_GetState_Async_RemoveCallback(port)
    with raises(Exception, "Qx_Can_TxFifo_GetState_Async: no callback registered"):
        can.Qx_Can_TxFifo_GetState_Async(port)


def test_async_state_callback_none_is_passed_as_null(sim, port):
    with raises(Exception, "Qx_Can_TxFifo_GetState_Async_AddCallback: no callback given"):
        can.Qx_Can_TxFifo_GetState_Async_AddCallback(port, None)
    assert sim.last("Qx_Can_TxFifo_GetState_Async_AddCallback").arg(2).is_null


@pytest.mark.parametrize("make", [
    lambda qxt: (lambda *a: None),
    lambda qxt: qxt.qxt_error_callback(),  # a native callback of another type
    lambda qxt: qxt.qxt_can_list_item_callback(),
    lambda qxt: 0,
])
def test_async_state_callback_refuses_everything_but_its_own_type(sim, port, qxt, make):
    with raises(TypeError, "in method 'Qx_Can_TxFifo_GetState_Async_AddCallback', argument 2 of type "
                           "'Qx_Can_TxFifo_GetState_Async_Callback_t const'"):
        can.Qx_Can_TxFifo_GetState_Async_AddCallback(port, make(qxt))
    assert sim.calls("Qx_Can_TxFifo_GetState_Async_AddCallback") == 0


def test_record_lists_accept_proxy_instances_holding_a_record(sim, port, items):
    class MsgItem:
        def __init__(self, record):
            can.Qx_Can_TxFifo_MsgItem_t_swiginit(self, record)

    record, = items(1, (0x42, 1, [0x24]))
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, [MsgItem(record)])
    assert sim.last("Qx_Can_TxFifo_QueueMsgs").arg(4).bytes == pack(ITEM, Id=0x42, Dlc=1, Data=[0x24])
