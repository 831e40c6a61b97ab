"""Parameter size, locks, response timeout, monitor and asynchronous callbacks."""
import pytest

import _qx_api as q
import qxtest
from base_device import cell, open_port, raises_exactly, u32


def test_param_size_is_written_into_the_callers_cell(sim, port):
    size = qxtest.new_record(q, "int_p")
    assert q.Qx_GetParamSize(port, size) is None
    assert q.int_p_value(size) == 1024
    assert sim.last("Qx_GetParamSize").arg(2).value == int(size)
    assert q.Qx_GetParamSize(port, None) is None
    assert sim.last("Qx_GetParamSize").arg(2).is_null


def test_locks_are_held_per_port(sim, port):
    other = open_port("CAN1")
    assert [q.Qx_GetLockStatus(port), q.Qx_GetLockStatus(other)] == [0, 0]
    assert q.Qx_GetLock(port) is None
    assert sim.last("Qx_GetLock").arg(1).value == port
    assert [q.Qx_GetLockStatus(port), q.Qx_GetLockStatus(other)] == [1, 2]
    with raises_exactly(Exception, f"Qx_GetLock: interface CAN1 is locked by port 0x{port:08X}"):
        q.Qx_GetLock(other)
    with raises_exactly(Exception, f"Qx_ReleaseLock: port 0x{other:08X} does not hold the lock of interface CAN1"):
        q.Qx_ReleaseLock(other)
    # another interface is not affected
    assert q.Qx_GetLockStatus(open_port("CAN2")) == 0
    assert q.Qx_ReleaseLock(port) is None
    assert q.Qx_GetLock(other) is None
    # closing the holder releases its lock
    q.Qx_CloseInterface(other)
    assert q.Qx_GetLockStatus(port) == 0


def test_release_all_locks_takes_flags_and_no_port(sim, port):
    q.Qx_GetLock(port)
    q.Qx_GetLock(open_port("LIN1"))
    assert q.Qx_ReleaseAllLocks(0) is None
    assert sim.last("Qx_ReleaseAllLocks").arg(1).value == 0
    assert q.Qx_GetLockStatus(port) == 0
    q.Qx_ReleaseAllLocks(4294967295)
    assert sim.last("Qx_ReleaseAllLocks").arg(1).value == 4294967295
    with pytest.raises(TypeError):
        q.Qx_ReleaseAllLocks(port, 0)
    with raises_exactly(OverflowError, "in method 'Qx_ReleaseAllLocks', argument 1 of type 'Qx_ReleaseAllLocks_CmdFlags_t'"):
        q.Qx_ReleaseAllLocks(-1)
    assert sim.calls("Qx_ReleaseAllLocks") == 2


@pytest.mark.parametrize("name, native, result", [
    ("Qx_GetLockStatus", 255, 255),
    ("Qx_IsMonitorEnabled", 0x1FF, 0xFF),
    ("Qx_GetResponseTimeout", 0xFFFFFFFF, 4294967295),
])
def test_value_results_are_never_negative(sim, port, name, native, result):
    sim.result(name, native)
    assert getattr(q, name)(port) == result
    assert sim.last(name).arg(1).value == port


def test_response_timeout_is_kept_per_port(sim, port):
    other = open_port("CAN2")
    assert q.Qx_GetResponseTimeout(port) == 1000
    assert q.Qx_SetResponseTimeout(port, 4294967295) is None
    call = sim.last("Qx_SetResponseTimeout")
    assert [call.arg(1).value, call.arg(2).value] == [port, 4294967295]
    assert [q.Qx_GetResponseTimeout(port), q.Qx_GetResponseTimeout(other)] == [4294967295, 1000]
    with raises_exactly(Exception, "Qx_SetResponseTimeout: a timeout of 0 ms is not allowed"):
        q.Qx_SetResponseTimeout(port, 0)
    with raises_exactly(OverflowError, "in method 'Qx_SetResponseTimeout', argument 2 of type 'u32_t'"):
        q.Qx_SetResponseTimeout(port, 2**32)


def test_monitor_hands_out_the_recorded_commands(sim, port, qxt):
    assert q.Qx_IsMonitorEnabled(port) == 1
    q.Qx_Command(port, 0x10, [1, 2])
    q.Qx_CommandWithResponse(port, 0x22, [0xF1], 8)
    more = qxt.qxt_u8_array([7])
    assert q.Qx_GetMonitorItems(port, 3, more) == [0x10, 2, 1]
    call = sim.last("Qx_GetMonitorItems")
    assert [call.arg(1).value, call.arg(2).is_null, cell(call.arg(3)), call.arg(4).value] == [port, False, 3, int(more)]
    assert qxt.qxt_read_u8(more, 1) == [1]
    assert q.Qx_GetMonitorItems(port, 100, more) == [2, 0x22, 1, 0xF1]
    assert qxt.qxt_read_u8(more, 1) == [0]
    assert q.Qx_GetMonitorItems(port, 0, None) == []
    call = sim.last("Qx_GetMonitorItems")
    assert [cell(call.arg(3)), call.arg(4).is_null] == [0, True]


def test_monitor_items_count_is_clamped_and_checked(sim, port, qxt):
    q.Qx_Command(port, 0x10, [1, 2, 3])
    sim.output("Qx_GetMonitorItems", 3, u32(500))
    assert q.Qx_GetMonitorItems(port, 2, None) == [0x10, 3]
    with raises_exactly(TypeError, "Expecting a integer"):
        q.Qx_GetMonitorItems(port, "2", None)
    with raises_exactly(TypeError, "in method 'Qx_GetMonitorItems', argument 4 of type 'u8_t *const'"):
        q.Qx_GetMonitorItems(port, 2, qxt.qxt_u16_array([0]))
    assert sim.calls("Qx_GetMonitorItems") == 1


def test_closed_monitor_records_nothing(sim, port):
    assert q.Qx_CloseMonitor(port) is None
    assert sim.last("Qx_CloseMonitor").arg(1).value == port
    assert q.Qx_IsMonitorEnabled(port) == 0
    q.Qx_Command(port, 1, [])
    with raises_exactly(Exception, f"Qx_GetMonitorItems: the monitor of port 0x{port:08X} is closed"):
        q.Qx_GetMonitorItems(port, 4, None)
    with raises_exactly(Exception, f"Qx_CloseMonitor: the monitor of port 0x{port:08X} is already closed"):
        q.Qx_CloseMonitor(port)


def test_callbacks_are_added_and_removed(sim, port, qxt):
    data, cleanup = qxt.qxt_data_callback(), qxt.qxt_cleanup_callback()
    flt = qxt.qxt_u8_array([0xF1, 0x90])
    assert q.Qx_AsyncCommunication_AddCallback(port, 0x22, 0x1FF, flt, 2, data, cleanup, 4294967295, None) is None
    call = sim.last("Qx_AsyncCommunication_AddCallback")
    assert [a.value for a in call.args[:3]] + [call.arg(4).bytes] + [a.value for a in call.args[4:8]] == \
        [port, 0x22, 0xFF, b"\xf1\x90", 2, int(data), int(cleanup), 4294967295]
    assert call.arg(9).is_null
    with raises_exactly(Exception, "Qx_AsyncCommunication_AddCallback: a callback for command 0x22, sub-command 0xFF "
                                   "is already registered"):
        q.Qx_AsyncCommunication_AddCallback(port, 0x22, 0xFF, flt, 2, data, None, 0, None)
    assert q.Qx_AsyncCommunication_RemoveCallback(port, 0x22, 0xFF, flt, 2) is None
    call = sim.last("Qx_AsyncCommunication_RemoveCallback")
    assert [a.value for a in call.args[:3]] + [call.arg(4).bytes, call.arg(5).value] == [port, 0x22, 0xFF, b"\xf1\x90", 2]
    with raises_exactly(Exception, "Qx_AsyncCommunication_RemoveCallback: no callback for command 0x22, sub-command 0xFF "
                                   "is registered"):
        q.Qx_AsyncCommunication_RemoveCallback(port, 0x22, 0xFF, flt, 2)


def test_a_null_callback_reaches_the_library(sim, port):
    with raises_exactly(Exception, "Qx_AsyncCommunication_AddCallback: no callback function given"):
        q.Qx_AsyncCommunication_AddCallback(port, 1, 2, None, 0, None, None, 0, None)
    call = sim.last("Qx_AsyncCommunication_AddCallback")
    assert [call.arg(4).is_null, call.arg(6).is_null, call.arg(7).is_null, call.arg(9).is_null] == [True] * 4


@pytest.mark.parametrize("position, type_", [
    (6, "Qx_AsyncCommunication_CallbackFunction_t const"),
    (7, "Qx_AsyncCommunication_CleanUpFunction_t const"),
])
@pytest.mark.parametrize("wrong", [lambda *a: None, "qxt_error_callback"])
def test_add_callback_refuses_other_callables(sim, port, qxt, position, type_, wrong):
    if isinstance(wrong, str):
        wrong = getattr(qxt, wrong)()
    args = [port, 1, 2, None, 0, qxt.qxt_data_callback(), None, 0, None]
    args[position - 1] = wrong
    with raises_exactly(TypeError, f"in method 'Qx_AsyncCommunication_AddCallback', argument {position} of type '{type_}'"):
        q.Qx_AsyncCommunication_AddCallback(*args)
    assert sim.calls("Qx_AsyncCommunication_AddCallback") == 0


def test_add_callback_argument_count(sim, port):
    with raises_exactly(TypeError, "Qx_AsyncCommunication_AddCallback expected 9 arguments, got 8"):
        q.Qx_AsyncCommunication_AddCallback(port, 1, 2, None, 0, None, None, 0)
    with raises_exactly(TypeError, "in method 'Qx_AsyncCommunication_AddCallback', argument 9 of type 'void **'"):
        q.Qx_AsyncCommunication_AddCallback(port, 1, 2, None, 0, None, None, 0, qxtest.new_record(q, "int_p"))
    assert sim.calls("Qx_AsyncCommunication_AddCallback") == 0
