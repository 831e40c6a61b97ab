"""Opening and closing interfaces, raw commands, error texts, async switches."""
import pytest

import _qx_api as q
import qxtest
from base_device import (ERROR_INVALID_HANDLE, ERROR_LOCKED, ERROR_NOT_FOUND, cell, open_port, raises_exactly, selector,
                         u32)
from layouts import pack


OPENERS = [
    ("Qx_OpenInterface", lambda info: (info,), 1),
    ("Qx_OpenInterface2", lambda info: (0x80000001, info), 2),
]


@pytest.mark.parametrize("name, args, info_arg", OPENERS)
def test_open_returns_the_handle_the_native_cell_holds(sim, name, args, info_arg):
    info = selector(q.QX_INTERFACE_TYPE__CAN, 0, 1)
    handle = getattr(q, name)(*args(info))
    call = sim.last(name)
    assert call.arg(info_arg).bytes == pack("Qx_InterfaceInfo_t", {"Type": q.QX_INTERFACE_TYPE__CAN,
                                                                   "Parameters.InterfaceNumber": 1})
    assert call.arg(info_arg).value == int(info)
    assert not call.arg(info_arg + 1).is_null
    if info_arg == 2:
        assert call.arg(1).value == 0x80000001
    assert type(handle) is int
    assert q.Qx_GetInterfaceType(handle) == q.QX_INTERFACE_TYPE__CAN
    # the selector stays the caller's and opens a second, distinct port
    assert getattr(q, name)(*args(info)) not in (handle, None)
    # the result is the cell's value, also with the top bit set
    sim.output(name, info_arg + 1, u32(0xFFFFFFFE))
    assert getattr(q, name)(*args(info)) == 0xFFFFFFFE


@pytest.mark.parametrize("name, args, info_arg", OPENERS)
@pytest.mark.parametrize("info, message", [
    (None, "{}: no interface selector given"),
    (selector(q.QX_INTERFACE_TYPE__CAN, 0, 7), "{}: no interface of type 4 on controller 0, interface 7"),
])
def test_open_failure_raises_the_native_text(sim, name, args, info_arg, info, message):
    with raises_exactly(Exception, message.format(name)):
        getattr(q, name)(*args(info))
    assert sim.last(name).arg(info_arg).is_null is (info is None)


def test_close_releases_the_handle(sim, port):
    assert q.Qx_CheckPortHandle(port) is None
    assert q.Qx_CloseInterface(port) is None
    assert sim.last("Qx_CloseInterface").arg(1).value == port
    with raises_exactly(Exception, f"Qx_CheckPortHandle: invalid port handle 0x{port:08X}"):
        q.Qx_CheckPortHandle(port)
    with raises_exactly(Exception, f"Qx_CloseInterface: invalid port handle 0x{port:08X}"):
        q.Qx_CloseInterface(port)


def test_refresh_driver_info(sim):
    assert q.Qx_RefreshDriverInfo() is None
    assert sim.calls("Qx_RefreshDriverInfo") == 1
    sim.fail("Qx_RefreshDriverInfo", 5, b"driver missing")
    with raises_exactly(Exception, "driver missing"):
        q.Qx_RefreshDriverInfo()


@pytest.mark.parametrize("command, data, sent_command, sent", [
    (1, [], 1, b""),
    (0x1FF, [0x1FF, -1, 2], 0xFF, b"\xff\xff\x02"),
    (True, (1, 2), 1, b"\x01\x02"),
])
def test_command_sends_the_bytes(sim, port, command, data, sent_command, sent):
    assert q.Qx_Command(port, command, data) is None
    call = sim.last("Qx_Command")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).bytes, call.arg(4).value] == [port, sent_command, sent, len(sent)]


@pytest.mark.parametrize("data, exc, message", [
    (5, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
    ([1, 2, "x"], TypeError, "list must contain u8_t"),
    ([1, 2.0], TypeError, "list must contain u8_t"),
])
@pytest.mark.parametrize("name, args", [
    ("Qx_Command", lambda port, data: (port, 1, data)),
    ("Qx_CommandWithResponse", lambda port, data: (port, 1, data, 16)),
    ("Qx_CommandWithResponseEx", lambda port, data: (port, 1, 2, 0, data, 16)),
])
def test_command_data_errors_call_nothing(sim, port, name, args, data, exc, message):
    with raises_exactly(exc, message):
        getattr(q, name)(*args(port, data))
    assert sim.calls(name) == 0


RESPONDERS = [
    # name, python arguments after the port, response, native argument numbers of data, count cell
    ("Qx_CommandWithResponse", (0x22, [0xF1, 0x90]), [0x62, 0xF1, 0x90], 3, 6),
    ("Qx_CommandWithResponseEx", (0x22, 0x1FF, 1, [0xF1, 0x90]), [0x62, 0xFF, 0xF1, 0x90], 5, 8),
]


@pytest.mark.parametrize("name, args, response, data_arg, count_arg", RESPONDERS)
def test_command_with_response_returns_the_response(sim, port, name, args, response, data_arg, count_arg):
    assert getattr(q, name)(port, *args, 16) == response
    call = sim.last(name)
    assert [a.value for a in call.args[:data_arg - 1]] == [port, 0x22] + ([0xFF, 1] if data_arg == 5 else [])
    assert call.arg(data_arg).bytes == b"\xf1\x90" and call.arg(data_arg + 1).value == 2
    assert not call.arg(count_arg - 1).is_null
    assert cell(call.arg(count_arg)) == 16


@pytest.mark.parametrize("name, args, response, data_arg, count_arg", RESPONDERS)
def test_response_capacity_edges(sim, port, name, args, response, data_arg, count_arg):
    fn = getattr(q, name)
    # the device cuts its response to the capacity
    assert fn(port, *args, 2) == response[:2]
    assert fn(port, *args, 0) == []
    # a count above the capacity is clamped to it; unwritten bytes read 0
    sim.output(name, count_arg, u32(1000))
    assert fn(port, *args, len(response) + 2) == response + [0, 0]
    with raises_exactly(TypeError, "Expecting a integer"):
        fn(port, *args, "16")
    assert sim.calls(name) == 3


def test_commands_of_another_port_are_refused_while_locked(sim, port):
    other = open_port("CAN1")
    q.Qx_GetLock(other)
    with raises_exactly(Exception, f"Qx_Command: interface CAN1 is locked by port 0x{other:08X}"):
        q.Qx_Command(port, 1, [])
    p = qxtest.new_record(q, "int_p")
    q.Qx_GetLastErrorByPortHandle(port, p)
    assert q.int_p_value(p) == ERROR_LOCKED
    assert q.Qx_CommandWithResponse(other, 1, [], 4) == [0x41]


@pytest.mark.parametrize("code, text", [
    (0, "no error"),
    (ERROR_INVALID_HANDLE, "invalid port handle"),
    (ERROR_NOT_FOUND, "not found"),
    (0x1234, None),
    (4294967295, None),
])
def test_error_description(sim, code, text):
    assert q.Qx_GetErrorDescription(code) == text
    assert sim.last("Qx_GetErrorDescription").arg(1).value == code


def test_error_description2_fills_a_256_byte_buffer(sim, port):
    assert q.Qx_GetErrorDescription2(port, ERROR_NOT_FOUND) == "not found"
    call = sim.last("Qx_GetErrorDescription2")
    assert [call.arg(1).value, call.arg(2).value, cell(call.arg(3)), call.arg(4).is_null] == [port, ERROR_NOT_FOUND, 256, False]
    assert q.Qx_GetErrorDescription2(port, 0x1234) == "unknown error 0x00001234"


def test_last_error_code_and_description_follow_the_last_call(sim, port):
    assert q.Qx_GetLastErrorCode() is None
    with pytest.raises(Exception):
        q.Qx_CloseInterface(port + 1)
    text = f"Qx_CloseInterface: invalid port handle 0x{port + 1:08X}"
    with raises_exactly(Exception, text):
        q.Qx_GetLastErrorCode()
    assert q.Qx_GetLastErrorDescription() == text
    q.Qx_CheckPortHandle(port)
    assert q.Qx_GetLastErrorCode() is None


def test_last_error_by_port_handle_leaves_the_code_in_the_callers_cell(sim, port):
    sim.fail("Qx_Command", 0x1234)
    with pytest.raises(Exception):
        q.Qx_Command(port, 1, [])
    code = qxtest.new_record(q, "int_p")
    assert q.Qx_GetLastErrorByPortHandle(port, code) == "Qx_Command failed: simulated error 0x00001234"
    assert q.int_p_value(code) == 0x1234
    call = sim.last("Qx_GetLastErrorByPortHandle")
    assert [call.arg(1).value, call.arg(2).value, cell(call.arg(3))] == [port, int(code), 256]
    # that call succeeded, so the code is now 0; None passes no cell
    assert q.Qx_GetLastErrorByPortHandle(port, None) == "no error"
    assert sim.last("Qx_GetLastErrorByPortHandle").arg(2).is_null
    with raises_exactly(TypeError, "in method 'Qx_GetLastErrorByPortHandle', argument 2 of type 'Qx_Error_t *const'"):
        q.Qx_GetLastErrorByPortHandle(port, qxtest.new_record(q, "char_p"))


def test_functions_without_response_switch_between_sync_and_async(sim, port):
    is_sync = q.Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync
    assert is_sync(port) == 1
    with raises_exactly(Exception, "Qx_AsyncCommunication_FunctionsWithoutResponse_Async: "
                                   f"asynchronous communication of port 0x{port:08X} is not enabled"):
        q.Qx_AsyncCommunication_FunctionsWithoutResponse_Async(port)
    q.Qx_AsyncCommunication_Enable(port, None)
    assert q.Qx_AsyncCommunication_FunctionsWithoutResponse_Async(port) is None
    assert is_sync(port) == 0
    assert q.Qx_AsyncCommunication_FunctionsWithoutResponse_Sync(port) is None
    assert is_sync(port) == 1
    assert q.Qx_AsyncCommunication_Disable(port) is None
    for name in ("Qx_AsyncCommunication_FunctionsWithoutResponse_Async", "Qx_AsyncCommunication_FunctionsWithoutResponse_Sync",
                 "Qx_AsyncCommunication_Disable", "Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync"):
        assert sim.last(name).arg(1).value == port
    sim.result("Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync", 0x1FF)
    assert is_sync(port) == 0xFF
